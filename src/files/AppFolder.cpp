#include "files/AppFolder.h"

#include <cstdlib>
#include <system_error>

namespace vantrel::files {

std::filesystem::path ExecutableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path();
}

std::filesystem::path ResolveAppFolder(const std::optional<std::string>& appDirOption) {
    if (appDirOption && !appDirOption->empty()) return std::filesystem::path(*appDirOption);
    if (const char* home = std::getenv("VANTREL_HOME"); home && *home) return std::filesystem::path(home);
    std::filesystem::path folder = ExecutableFolder();
    return folder.empty() ? std::filesystem::current_path() : folder;
}

}  // namespace vantrel::files
