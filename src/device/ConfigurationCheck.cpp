// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ConfigurationCheck.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "device/Families.h"
#include "device/MemoryMap.h"
#include "math/InputCodes.h"
#include "math/Units.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::device {

namespace in = math::input;

namespace {

constexpr double kTrimLimitPercent = 5;
constexpr int kTrimSliderLimit = 50;
constexpr int kTripDelayCellMax = 255;
constexpr double kTripDelayStepSeconds = 0.05;

bool Finite(double value) { return std::isfinite(value); }

// The range limits in the unit the range is typed in. A temperature range typed in °F has
// its limits converted; the smallest span of a thermocouple stays the number it is in
// either unit (as the range entry has always offered it), an RTD's converts by the factor.
RangeLimits LimitsAsTyped(int inputCode, const RangeLimits& celsius, bool fahrenheit) {
    if (!fahrenheit || !in::IsTemperature(inputCode)) return celsius;
    RangeLimits typed = celsius;
    typed.min = math::CelsiusToFahrenheit(celsius.min);
    typed.max = math::CelsiusToFahrenheit(celsius.max);
    if (in::IsRtd(inputCode)) typed.minSpan = static_cast<float>(static_cast<double>(celsius.minSpan) * 9.0 / 5.0);
    return typed;
}

std::string InputUnit(int inputCode, bool fahrenheit) {
    if (in::IsTemperature(inputCode)) return fahrenheit ? "°F" : "°C";
    if (in::IsPotentiometer(inputCode)) return "%";
    switch (inputCode) {
    case in::VoltageCode: return "mV";
    case in::CurrentCode: return "mA";
    case in::ResistanceCode: return "Ohm";
    default: return "";
    }
}

ConfigProblem Problem(ConfigField field, ConfigFault fault, double low, double high, std::string unit = {}) {
    ConfigProblem p;
    p.field = field;
    p.fault = fault;
    p.valueMin = low;
    p.valueMax = high;
    p.unit = std::move(unit);
    return p;
}

// A range typed in the form: finite, not inverted, inside the limits (when known) with at
// least the smallest span. Compared in single precision, as the range entry compares.
std::optional<ConfigProblem> CheckRange(ConfigField field, float low, float high, const std::optional<RangeLimits>& limits,
                                        const std::string& unit) {
    if (!Finite(static_cast<double>(low)) || !Finite(static_cast<double>(high))) return Problem(field, ConfigFault::NotANumber, static_cast<double>(low), static_cast<double>(high), unit);
    if (high < low) return Problem(field, ConfigFault::Inverted, static_cast<double>(low), static_cast<double>(high), unit);
    if (!limits) return std::nullopt;
    if (low < limits->min || high > limits->max || static_cast<float>(high - low) < limits->minSpan) {
        ConfigProblem p = Problem(field, ConfigFault::OutsideLimits, static_cast<double>(low), static_cast<double>(high), unit);
        p.allowedMin = static_cast<double>(limits->min);
        p.allowedMax = static_cast<double>(limits->max);
        p.minSpan = static_cast<double>(limits->minSpan);
        return p;
    }
    return std::nullopt;
}

// The input range once converted the way programming converts it (°F to °C, percent to a
// ratio) must fit the range cells.
bool FitsRangeCode(const PlanRequest& request, bool custom) {
    double high = static_cast<double>(request.RangeMax);
    double low = static_cast<double>(request.RangeMin);
    if (in::IsPotentiometer(request.InputCode) && !custom) {
        high /= 100;
        low /= 100;
    }
    if ((request.OptionWord & option::Fahrenheit) != 0 && in::IsTemperature(request.InputCode)) {
        high = static_cast<double>(math::FahrenheitToCelsius(static_cast<float>(high)));
        low = static_cast<double>(math::FahrenheitToCelsius(static_cast<float>(low)));
    }
    return std::fabs(high) < kRangeCodeLimit && std::fabs(low) < kRangeCodeLimit;
}

std::optional<ConfigProblem> CheckInputRange(const PlanRequest& request, const WorkingState& working) {
    const bool fahrenheit = (request.OptionWord & option::Fahrenheit) != 0;
    const std::string unit = InputUnit(request.InputCode, fahrenheit);
    std::optional<RangeLimits> limits = InputLimits(request.InputCode, working.identity);
    if (limits) limits = LimitsAsTyped(request.InputCode, *limits, fahrenheit);
    if (auto problem = CheckRange(ConfigField::InputRange, request.RangeMin, request.RangeMax, limits, unit))
        return problem;
    if (!FitsRangeCode(request, false))
        return Problem(ConfigField::InputRange, ConfigFault::BeyondRangeCode, static_cast<double>(request.RangeMin), static_cast<double>(request.RangeMax), unit);
    return std::nullopt;
}

std::optional<ConfigProblem> CheckCount(ConfigField field, int count, int most) {
    if (count >= kMinPoints && count <= most) return std::nullopt;
    ConfigProblem p = Problem(field, ConfigFault::CountOutOfRange, count, count);
    p.allowedMin = kMinPoints;
    p.allowedMax = most;
    return p;
}

// Finite values whose input column rises strictly (in single precision, as the editor
// compares); the physical column may fall or repeat.
std::optional<ConfigProblem> CheckPoints(ConfigField field, std::span<const float> physical,
                                         std::span<const float> input, bool physicalRises) {
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (!Finite(static_cast<double>(physical[i])) || !Finite(static_cast<double>(input[i])))
            return Problem(field, ConfigFault::NotANumber, static_cast<double>(physical[i]), static_cast<double>(input[i]));
        if (i == 0) continue;
        if (!(static_cast<float>(input[i] - input[i - 1]) > 0) ||
            (physicalRises && !(static_cast<float>(physical[i] - physical[i - 1]) > 0)))
            return Problem(field, ConfigFault::NotRising, static_cast<double>(input[i - 1]), static_cast<double>(input[i]));
    }
    return std::nullopt;
}

