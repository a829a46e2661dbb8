// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Describe.h"

#include <algorithm>
#include <cmath>

#include "device/Families.h"
#include "device/Identify.h"
#include "device/MemoryMap.h"
#include "math/Units.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::device {

namespace {

constexpr const char* kRangePattern = "####0.###";
constexpr const char* kTripPattern = "####0.0##";
constexpr const char* kHysteresisPattern = "####0.0";
constexpr const char* kAdjustPattern = "0.0";
constexpr double kTickSeconds = 0.05;

// Burn-out cannot follow a voltage input above 700 mV or wider than 800 mV.
constexpr double kBurnoutVoltageMax = 700;
constexpr double kBurnoutVoltageSpan = 800;

enum class Sensor { None, TcType, RtdSensor, PotRange, Wiring };

// What a block of input codes shows: its family's text, the sensor list it selects from.
struct CodeRow {
    math::input::Family family;
    int familyTextId;
    Sensor sensor;
};

std::optional<CodeRow> FindCodeRow(int inputCode) {
    using math::input::Family;
    const auto family = math::input::FamilyOf(inputCode);
    if (!family) return std::nullopt;
    switch (*family) {
    case Family::Thermocouple: return CodeRow{*family, textid::Thermocouple, Sensor::TcType};
    case Family::Rtd: return CodeRow{*family, textid::Rtd, Sensor::RtdSensor};
    case Family::Potentiometer: return CodeRow{*family, textid::Potentiometer, Sensor::PotRange};
    case Family::Voltage: return CodeRow{*family, textid::Voltage, Sensor::None};
    case Family::Current: return CodeRow{*family, textid::Current, Sensor::None};
    case Family::Resistance: return CodeRow{*family, textid::Resistance, Sensor::Wiring};
    case Family::TemperatureDifference: return CodeRow{*family, textid::TemperatureDifference, Sensor::None};
    }
    return std::nullopt;
}

class Renderer {
public:
    Renderer(const ReadValues& values, const DescribeContext& context)
        : v_(values), c_(context), lists_(Identify(context.identity).lists) {}

    Description Run() {
        const std::optional<CodeRow> found = FindCodeRow(v_.inputCode);
        const CodeRow* row = found ? &*found : nullptr;
        d_.custom = (v_.flags & option::Custom) != 0;
        d_.unit = math::InputUnit(v_.inputCode, Bit(option::Fahrenheit));
        if (row != nullptr) DescribeInput(*row);
        DescribeRange();
        DescribeOutput();
        DescribeAdjustments();
        DescribeDirection();
        DescribeBurnout(row);
        DescribeFilter();
        DescribeTrips();
        return d_;
    }

private:
    std::string T(int id) const { return resources::Text(id, c_.languageOffset); }
    // A number's text, or the unknown mark when the value has no defined result.
    std::string Shown(const std::string& number) const {
        return number.empty() ? T(resources::text::kUnknownValue) : number;
    }

    std::string EntryText(const std::vector<int>& list, int index) const {
        if (index < 0 || index >= static_cast<int>(list.size())) return {};
        return T(list[static_cast<std::size_t>(index)]);
    }

    bool Bit(int mask) const { return (v_.flags & mask) != 0; }

