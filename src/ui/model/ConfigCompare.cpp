// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/ConfigCompare.h"

#include <algorithm>
#include <cmath>

namespace vantrel::ui {

namespace {

bool Close(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

bool FieldsDiffer(const FieldText& a, const FieldText& b) {
    if (a.applies != b.applies) return true;
    if (!a.applies) return false;
    if (a.number && b.number) {
        const double tolerance = std::max(a.tolerance, b.tolerance);
        if (!Close(*a.number, *b.number, tolerance)) return true;
        if (a.second && b.second && !Close(*a.second, *b.second, tolerance)) return true;
        return a.second.has_value() != b.second.has_value();
    }
    return a.value != b.value;
}

bool SameRow(const FieldText& a, const FieldText& b) { return a.field == b.field && a.index == b.index; }

}  // namespace

int Comparison::DifferingCount() const {
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const CompareRow& r) { return r.differs; }));
}

Comparison CompareConfigurations(const device::ConfigRecord& device, const device::ConfigRecord& file,
                                 const FieldContext& context) {
    const std::vector<FieldText> left = DescribeFields(device, context);
    const std::vector<FieldText> right = DescribeFields(file, context);
    Comparison comparison;
    // Both lists follow the record's order; point rows exist only where a side has points,
    // so the two are merged row by row, a missing row standing for "not applicable".
    std::size_t i = 0;
    std::size_t j = 0;
    const auto rowOf = [](const FieldText& f) {
        CompareRow row;
        row.field = f.field;
        row.index = f.index;
        row.label = f.label;
        return row;
    };
    const auto before = [](const FieldText& a, const FieldText& b) {
        return a.field < b.field || (a.field == b.field && a.index < b.index);
    };
    while (i < left.size() || j < right.size()) {
        CompareRow row;
        if (i < left.size() && j < right.size() && SameRow(left[i], right[j])) {
            row = rowOf(left[i]);
            row.deviceValue = left[i].value;
            row.fileValue = right[j].value;
            row.differs = FieldsDiffer(left[i], right[j]);
            ++i;
            ++j;
        } else if (j >= right.size() || (i < left.size() && before(left[i], right[j]))) {
            row = rowOf(left[i]);
            row.deviceValue = left[i].value;
            row.differs = true;
            ++i;
        } else {
            row = rowOf(right[j]);
            row.fileValue = right[j].value;
            row.differs = true;
            ++j;
        }
        comparison.rows.push_back(std::move(row));
    }
    return comparison;
}

}  // namespace vantrel::ui
