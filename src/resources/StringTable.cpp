// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/StringTable.h"

#include <charconv>
#include <cstddef>
#include <string_view>
#include <unordered_map>

namespace vantrel::resources {

extern const unsigned char kStringsData[];
extern const std::size_t kStringsDataSize;

namespace {

// The data file holds one "id<TAB>text" per line; lines starting with '#' are comments.
std::unordered_map<int, std::string> ParseTable() {
    std::unordered_map<int, std::string> table;
    const std::string_view data(reinterpret_cast<const char*>(kStringsData), kStringsDataSize);
    std::size_t pos = 0;
    while (pos < data.size()) {
        std::size_t end = data.find('\n', pos);
        if (end == std::string_view::npos) end = data.size();
        std::string_view line = data.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) continue;
        int id = 0;
        const auto [ptr, ec] = std::from_chars(line.data(), line.data() + tab, id);
        if (ec != std::errc() || ptr != line.data() + tab) continue;
        table.emplace(id, std::string(line.substr(tab + 1)));
    }
    return table;
}

const std::unordered_map<int, std::string>& Table() {
    static const std::unordered_map<int, std::string> table = ParseTable();
    return table;
}

}  // namespace

const std::string& LoadResString(int id) {
    static const std::string empty;
    const auto& table = Table();
    const auto it = table.find(id);
    return it == table.end() ? empty : it->second;
}

bool HasResString(int id) { return Table().count(id) != 0; }

int LanguageOffsetFor(int languageIndex) {
    const std::string& distanceText = LoadResString(kLanguageDistanceTextId);
    int distance = 0;
    std::from_chars(distanceText.data(), distanceText.data() + distanceText.size(), distance);
    return distance * languageIndex;
}

}  // namespace vantrel::resources