    void DescribeInput(const CodeRow& row) {
        d_.familyTextId = row.familyTextId;
        const auto found = std::find(lists_.inputFamilies.begin(), lists_.inputFamilies.end(), row.familyTextId);
        if (found != lists_.inputFamilies.end())
            d_.familyPosition = static_cast<int>(found - lists_.inputFamilies.begin());

        const int wiring = v_.flags & option::WiringMask;
        std::string sensorText;
        const int sensor = math::input::SensorIndex(v_.inputCode);
        switch (row.sensor) {
        case Sensor::TcType:
            d_.tcType = sensor;
            sensorText = EntryText(lists_.tcTypes, sensor);
            break;
        case Sensor::RtdSensor:
            d_.rtdSensor = sensor;
            d_.wiring = wiring;
            sensorText = EntryText(lists_.rtdSensors, sensor);
            break;
        case Sensor::PotRange:
            d_.potRange = sensor;
            sensorText = EntryText(lists_.potRanges, sensor);
            break;
        case Sensor::Wiring:
            d_.wiring = wiring;
            break;
        case Sensor::None:
            break;
        }

        // A sensor code beyond the family's list is said to be unknown, with its number.
        const bool listedSensor = row.sensor == Sensor::TcType || row.sensor == Sensor::RtdSensor ||
                                  row.sensor == Sensor::PotRange;
        if (listedSensor && sensorText.empty())
            sensorText = "(" + T(resources::text::kUnknownInputCode) + resources::Str(v_.inputCode) + ")";
        std::string line = T(row.familyTextId);
        if (d_.custom)
            line += " (Custom) ";
        else if (listedSensor)
            line += " " + sensorText;
        // The wiring is named once, after the sensor (resistance has no other sensor text).
        if (row.sensor == Sensor::RtdSensor || row.sensor == Sensor::Wiring)
            line += " - " + EntryText(lists_.wirings, wiring);
        d_.lines.push_back(line);

        if (row.sensor == Sensor::TcType) {
            d_.cjcInternal = Bit(option::InternalCjc);
            d_.lines.push_back(T(*d_.cjcInternal ? 91 : 92));
            d_.linearOn = Bit(option::LinearTc);
            d_.lines.push_back(T(*d_.linearOn ? 89 : 90));
        } else if (row.sensor == Sensor::RtdSensor) {
            d_.linearOn = Bit(option::LinearRtd);
            d_.lines.push_back(T(*d_.linearOn ? 89 : 90));
        }
    }

    // Converts an input value from transmitter units to the unit the range is shown in. A
    // potentiometer's range is held as a ratio, except a custom curve's, which holds its
    // physical column as typed.
    double ToDisplay(double value) const {
        if (d_.unit == math::Unit::Percent && !d_.custom) return value * 100;
        if (d_.unit == math::Unit::Fahrenheit) return CelsiusToFahrenheitForDisplay(value);
        return value;
    }

    void DescribeRange() {
        if (d_.unit && math::IsTemperature(*d_.unit)) d_.fahrenheit = *d_.unit == math::Unit::Fahrenheit;
        d_.inputUnit = d_.unit ? math::ValueSuffix(*d_.unit) : std::string();
        d_.inputRangeMin = resources::Format(ToDisplay(v_.rangeBottom), kRangePattern);
        d_.inputRangeMax = resources::Format(ToDisplay(v_.rangeTop), kRangePattern);
        d_.lines.push_back(T(resources::text::kInputRange) + ": " + d_.inputRangeMin +
                           T(resources::text::kRangeSeparator) + d_.inputRangeMax + d_.inputUnit);
    }

    void DescribeOutput() {
        const std::optional<OutputKind> kind = OutputOfCode(c_.identity, v_.outputType);
        if (kind) d_.outputEntry = static_cast<int>(*kind);
        const bool voltage = kind ? *kind == OutputKind::Voltage : c_.currentOutputEntry == 1;
        d_.outputUnit = voltage ? " V" : " mA";
        const auto text = [](const std::optional<float>& value) {
            return value ? resources::FormatSingle(*value, kRangePattern) : std::string();
        };
        const std::string first = text(v_.outputFirst);
        const std::string second = text(v_.outputSecond);
        d_.outputDirect = !Bit(option::ReverseOutput);
        // A reverse output is programmed with the range ends swapped.
        d_.outputRangeMin = d_.outputDirect ? second : first;
        d_.outputRangeMax = d_.outputDirect ? first : second;
        d_.lines.push_back(T(resources::text::kOutputRange) + ": " + Shown(d_.outputRangeMin) +
                           T(resources::text::kRangeSeparator) + Shown(d_.outputRangeMax) + d_.outputUnit);
    }

