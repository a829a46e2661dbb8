// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The (address, value) pairs of the "writes" list in the command-line tool's JSON output.
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace vantrel::test {

inline std::vector<std::pair<int, int>> WritesOf(const std::string& json) {
    std::vector<std::pair<int, int>> writes;
    const std::size_t start = json.find("\"writes\":");
    if (start == std::string::npos) return writes;
    const std::string tail = json.substr(start);
    const std::regex pair(R"(\[(\d+),(\d+)\])");
    for (auto it = std::sregex_iterator(tail.begin(), tail.end(), pair); it != std::sregex_iterator(); ++it)
        writes.emplace_back(std::stoi((*it)[1]), std::stoi((*it)[2]));
    return writes;
}

}  // namespace vantrel::test
