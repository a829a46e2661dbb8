#include "device/Describe.h"

#include <algorithm>
#include <cmath>

#include "device/Identify.h"
#include "device/MemoryMap.h"
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
enum class UnitKind { Temperature, Percent, Millivolt, Milliamp, Ohm };

// Input codes by range, first match wins.
struct CodeRow {
    int first;
    int last;
    int familyTextId;
    Sensor sensor;
    UnitKind unit;
};

constexpr std::array<CodeRow, 7> kCodeRows = {{
    {1, 20, textid::Thermocouple, Sensor::TcType, UnitKind::Temperature},
    {21, 30, textid::Rtd, Sensor::RtdSensor, UnitKind::Temperature},
    {31, 35, textid::Potentiometer, Sensor::PotRange, UnitKind::Percent},
    {36, 45, textid::Voltage, Sensor::None, UnitKind::Millivolt},
    {46, 50, textid::Current, Sensor::None, UnitKind::Milliamp},
    {51, 55, textid::Resistance, Sensor::Wiring, UnitKind::Ohm},
    {56, 60, textid::TemperatureDifference, Sensor::None, UnitKind::Temperature},
}};

const CodeRow* FindCodeRow(int inputCode) {
    for (const CodeRow& row : kCodeRows)
        if (inputCode >= row.first && inputCode <= row.last) return &row;
    return nullptr;
}

// Output unit and list entry per family and the output type the transmitter holds.
struct OutputChoice {
    int entry;
    const char* unit;
};

std::optional<OutputChoice> OutputChoiceFor(int family, int outputType) {
    if (family == 1 || family == 2) return OutputChoice{0, " mA"};
    if (family == 3 && (outputType == 0 || outputType == 1)) return OutputChoice{0, " mA"};
    if (family == 3 && outputType == 2) return OutputChoice{1, " V"};
    if (family == 4 && outputType == 2) return OutputChoice{0, " mA"};
    if (family == 4 && outputType == 1) return OutputChoice{1, " V"};
    return std::nullopt;
}

class Renderer {
public:
    Renderer(const ReadValues& values, const DescribeContext& context)
        : v_(values), c_(context), lists_(Identify(context.identity).lists) {}

