// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "device/ConfigRecord.h"
#include "device/SerialNumber.h"
#include "device/WorkingState.h"

// The configuration report: a printable description of one configuration, from the open
// file or from the connected transmitter, in the current language. Plain data; the desktop
// program and the command-line tool lay it out on paper (HTML for a text document).
namespace vantrel::ui {

struct ReportRow {
    std::string label;
    std::string value;
};

struct ReportTable {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

enum class ReportSectionKind { Identification, Input, Ranges, Output, Trims, Filter, Trips, Breakpoints };

struct ReportSection {
    ReportSectionKind kind = ReportSectionKind::Identification;
    std::string title;
    std::vector<ReportRow> rows;
    std::optional<ReportTable> table;
    std::string note;
};

struct ConfigReport {
    std::string title;
    std::vector<ReportSection> sections;
    const ReportSection* Find(ReportSectionKind kind) const;
};

// The breakpoint table that programming this configuration writes: breakpoint values in the
// table's unit (°C for temperatures, the input unit otherwise) and the range it spans.
struct ReportBreakpoints {
    std::vector<float> temps;
    float rangeMin = 0;   // the plan's range, in the table's unit
    float rangeMax = 0;
    std::string unit;     // "°C", "mV", "Ohm", "mA", "" (ratio)
};

struct ReportInput {
    device::ConfigRecord record;
    int languageOffset = 300;
    device::Identity identity;
    bool fromTransmitter = false;
    std::string fileName;                      // the file's title when from a file
    std::optional<device::SerialNumber> serial;  // from the transmitter
    std::string date;                          // as it should print, e.g. "2024-05-17 10:42"
    std::optional<ReportBreakpoints> breakpoints;  // empty when the plan could not be computed
};

ConfigReport MakeConfigReport(const ReportInput& input);

// The report as an HTML page for a text document (every text escaped).
std::string ReportHtml(const ConfigReport& report);
// The report as plain text lines (for logs and tests).
std::string ReportText(const ConfigReport& report);

}  // namespace vantrel::ui
