// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "device/PlanRequest.h"
#include "device/WorkingState.h"

// The one check a configuration passes before it is planned, previewed, reported or
// programmed: every number finite, the ranges inside what the input and output of the
// identified family accept with at least their smallest span, the trims and the trip delay
// inside their cells, a custom curve's points within the model's counts and rising. A file
// that fails it still opens, so the user can mend it in the form; it only cannot be
// programmed.
namespace vantrel::device {

enum class ConfigField {
    InputRange,
    OutputRange,
    ZeroTrim,
    SpanTrim,
    TripLevels,
    TripDelay,
    SensorPoints,
    ColdJunctionPoints,
};

enum class ConfigFault {
    NotANumber,      // a value is NaN or infinite
    Inverted,        // the maximum lies below the minimum
    OutsideLimits,   // an end beyond the allowed limits, or a span below the smallest one
    Empty,           // a custom curve whose first and last physical values are equal
    BeyondRangeCode, // a custom curve's end that the range cells cannot hold
    CountOutOfRange, // a point count outside what the model takes
    NotRising,       // custom input values that do not rise
};

struct ConfigProblem {
    ConfigField field = ConfigField::InputRange;
    ConfigFault fault = ConfigFault::NotANumber;
    // What the configuration holds and what is allowed, in the unit shown to the user.
    double valueMin = 0;
    double valueMax = 0;
    double allowedMin = 0;
    double allowedMax = 0;
    double minSpan = 0;
    std::string unit;  // "°C", "°F", "%", "mV", "mA", "Ohm", "V", "" for counts and trips
};

// The largest magnitude either end of the input range may have once converted to the
// transmitter's units (°C, ratio, mV, mA, ohm): the range cells share a 4-bit exponent.
inline constexpr double kRangeCodeLimit = 16384;

// The first problem of a configuration about to be planned, or nothing when it may be.
// Codes that no form choice produces are left to the plan, which refuses them on its own.
std::optional<ConfigProblem> CheckConfiguration(const PlanRequest& request, const WorkingState& working);

// The message for a problem, naming the field and what is allowed, in the language of the
// offset; lines separated by "\n".
std::string ConfigProblemText(const ConfigProblem& problem, int languageOffset);

}  // namespace vantrel::device
