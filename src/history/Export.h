// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "history/Entry.h"

namespace vantrel::history {

// The entries as CSV: a header line, one row per entry (operation and outcome by their
// stable names, the summary's lines joined by " / "), "," separated, fields with a comma,
// quote or line break quoted, UTF-8, rows ended by CR LF. Entries need their content.
std::string EntriesCsv(const std::vector<Entry>& entries);

// Writes the CSV through a temporary file renamed over the target, so a failure never leaves
// half a file. False, with the reason, when it cannot be written.
bool WriteEntriesCsv(const std::vector<Entry>& entries, const std::filesystem::path& path, std::string& problem);

}  // namespace vantrel::history
