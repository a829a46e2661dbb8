// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/model/PointsEditor.h"

// The points editor's sensor table as a CSV file: a header line, then one point per line,
// input value then physical value. Import takes "," or ";" between the columns (the first
// data line decides) and a decimal "." or ","; export writes "," and ".", which every
// spreadsheet reads.
namespace vantrel::ui {

struct CsvPoint {
    double input = 0;
    double physical = 0;
};

struct CsvPoints {
    std::vector<CsvPoint> points;
    int badLine = 0;  // 1-based line that could not be read; 0 when the file was read
    bool ok() const { return badLine == 0; }
};

// Reads a CSV text. A first line that is not two numbers is the header. Blank lines are
// skipped. A file with no point at all is refused at the line after its last.
CsvPoints ParsePointsCsv(std::string_view text);

// The CSV text of points (header "input,physical").
std::string WritePointsCsv(const std::vector<CsvPoint>& points);

// The editor's user points (rows 0 .. UserPoints() - 1) as numbers; a refusal (text 169) at
// the first box that does not hold a number.
std::optional<PointsRefusal> EditorPoints(const PointsEditor& editor, std::vector<CsvPoint>& points);

// Puts points into the editor's sensor page: the count (odd rule included) and the rows,
// each value written as the editor writes a single-precision number. A count the editor
// refuses gives its refusal (text 170) and changes nothing. The values are checked, as
// typed values are, when the editor's OK validates the table.
std::optional<PointsRefusal> PutPointsInEditor(PointsEditor& editor, const std::vector<CsvPoint>& points);

}  // namespace vantrel::ui
