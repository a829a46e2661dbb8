// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "device/ConfigRecord.h"
#include "device/WorkingState.h"

// The configuration record's fields as a person reads them: a label and a value in the
// current language, whether the field means anything for the chosen input (a thermocouple
// type says nothing about an RTD configuration), and for numbers the value itself with the
// amount by which two readings of it may differ and still be the same setting.
namespace vantrel::ui {

enum class RecordField {
    InputType, TcType, RtdSensor, Wires, PotRange, InRangeMax, InRangeMin, CjcInternal, LinearOn, UnitCelsius,
    ZeroAdjust, SpanAdjust, CustomOn, PointCount, PointCountCjc, Points, PointsCjc, BurnoutDown, OutputDirect,
    OutRangeMax, OutRangeMin, OutputType, FilterOn, Trip1High, Trip1Low, Trip2High, Trip2Low, TripDelay, TripMode,
};

struct FieldText {
    RecordField field = RecordField::InputType;
    int index = -1;              // point number (from 1) for Points and PointsCjc, else -1
    std::string label;
    std::string value;           // "" when the field does not apply
    bool applies = true;
    std::optional<double> number;  // numeric fields
    double tolerance = 0;        // numbers closer than this are the same setting
    std::optional<double> second;  // the input value of a point
};

struct FieldContext {
    int languageOffset = 300;
    device::Identity identity;   // lists (potentiometer ranges, output types) and trips
};

// Every field of the record (spares and the language offset left out: they describe no
// setting), points one row each while custom linearisation is on.
std::vector<FieldText> DescribeFields(const device::ConfigRecord& record, const FieldContext& context);

// The unit shown after input values: "°C", "°F", "%", "mV", "Ohm", "mA".
std::string InputUnit(const device::ConfigRecord& record);
// The output's unit, "mA" or "V", from the identified transmitter's output-type list.
std::string OutputUnit(const device::ConfigRecord& record, const device::Identity& identity);

// A text of the table without a trailing " :" or ":" ("Numero Fili :" -> "Numero Fili").
std::string Caption(int italianId, int languageOffset);
// The part of a text after ": " ("Allarme sensore: Basso" -> "Basso").
std::string AfterColon(int italianId, int languageOffset);

}  // namespace vantrel::ui
