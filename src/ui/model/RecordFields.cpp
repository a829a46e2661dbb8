// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/RecordFields.h"

#include <algorithm>
#include <cmath>

#include "device/Identify.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::ui {

namespace {

namespace txt = resources::text;
using device::FromFlag;

constexpr double kTripTick = 0.05;

// Tolerances: what the transmitter can hold, not what a float can. The range ends pass
// through a 12-bit mantissa, the output ends through converter codes and the calibration,
// the trip levels through 16-bit converter words; a value read back differs from the one
// typed by up to those steps, and must still count as the same setting.
constexpr double kRangeRelativeStep = 1.0 / 2048.0;
constexpr double kOutputTolerance = 0.005;   // mA or V
constexpr double kTripRelativeStep = 1.0 / 1000.0;
constexpr double kPointTolerance = 0.0015;   // points come back through "####0.0##"

std::string T(int id, int offset) { return resources::Text(id, offset); }

std::string Number(double value) { return resources::Format(value, "####0.###"); }

std::string ListEntry(const std::vector<int>& entries, int index, int offset) {
    if (index < 0 || index >= static_cast<int>(entries.size())) return resources::PlainText(index);
    return T(entries[static_cast<std::size_t>(index)], offset);
}

bool IsTemperature(int inputType) {
    return inputType == device::family::Thermocouple || inputType == device::family::Rtd;
}

}  // namespace

