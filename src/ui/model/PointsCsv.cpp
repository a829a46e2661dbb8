// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/PointsCsv.h"

#include <charconv>

#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::ui {

namespace {


std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '"' || c == '\''; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// The editor keeps Singles: a value beyond one (or too large for a Double) is no number.
std::optional<double> Number(std::string_view field) {
    const auto value = resources::ParseSingle(Trim(field));
    if (!value) return std::nullopt;
    return resources::ParseNumber(Trim(field));
}

// The column separator of the whole file: ";" when it holds one (the decimal may then be a
// comma), else a tab, else ",".
char SeparatorOf(std::string_view text) {
    if (text.find(';') != std::string_view::npos) return ';';
    if (text.find('\t') != std::string_view::npos) return '\t';
    return ',';
}

std::optional<CsvPoint> PointOf(std::string_view line, char separator) {
    const std::size_t cut = line.find(separator);
    if (cut == std::string_view::npos) return std::nullopt;
    std::string_view second = line.substr(cut + 1);
    // A trailing separator (some spreadsheets write one) is tolerated; a third value is not.
    if (const std::size_t more = second.find(separator); more != std::string_view::npos) {
        if (!Trim(second.substr(more + 1)).empty()) return std::nullopt;
        second = second.substr(0, more);
    }
    const auto input = Number(line.substr(0, cut));
    const auto physical = Number(second);
    if (!input || !physical) return std::nullopt;
    return CsvPoint{*input, *physical};
}

std::string Shortest(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

CsvPoints ParsePointsCsv(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const char separator = SeparatorOf(text);
    CsvPoints result;
    bool headerAllowed = true;
    int lineNumber = 0;
    int lastFilledLine = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (Trim(line).empty()) continue;
        lastFilledLine = lineNumber;
        if (const auto point = PointOf(line, separator)) {
            result.points.push_back(*point);
        } else if (!headerAllowed) {
            return CsvPoints{{}, lineNumber};
        }
        headerAllowed = false;
    }
    if (result.points.empty()) return CsvPoints{{}, lastFilledLine + 1};
    return result;
}

std::string WritePointsCsv(const std::vector<CsvPoint>& points) {
    std::string text = "input,physical\n";
    for (const CsvPoint& p : points) text += Shortest(p.input) + ',' + Shortest(p.physical) + '\n';
    return text;
}

std::optional<PointsRefusal> EditorPoints(const PointsEditor& editor, std::vector<CsvPoint>& points) {
    std::vector<CsvPoint> read;
    for (int row = 0; row < editor.UserPoints(); ++row) {
        const PointsRow& r = editor.SensorRow(row);
        const auto input = resources::ParseNumber(r.input);
        if (!input) return PointsRefusal{resources::text::kInvalidFormat, {}, PointsPage::Sensor, PointsBox::Input, row};
        const auto physical = resources::ParseNumber(r.physical);
        if (!physical) return PointsRefusal{resources::text::kInvalidFormat, {}, PointsPage::Sensor, PointsBox::Physical, row};
        read.push_back({*input, *physical});
    }
    points = std::move(read);
    return std::nullopt;
}

std::optional<PointsRefusal> PutPointsInEditor(PointsEditor& editor, const std::vector<CsvPoint>& points) {
    const auto count = static_cast<int>(points.size());
    if (count < device::kMinPoints || count > editor.MaxPoints())
        return PointsRefusal{resources::text::kPointCount, resources::Str(editor.MaxPoints()), PointsPage::Sensor, PointsBox::Count, 0};
    if (auto refusal = editor.EnterSensorCount(std::to_string(count))) return refusal;
    for (int row = 0; row < editor.MaxPoints(); ++row) {
        std::string input;
        std::string physical;
        if (row < count) {
            const CsvPoint& p = points[static_cast<std::size_t>(row)];
            input = resources::PlainTextSingle(resources::ToSingle(p.input));
            physical = resources::PlainTextSingle(resources::ToSingle(p.physical));
        }
        editor.SetText(PointsPage::Sensor, row, PointsBox::Input, std::move(input));
        editor.SetText(PointsPage::Sensor, row, PointsBox::Physical, std::move(physical));
    }
    return std::nullopt;
}

}  // namespace vantrel::ui
