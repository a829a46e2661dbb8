// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/DefaultName.h"

#include <cmath>
#include <cstdio>

#include "files/FolderListing.h"
#include "resources/NumberFormat.h"

namespace vantrel::files {

namespace {

constexpr const char* kPrefix = "DfLt";

std::string PaddedNumber(long long number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04lld", number);
    return buffer;
}

}  // namespace

bool IsDefaultConfigName(const std::string& currentFile) { return currentFile.rfind(kPrefix, 0) == 0; }

std::string DefaultConfigName(const std::vector<std::string>& listing) {
    std::string name = std::string(kPrefix) + "0000.D70";
    for (const std::string& entry : listing) {
        if (!IsDefaultConfigName(entry)) continue;
        const std::string digits = entry.substr(4, 4);
        const auto number = static_cast<long long>(resources::ParseLeadingNumber(digits));
        name = std::string(kPrefix) + PaddedNumber(number + 1) + ".D70";
    }
    return name;
}

std::string DefaultConfigNameIn(const std::filesystem::path& folder) { return DefaultConfigName(ListFolder(folder)); }

}  // namespace vantrel::files