    void DescribeAdjustments() {
        if (c_.identity.DeviceModel != kModelWithTrips) return;
        d_.lines.push_back("Reg. Zero: " + resources::Format(v_.zeroAdjust, kAdjustPattern) + "%");
        d_.lines.push_back("Reg. Span: " + resources::Format(v_.spanAdjust, kAdjustPattern) + "%");
    }

    void DescribeDirection() { d_.lines.push_back(T(d_.outputDirect ? 177 : 178)); }

    void DescribeBurnout(const CodeRow* row) {
        d_.burnoutDown = BurnoutDownFromGainCode(c_.identity, v_.outputFlags, v_.outputType);
        d_.lines.push_back(T(d_.burnoutDown ? 175 : 176));
        if (row != nullptr && row->family == math::input::Family::Voltage) {
            const double low = resources::ParseNumber(d_.inputRangeMin).value_or(0);
            const double high = resources::ParseNumber(d_.inputRangeMax).value_or(0);
            d_.hideBurnout = high - low > kBurnoutVoltageSpan || high > kBurnoutVoltageMax;
        }
    }

    void DescribeFilter() {
        d_.filterOn = (v_.outputFlags & 1) != 0;
        d_.lines.push_back(T(resources::text::kFilter) + (d_.filterOn ? ": ON" : ": OFF"));
    }

    std::string Finite(double value, const char* pattern) const {
        return std::isfinite(value) ? resources::Format(value, pattern) : T(resources::text::kUnknownValue);
    }

    std::string TripLine(int trip, double high, double low, bool minimum) const {
        const double span = v_.rangeBottom - v_.rangeTop;
        const double hysteresis = span == 0 ? 0 : std::fabs(100 * (low - high) / span);
        const double level = ToDisplay(minimum ? low : high);
        return T(resources::text::kTrip) + " " + std::to_string(trip) + ": " + TripLevelText(level) + " " +
               Finite(hysteresis, kHysteresisPattern) + " %" + (minimum ? "- Min" : "- Max");
    }

    void DescribeTrips() {
        if (c_.identity.DeviceModel != kModelWithTrips) return;
        const auto& tv = v_.tripValues;
        DecodedTrips trips;
        bool known = true;
        for (std::size_t i = 0; i < 4; ++i) {
            trips.levels[i] = static_cast<float>(ToDisplay(tv[i + 1]));
            known = known && std::isfinite(trips.levels[i]);
        }
        trips.delayTicks = static_cast<float>(tv[5]);
        trips.flags = v_.tripFlags;
        // Levels without a defined result (a table whose ends coincide) leave the working
        // trips as they were.
        if (known) d_.trips = trips;
        d_.lines.push_back(TripLine(1, tv[1], tv[2], (v_.tripFlags & kTrip1MinimumBit) != 0));
        d_.lines.push_back(TripLine(2, tv[3], tv[4], (v_.tripFlags & kTrip2MinimumBit) != 0));
        d_.lines.push_back(T(resources::text::kDelay) + ": " + resources::Str(tv[5] * kTickSeconds) + " sec.");
    }

    const ReadValues& v_;
    const DescribeContext& c_;
    ChoiceLists lists_;
    Description d_;
};

}  // namespace

std::string Description::SummaryText() const {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

double CelsiusToFahrenheitForDisplay(double celsius) {
    // The conversion yields single precision, as it does on range entry.
    return static_cast<double>(static_cast<float>(celsius * 9 / 5 + 32));
}

Description Describe(const ReadValues& values, const DescribeContext& context) {
    return Renderer(values, context).Run();
}

std::string TripLevelText(double level) {
    return std::isfinite(level) ? resources::Format(level, kTripPattern) : resources::Text(resources::text::kUnknownValue, 0);
}

}  // namespace vantrel::device
