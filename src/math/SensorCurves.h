// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// Sensor reference curves: the electrical quantity a sensor produces at a temperature.
// Thermocouples give their emf in mV with the cold junction at 0 °C, resistance
// thermometers their resistance in ohm, linear inputs the argument unchanged.
namespace vantrel::math {

// Signal of the sensor selected by an input code at t.
//   codes 1..8   thermocouple K, J, S, R, B, E, T, N (t in °C, result in mV);
//   21, 22, 56   platinum, 100 ohm at 0 °C times `multiplier` (ohm);
//   23, 24       nickel, 100 ohm at 0 °C times `multiplier` (ohm);
//   31, 32, 33, 36, 46, 51   linear inputs: t itself.
// Empty when t lies outside every band of the sensor or the code is unknown; callers that
// store the result as a number count an empty result as 0.
std::optional<double> SensorSignal(double t, int code, int multiplier);

// The same with the empty result counted as 0, as every table of the transmitter needs it.
double SensorSignalOrZero(double t, int code, int multiplier);

}  // namespace vantrel::math
