// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/PortTable.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "link/Frames.h"

namespace vantrel::link {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool NaturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t iEnd = i;
            std::size_t jEnd = j;
            while (iEnd < a.size() && IsDigit(a[iEnd])) ++iEnd;
            while (jEnd < b.size() && IsDigit(b[jEnd])) ++jEnd;
            // Compare the digit runs by value: strip leading zeros, then length, then text.
            std::string_view x(a.data() + i, iEnd - i);
            std::string_view y(b.data() + j, jEnd - j);
            while (x.size() > 1 && x.front() == '0') x.remove_prefix(1);
            while (y.size() > 1 && y.front() == '0') y.remove_prefix(1);
            if (x.size() != y.size()) return x.size() < y.size();
            if (x != y) return x < y;
            i = iEnd;
            j = jEnd;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
    return a < b;
}

bool ParsePortNumber(std::string_view text, int& number) {
    if (text.empty() || text.size() > 4) return false;
    number = 0;
    for (char c : text) {
        if (!IsDigit(c)) return false;
        number = number * 10 + (c - '0');
    }
    return true;
}

}  // namespace

const PortEntry* PortTable::find(int number) const {
    for (const PortEntry& entry : entries)
        if (entry.number == number) return &entry;
    return nullptr;
}

std::vector<std::string> SortPortNames(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

std::string PortNameFor(int number, const std::vector<std::string>& systemPorts, bool windowsNames) {
    if (number < 1) return {};
    if (windowsNames) return "COM" + std::to_string(number);
    if (static_cast<std::size_t>(number) > systemPorts.size()) return {};
    return systemPorts[static_cast<std::size_t>(number) - 1];
}

std::string ResolvePortName(std::string_view text, const std::vector<std::string>& systemPorts, bool windowsNames) {
    int number = 0;
    if (ParsePortNumber(text, number)) return PortNameFor(number, systemPorts, windowsNames);
    return std::string(text);
}

PortTable ProbePorts(Transport& transport, const std::vector<std::string>& systemPorts, int savedPort,
                     bool windowsNames) {
    PortTable table;
    LineSettings settings;
    ParseLineSettings(frames::kProbeSettings, settings);
    for (int number = 1; number <= kProbedPorts; ++number) {
        PortEntry entry;
        entry.number = number;
        entry.name = PortNameFor(number, systemPorts, windowsNames);
        if (entry.name.empty()) {
            entry.exists = false;
        } else {
            const OpenResult result = transport.open(entry.name, settings);
            if (result.ok()) {
                transport.close();
                table.anyOpened = true;
            } else if (result.error == OpenError::NoSuchPort) {
                entry.exists = false;
            } else if (result.error == OpenError::PortInUse) {
                entry.busy = true;
            }
        }
        table.entries.push_back(entry);
    }

    for (PortEntry& entry : table.entries) {
        if (entry.exists && !entry.busy) {
            entry.selected = true;
            table.currentPort = entry.number;
            break;
        }
    }
    if (savedPort != 0 && table.currentPort != 0) {
        table.currentPort = savedPort;
        for (PortEntry& entry : table.entries)
            if (entry.number == savedPort) entry.selected = true;
    }
    return table;
}

std::string PortDescription(const SystemPortInfo& info) {
    std::string text = info.description;
    if (!info.manufacturer.empty() && text.find(info.manufacturer) == std::string::npos)
        text += text.empty() ? info.manufacturer : " (" + info.manufacturer + ")";
    if (text.empty() && info.usbVendor >= 0 && info.usbProduct >= 0) {
        char ids[32];
        std::snprintf(ids, sizeof ids, "USB %04X:%04X", static_cast<unsigned>(info.usbVendor),
                      static_cast<unsigned>(info.usbProduct));
        text = ids;
    }
    return text;
}

void DescribePorts(PortTable& table, const std::vector<SystemPortInfo>& infos) {
    for (PortEntry& entry : table.entries) {
        if (entry.name.empty()) continue;
        for (const SystemPortInfo& info : infos)
            if (info.name == entry.name) entry.description = PortDescription(info);
    }
}

}  // namespace vantrel::link