    Description Run() {
        const CodeRow* row = FindCodeRow(v_.inputCode);
        d_.custom = (v_.flags & option::Custom) != 0;
        if (row != nullptr) DescribeInput(*row);
        DescribeRange(row);
        DescribeOutput();
        DescribeAdjustments();
        DescribeDirection();
        DescribeBurnout(row);
        DescribeFilter();
        DescribeTrips(row);
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
        switch (row.sensor) {
        case Sensor::TcType:
            d_.tcType = v_.inputCode - 1;
            sensorText = EntryText(lists_.tcTypes, *d_.tcType);
            break;
        case Sensor::RtdSensor:
            d_.rtdSensor = v_.inputCode - 21;
            d_.wiring = wiring;
            sensorText = EntryText(lists_.rtdSensors, *d_.rtdSensor);
            break;
        case Sensor::PotRange:
            d_.potRange = v_.inputCode - 31;
            sensorText = EntryText(lists_.potRanges, *d_.potRange);
            break;
        case Sensor::Wiring:
            d_.wiring = wiring;
            break;
        case Sensor::None:
            break;
        }

        std::string line = T(row.familyTextId);
        if (d_.custom)
            line += " (Custom) ";
        else if (row.sensor == Sensor::TcType || row.sensor == Sensor::RtdSensor || row.sensor == Sensor::PotRange)
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

    // Converts an input value from transmitter units to the unit the range is shown in.
    double ToDisplay(const CodeRow* row, double value) const {
        if (row == nullptr) return value;
        if (row->unit == UnitKind::Percent) return value * 100;
        if (row->unit == UnitKind::Temperature && Bit(option::Fahrenheit))
            return CelsiusToFahrenheitForDisplay(value);
        return value;
    }

    std::string UnitText(const CodeRow* row) const {
        if (row == nullptr) return {};
        switch (row->unit) {
        case UnitKind::Temperature: return Bit(option::Fahrenheit) ? "  °F" : "  °C";
        case UnitKind::Percent: return " %";
        case UnitKind::Millivolt: return "  mV";
        case UnitKind::Milliamp: return "  mA";
        case UnitKind::Ohm: return "  Ohm";
        }
        return {};
    }

    void DescribeRange(const CodeRow* row) {
        if (row != nullptr && row->unit == UnitKind::Temperature) d_.fahrenheit = Bit(option::Fahrenheit);
        d_.inputUnit = UnitText(row);
        d_.inputRangeMin = resources::Format(ToDisplay(row, v_.rangeBottom), kRangePattern);
        d_.inputRangeMax = resources::Format(ToDisplay(row, v_.rangeTop), kRangePattern);
        d_.lines.push_back(T(208) + ": " + d_.inputRangeMin + T(210) + d_.inputRangeMax + d_.inputUnit);
    }

    void DescribeOutput() {
        const auto choice = OutputChoiceFor(c_.identity.DeviceFamily, v_.outputType);
        if (choice) {
            d_.outputEntry = choice->entry;
            d_.outputUnit = choice->unit;
        } else {
            d_.outputUnit = c_.currentOutputEntry == 1 ? " V" : " mA";
        }
        const auto text = [](const std::optional<float>& value) {
            return value ? resources::FormatSingle(*value, kRangePattern) : std::string();
        };
        const std::string first = text(v_.outputFirst);
        const std::string second = text(v_.outputSecond);
        d_.outputDirect = !Bit(option::ReverseOutput);
        // A reverse output is programmed with the range ends swapped.
        d_.outputRangeMin = d_.outputDirect ? second : first;
        d_.outputRangeMax = d_.outputDirect ? first : second;
        d_.lines.push_back(T(215) + ": " + Shown(d_.outputRangeMin) + T(210) + Shown(d_.outputRangeMax) +
                           d_.outputUnit);
    }

    void DescribeAdjustments() {
        if (c_.identity.DeviceModel != kModelWithTrips) return;
        d_.lines.push_back("Reg. Zero: " + resources::Format(v_.zeroAdjust, kAdjustPattern) + "%");
        d_.lines.push_back("Reg. Span: " + resources::Format(v_.spanAdjust, kAdjustPattern) + "%");
    }

    void DescribeDirection() { d_.lines.push_back(T(d_.outputDirect ? 177 : 178)); }

    void DescribeBurnout(const CodeRow* row) {
        d_.burnoutDown = BurnoutDownFromGainCode(v_.outputFlags, c_.identity.DeviceFamily, v_.outputType);
        d_.lines.push_back(T(d_.burnoutDown ? 175 : 176));
        if (row != nullptr && row->familyTextId == textid::Voltage) {
            const double low = resources::ParseNumber(d_.inputRangeMin).value_or(0);
            const double high = resources::ParseNumber(d_.inputRangeMax).value_or(0);
            d_.hideBurnout = high - low > kBurnoutVoltageSpan || high > kBurnoutVoltageMax;
        }
    }

    void DescribeFilter() {
        d_.filterOn = (v_.outputFlags & 1) != 0;
        d_.lines.push_back(T(228) + (d_.filterOn ? ": ON" : ": OFF"));
    }

    std::string Finite(double value, const char* pattern) const {
        return std::isfinite(value) ? resources::Format(value, pattern) : T(resources::text::kUnknownValue);
    }

    std::string TripLine(int trip, double high, double low, bool minimum, const CodeRow* row) const {
        const double span = v_.rangeBottom - v_.rangeTop;
        const double hysteresis = span == 0 ? 0 : std::fabs(100 * (low - high) / span);
        const double level = ToDisplay(row, minimum ? low : high);
        return T(223) + " " + std::to_string(trip) + ": " + Finite(level, kTripPattern) + " " +
               Finite(hysteresis, kHysteresisPattern) + " %" + (minimum ? "- Min" : "- Max");
    }

    void DescribeTrips(const CodeRow* row) {
        if (c_.identity.DeviceModel != kModelWithTrips) return;
        const auto& tv = v_.tripValues;
        DecodedTrips trips;
        bool known = true;
        for (std::size_t i = 0; i < 4; ++i) {
            trips.levels[i] = static_cast<float>(ToDisplay(row, tv[i + 1]));
            known = known && std::isfinite(trips.levels[i]);
        }
        trips.delayTicks = static_cast<float>(tv[5]);
        trips.flags = v_.tripFlags;
        // Levels without a defined result (a table whose ends coincide) leave the working
        // trips as they were.
        if (known) d_.trips = trips;
        d_.lines.push_back(TripLine(1, tv[1], tv[2], (v_.tripFlags & kTrip1MinimumBit) != 0, row));
        d_.lines.push_back(TripLine(2, tv[3], tv[4], (v_.tripFlags & kTrip2MinimumBit) != 0, row));
        d_.lines.push_back(T(224) + ": " + resources::Str(tv[5] * kTickSeconds) + " sec.");
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

bool BurnoutDownFromGainCode(std::uint8_t gainCode, int deviceFamily, int outputType) {
    const bool bit = (gainCode & option::BurnoutUpward) != 0;
    switch (deviceFamily) {
    case 1:
    case 2: return bit;
    case 3: return !bit;
    case 4: return outputType == 1 ? bit : !bit;  // output type 1 is the voltage entry
    default: return false;
    }
}

double CelsiusToFahrenheitForDisplay(double celsius) {
    // The conversion yields single precision, as it does on range entry.
    return static_cast<float>(celsius * 9 / 5 + 32);
}

Description Describe(const ReadValues& values, const DescribeContext& context) {
    return Renderer(values, context).Run();
}

}  // namespace vantrel::device
