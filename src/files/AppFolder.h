#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vantrel::files {

// The application folder: where settings, default names and help documents are looked up.
// The --app-dir option wins, then the VANTREL_HOME environment variable, then the folder of
// the running executable.
std::filesystem::path ResolveAppFolder(const std::optional<std::string>& appDirOption);

// The folder of the running executable (empty when it cannot be found).
std::filesystem::path ExecutableFolder();

}  // namespace vantrel::files
