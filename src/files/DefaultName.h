// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::files {

// The name of a configuration never saved: "DfLt" + four digits + ".D70". The last entry of
// the listing that begins with "DfLt" decides: its characters 5 to 8 read as a number, plus 1
// ("DfLt0007.D70" -> "DfLt0008.D70", "DfLt9999.D70" -> "DfLt10000.D70"); "DfLt0000.D70" when
// there is none.
std::string DefaultConfigName(const std::vector<std::string>& listing);
std::string DefaultConfigNameIn(const std::filesystem::path& folder);

// A file name that still begins with "DfLt" has never been saved through the dialog.
bool IsDefaultConfigName(const std::string& currentFile);

}  // namespace vantrel::files