std::optional<ConfigProblem> CheckCustomCurve(const PlanRequest& request, const WorkingState& working) {
    const int userPoints = working.SensorPoints - (working.PointExtra ? 1 : 0);
    if (auto p = CheckCount(ConfigField::SensorPoints, userPoints, MaxSensorPoints(working.identity)))
        return p;
    const auto count = static_cast<std::size_t>(std::clamp(working.SegmentCount + 1, 0, kWorkingPoints));
    if (auto p = CheckPoints(ConfigField::SensorPoints, std::span(working.PtPhysical).first(count),
                             std::span(working.PtInput).first(count), false))
        return p;

    const bool cjcTable = in::IsThermocouple(request.InputCode) && (request.OptionWord & option::InternalCjc) != 0;
    if (cjcTable) {
        if (auto p = CheckCount(ConfigField::ColdJunctionPoints, working.CjcPoints, kMaxCjcPoints)) return p;
        const auto cjcCount = static_cast<std::size_t>(working.CjcPoints);
        if (auto p = CheckPoints(ConfigField::ColdJunctionPoints, std::span(working.CjcPhysical).first(cjcCount),
                                 std::span(working.CjcInput).first(cjcCount), true))
            return p;
    }

    // The curve's physical column becomes the range; the typed range ends are written as
    // they stand (the editor sets them to the curve's ends).
    const double first = static_cast<double>(working.PtPhysical[0]);
    const double last = static_cast<double>(working.PtPhysical[static_cast<std::size_t>(userPoints - 1)]);
    const std::string unit = InputUnit(request.InputCode, (request.OptionWord & option::Fahrenheit) != 0);
    if (first == last) return Problem(ConfigField::InputRange, ConfigFault::Empty, first, last, unit);
    if (!Finite(static_cast<double>(request.RangeMin)) || !Finite(static_cast<double>(request.RangeMax)))
        return Problem(ConfigField::InputRange, ConfigFault::NotANumber, static_cast<double>(request.RangeMin), static_cast<double>(request.RangeMax), unit);
    const bool curveFits = std::fabs(first) < kRangeCodeLimit && std::fabs(last) < kRangeCodeLimit;
    if (!curveFits || !FitsRangeCode(request, true))
        return Problem(ConfigField::InputRange, ConfigFault::BeyondRangeCode, first, last, unit);
    return std::nullopt;
}

std::optional<ConfigProblem> CheckOutputRange(const PlanRequest& request, const WorkingState& working) {
    const std::string unit = request.OutputTypeIndex == 1 ? "V" : "mA";
    return CheckRange(ConfigField::OutputRange, request.OutMin, request.OutMax,
                      OutputLimits(working.identity, request.OutputTypeIndex), unit);
}

std::optional<ConfigProblem> CheckTrim(ConfigField field, double percent, int slider) {
    if (Finite(percent) && std::fabs(percent) <= kTrimLimitPercent && std::abs(slider) <= kTrimSliderLimit)
        return std::nullopt;
    ConfigProblem p = Problem(field, Finite(percent) ? ConfigFault::OutsideLimits : ConfigFault::NotANumber, percent,
                              percent, "%");
    p.allowedMin = -kTrimLimitPercent;
    p.allowedMax = kTrimLimitPercent;
    return p;
}