std::string Caption(int italianId, int languageOffset) {
    std::string text = T(italianId, languageOffset);
    while (!text.empty() && (text.back() == ' ' || text.back() == ':')) text.pop_back();
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string AfterColon(int italianId, int languageOffset) {
    const std::string text = T(italianId, languageOffset);
    const std::size_t colon = text.find(": ");
    return colon == std::string::npos ? text : text.substr(colon + 2);
}

std::string InputUnit(const device::ConfigRecord& r) {
    switch (r.InputType) {
        case device::family::Thermocouple:
        case device::family::Rtd: return FromFlag(r.UnitCelsius) ? "°C" : "°F";
        case device::family::Potentiometer: return "%";
        case device::family::Voltage: return "mV";
        case device::family::Resistance: return "Ohm";
        case device::family::Current: return "mA";
        default: return "";
    }
}

std::string OutputUnit(const device::ConfigRecord& r, const device::Identity& identity) {
    const std::vector<int> entries = device::Identify(identity).lists.outputTypes;
    const std::size_t index = FromFlag(r.OutputType) ? 1 : 0;
    const bool voltage = index < entries.size() && entries[index] == device::textid::Voltage;
    return voltage ? "V" : "mA";
}

std::vector<FieldText> DescribeFields(const device::ConfigRecord& r, const FieldContext& context) {
    const int o = context.languageOffset;
    const device::ChoiceLists lists = device::Identify(context.identity).lists;
    const bool trips = context.identity.DeviceModel == device::kModelWithTrips;
    const bool custom = FromFlag(r.CustomOn);
    const std::string inUnit = InputUnit(r);
    const std::string outUnit = OutputUnit(r, context.identity);
    const double inSpan = static_cast<double>(std::max(std::fabs(r.InRangeMax), std::fabs(r.InRangeMin)));
    const double tripSpan = std::fabs(static_cast<double>(r.InRangeMax) - static_cast<double>(r.InRangeMin));

    std::vector<FieldText> fields;
    const auto text = [&](RecordField field, std::string label, std::string value, bool applies = true) {
        FieldText f;
        f.field = field;
        f.label = std::move(label);
        f.applies = applies;
        f.value = applies ? std::move(value) : std::string();
        fields.push_back(std::move(f));
    };
    const auto number = [&](RecordField field, std::string label, double value, const std::string& unit,
                            double tolerance, bool applies = true) {
        text(field, std::move(label), Number(value) + (unit.empty() ? "" : " " + unit), applies);
        fields.back().number = value;
        fields.back().tolerance = tolerance;
    };
    const auto onOff = [](bool on) { return std::string(on ? "ON" : "OFF"); };

    text(RecordField::InputType, Caption(resources::text::kInputTypeField, o), ListEntry(lists.inputFamilies, r.InputType, o));
    text(RecordField::TcType, T(device::textid::Thermocouple, o), ListEntry(lists.tcTypes, r.TcType, o),
         r.InputType == device::family::Thermocouple);
    text(RecordField::RtdSensor, T(device::textid::Rtd, o), ListEntry(lists.rtdSensors, r.RtdSensor, o),
         r.InputType == device::family::Rtd);
    text(RecordField::Wires, Caption(resources::text::kWiresField, o), ListEntry(lists.wirings, r.Wires, o),
         r.InputType == device::family::Rtd || r.InputType == device::family::Resistance);
    text(RecordField::PotRange, T(device::textid::Potentiometer, o), ListEntry(lists.potRanges, r.PotRange, o),
         r.InputType == device::family::Potentiometer);
    const double rangeTolerance = std::max(0.001, inSpan * kRangeRelativeStep);
    number(RecordField::InRangeMax, Caption(resources::text::kInputRange, o) + " " + T(resources::text::kMax, o), static_cast<double>(r.InRangeMax), inUnit,
           rangeTolerance);
    number(RecordField::InRangeMin, Caption(resources::text::kInputRange, o) + " " + T(resources::text::kMin, o), static_cast<double>(r.InRangeMin), inUnit,
           rangeTolerance);
    text(RecordField::CjcInternal, T(resources::text::kCjcField, o), onOff(r.CjcInternal != 0),
         r.InputType == device::family::Thermocouple);
    text(RecordField::LinearOn, T(resources::text::kLinearField, o), onOff(r.LinearOn != 0), IsTemperature(r.InputType));
    text(RecordField::UnitCelsius, Caption(resources::text::kUnitCelsius, o).substr(0, Caption(resources::text::kUnitCelsius, o).find(" :")), inUnit,
         IsTemperature(r.InputType));
    number(RecordField::ZeroAdjust, "Reg. Zero", r.ZeroAdjust / 10.0, "%", 0.05, trips);
    number(RecordField::SpanAdjust, "Reg. Span", r.SpanAdjust / 10.0, "%", 0.05, trips);
    text(RecordField::CustomOn, "Custom", onOff(custom));
    number(RecordField::PointCount, Caption(resources::text::kPointCountField, o), r.PointCount, "", 0.5, custom);
    number(RecordField::PointCountCjc, T(resources::text::kJunctionField, o) + " - " + Caption(resources::text::kPointCountField, o), r.PointCountCjc,
           "", 0.5, custom && r.InputType == device::family::Thermocouple);
    if (custom) {
        const auto points = [&](RecordField field, const auto& table, int count, const std::string& prefix) {
            for (int i = 0; i < std::clamp(count, 0, static_cast<int>(table.size())); ++i) {
                const device::Point& p = table[static_cast<std::size_t>(i)];
                text(field, prefix + " " + std::to_string(i + 1), Number(p.physical) + " ; " + Number(p.input));
                fields.back().index = i + 1;
                fields.back().number = p.physical;
                fields.back().second = p.input;
                fields.back().tolerance = kPointTolerance;
            }
        };
        points(RecordField::Points, r.Points, r.PointCount, T(resources::text::kPointsField, o));
        points(RecordField::PointsCjc, r.PointsCjc, r.PointCountCjc, T(resources::text::kJunctionField, o));
    }
    text(RecordField::BurnoutDown, Caption(206, o), AfterColon(FromFlag(r.BurnoutDown) ? resources::text::kBurnoutDown : resources::text::kBurnoutUp, o));
    text(RecordField::OutputDirect, T(resources::text::kDirect, o).substr(0, T(resources::text::kDirect, o).find(':')),
         AfterColon(FromFlag(r.OutputDirect) ? resources::text::kDirect : resources::text::kReverse, o));
    number(RecordField::OutRangeMax, Caption(resources::text::kOutputRange, o) + " " + T(resources::text::kMax, o), static_cast<double>(r.OutRangeMax), outUnit,
           kOutputTolerance);
    number(RecordField::OutRangeMin, Caption(resources::text::kOutputRange, o) + " " + T(resources::text::kMin, o), static_cast<double>(r.OutRangeMin), outUnit,
           kOutputTolerance);
    text(RecordField::OutputType, Caption(resources::text::kOutputTypeField, o),
         ListEntry(lists.outputTypes, FromFlag(r.OutputType) ? 1 : 0, o));
    text(RecordField::FilterOn, T(resources::text::kFilter, o), onOff(FromFlag(r.FilterOn)));
    const double tripTolerance = std::max(0.001, tripSpan * kTripRelativeStep);
    const auto tripLabel = [&](int trip, int levelText) {
        return T(resources::text::kTrip, o) + " " + std::to_string(trip) + ", " + T(levelText, o);
    };
    number(RecordField::Trip1High, tripLabel(1, txt::kTripHighLevel), static_cast<double>(r.Trip1High), inUnit, tripTolerance, trips);
    number(RecordField::Trip1Low, tripLabel(1, txt::kTripLowLevel), static_cast<double>(r.Trip1Low), inUnit, tripTolerance, trips);
    number(RecordField::Trip2High, tripLabel(2, txt::kTripHighLevel), static_cast<double>(r.Trip2High), inUnit, tripTolerance, trips);
    number(RecordField::Trip2Low, tripLabel(2, txt::kTripLowLevel), static_cast<double>(r.Trip2Low), inUnit, tripTolerance, trips);
    number(RecordField::TripDelay, T(resources::text::kDelay, o), static_cast<double>(r.TripDelay) * kTripTick, "sec.", kTripTick / 2, trips);
    // Trip 1's minimum bit is bit 1, trip 2's bit 0, as the trips form sets them.
    const auto kind = [&](bool minimum) { return T(minimum ? resources::text::kMin : resources::text::kMax, o); };
    text(RecordField::TripMode, T(resources::text::kTrips, o),
         "1: " + kind((r.TripMode & 2) != 0) + ", 2: " + kind((r.TripMode & 1) != 0), trips);
    return fields;
}

}  // namespace vantrel::ui
