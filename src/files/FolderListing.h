// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::files {

// Names of the entries (files and folders) of a folder in name order, compared without
// regard to case first, so that "first" and "last" matching entries do not depend on the
// file system's own order. Empty when the folder cannot be listed.
std::vector<std::string> ListFolder(const std::filesystem::path& folder);

}  // namespace vantrel::files