std::optional<ConfigProblem> CheckTrips(const WorkingState& working) {
    for (float level : working.TripLevels)
        if (!Finite(static_cast<double>(level))) return Problem(ConfigField::TripLevels, ConfigFault::NotANumber, static_cast<double>(level), static_cast<double>(level));
    const double ticks = static_cast<double>(working.TripDelayTicks);
    if (!Finite(ticks)) return Problem(ConfigField::TripDelay, ConfigFault::NotANumber, ticks, ticks);
    const long long cell = resources::RoundHalfEven(ticks);
    if (cell < 0 || cell > kTripDelayCellMax) {
        const double seconds = ticks * kTripDelayStepSeconds;
        return Problem(ConfigField::TripDelay, ConfigFault::OutsideLimits, seconds, seconds, "sec.");
    }
    return std::nullopt;
}

std::string FieldName(ConfigField field, int languageOffset) {
    const auto T = [&](int id) { return resources::Text(id, languageOffset); };
    switch (field) {
    case ConfigField::InputRange: return T(resources::text::kInputRange);
    case ConfigField::OutputRange: return T(resources::text::kOutputRange);
    case ConfigField::ZeroTrim: return "Reg. Zero";
    case ConfigField::SpanTrim: return "Reg. Span";
    case ConfigField::TripLevels: return T(resources::text::kTrips);
    case ConfigField::TripDelay: return T(resources::text::kDelay);
    case ConfigField::SensorPoints: return T(resources::text::kSensorPage);
    case ConfigField::ColdJunctionPoints: return T(resources::text::kCjcPage);
    }
    return {};
}

std::string Number(double value) { return resources::PlainText(value); }

std::string WithUnit(const std::string& number, const std::string& unit) {
    return unit.empty() ? number : number + " " + unit;
}

}  // namespace

std::optional<ConfigProblem> CheckConfiguration(const PlanRequest& request, const WorkingState& working) {
    if (!in::IsProgrammable(request.InputCode)) return std::nullopt;
    if (auto p = working.CustomActive ? CheckCustomCurve(request, working) : CheckInputRange(request, working))
        return p;
    if (auto p = CheckOutputRange(request, working)) return p;
    if (auto p = CheckTrim(ConfigField::ZeroTrim, request.AdjMax, request.ZeroSlider)) return p;
    if (auto p = CheckTrim(ConfigField::SpanTrim, request.AdjMin, request.SpanSlider)) return p;
    if (working.HasTrips()) return CheckTrips(working);
    return std::nullopt;
}

std::string ConfigProblemText(const ConfigProblem& p, int languageOffset) {
    namespace t = resources::text;
    const auto T = [&](int id) { return resources::Text(id, languageOffset); };
    std::string text = T(t::kConfigurationNotProgrammable) + "\n" + FieldName(p.field, languageOffset) + ": ";
    const std::string values = p.valueMin == p.valueMax || p.fault == ConfigFault::CountOutOfRange
                                   ? WithUnit(Number(p.valueMin), p.unit)
                                   : WithUnit(Number(p.valueMin) + T(resources::text::kRangeSeparator) + Number(p.valueMax), p.unit);
    switch (p.fault) {
    case ConfigFault::NotANumber: return text + T(resources::text::kInvalidFormat);
    case ConfigFault::Inverted: return text + values + "\n" + T(t::kMaximumBelowMinimum);
    case ConfigFault::Empty: return text + values + "\n" + T(t::kRangeEmpty);
    case ConfigFault::BeyondRangeCode: return text + values + "\n" + T(t::kBeyondRangeCells);
    case ConfigFault::NotRising: return text + T(resources::text::kNotRising);
    case ConfigFault::CountOutOfRange: return text + values + "\n" + T(resources::text::kPointCount) + resources::Str(p.allowedMax);
    case ConfigFault::OutsideLimits:
        if (p.field == ConfigField::TripDelay) return text + values + "\n" + T(t::kTripDelayTooLong);
        text += values + "\n" + T(t::kAllowedFrom) + " " + WithUnit(Number(p.allowedMin) + T(t::kAllowedTo) +
                                                                       Number(p.allowedMax), p.unit);
        if (p.minSpan > 0) text += ", " + T(t::kSmallestSpan) + " " + WithUnit(Number(p.minSpan), p.unit);
        return text;
    }
    return text;
}

}  // namespace vantrel::device
