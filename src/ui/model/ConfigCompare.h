// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "device/ConfigRecord.h"
#include "ui/model/RecordFields.h"

// Side by side: the connected transmitter's configuration as read (decoded into the record's
// fields) and the open file's, one row per field, the rows that differ marked.
namespace vantrel::ui {

struct CompareRow {
    RecordField field = RecordField::InputType;
    int index = -1;            // point number for point rows
    std::string label;
    std::string deviceValue;   // "" where the field does not apply to that side
    std::string fileValue;
    bool differs = false;
};

struct Comparison {
    std::vector<CompareRow> rows;
    int DifferingCount() const;
    bool Equal() const { return DifferingCount() == 0; }
};

// Two readings of a field differ when one side has it and the other not, when their texts
// differ (a choice, a switch), or when numbers lie further apart than what the transmitter
// can store (a range end read back is the typed one within the transmitter's resolution).
Comparison CompareConfigurations(const device::ConfigRecord& device, const device::ConfigRecord& file,
                                 const FieldContext& context);

}  // namespace vantrel::ui
