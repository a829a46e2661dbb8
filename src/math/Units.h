// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "math/InputCodes.h"

// Units of the values the program shows and the conversions between temperature units.
// State holds a Unit; the texts are made from it where they are shown.
namespace vantrel::math {

enum class Unit { Celsius, Fahrenheit, Percent, Millivolt, Milliamp, Ohm, Volt };

constexpr std::string_view Symbol(Unit unit) {
    switch (unit) {
    case Unit::Celsius: return "°C";
    case Unit::Fahrenheit: return "°F";
    case Unit::Percent: return "%";
    case Unit::Millivolt: return "mV";
    case Unit::Milliamp: return "mA";
    case Unit::Ohm: return "Ohm";
    case Unit::Volt: return "V";
    }
    return "";
}

// The unit after a value in the summary and the live display: "  °C", "  mV", " %" (one
// blank before the percent sign, two before the others).
inline std::string ValueSuffix(Unit unit) {
    return std::string(unit == Unit::Percent ? " " : "  ") + std::string(Symbol(unit));
}

constexpr bool IsTemperature(Unit unit) { return unit == Unit::Celsius || unit == Unit::Fahrenheit; }

// The unit an input's range is typed and shown in: temperatures in °C or °F, a potentiometer
// in percent, the linear inputs in their electrical unit. Empty for codes outside every block.
constexpr std::optional<Unit> InputUnit(int inputCode, bool fahrenheit) {
    using input::Family;
    const auto family = input::FamilyOf(inputCode);
    if (!family) return std::nullopt;
    switch (*family) {
    case Family::Thermocouple:
    case Family::Rtd:
    case Family::TemperatureDifference: return fahrenheit ? Unit::Fahrenheit : Unit::Celsius;
    case Family::Potentiometer: return Unit::Percent;
    case Family::Voltage: return Unit::Millivolt;
    case Family::Current: return Unit::Milliamp;
    case Family::Resistance: return Unit::Ohm;
    }
    return std::nullopt;
}

// Temperature unit conversions used on range entry and for display; results are single
// precision like the values they feed.
inline float CelsiusToFahrenheit(float celsius) {
    return static_cast<float>(static_cast<double>(celsius) * 9 / 5 + 32);
}

inline float FahrenheitToCelsius(float fahrenheit) {
    return static_cast<float>((static_cast<double>(fahrenheit) - 32) * 5 / 9);
}

// A temperature difference (a span) converts by the factor alone, never with the offset.
inline float CelsiusSpanToFahrenheit(float celsius) { return static_cast<float>(static_cast<double>(celsius) * 9 / 5); }
inline float FahrenheitSpanToCelsius(float fahrenheit) {
    return static_cast<float>(static_cast<double>(fahrenheit) * 5 / 9);
}

}  // namespace vantrel::math
