// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// The input-stage configuration byte (cell 5): which converter range, excitation and wiring
// the transmitter sets up for an input code and range.
namespace vantrel::math {

// Converter range bits of an InputConfig value.
inline constexpr int kInputConfigGainMask = 192;   // 0, 64, 128: gain multiplier 1, 3, 12
inline constexpr int kInputConfigHighRange = 128;  // above this the factory counts and a 400 mV reference apply

struct InputConfigArgs {
    int inputCode = 0;
    int optionFlags = 0;        // bit 0 internal compensation; bits 1..0 wiring for RTD/resistance
    double rangeMax = 0;        // in the units of the tables: °C, mV, ohm, mA or a 0..1 ratio
    double rangeMin = 0;
    bool variantTable = false;  // the variant rows some firmware takes (see device::UsesVariantInputConfig)
    // With custom points: the first and last input values of the point table. These replace
    // the range and select the custom decision table.
    std::optional<double> customFirstInput;
    std::optional<double> customLastInput;
};

struct InputConfigChoice {
    int inputConfig = 0;        // 0 when no row of the table matches
    int multiplier = 1;         // 10 for the 1000 ohm sensors, passed to SensorSignal
    bool cjcCompensation = false;
    // Code 56 forces its range to 0..800.
    std::optional<double> forcedRangeMin;
    std::optional<double> forcedRangeMax;
};

// The three decision tables: standard, the variant (model 10 with firmware version 5), and the
// custom one (standard rows over the custom input span), which takes precedence.
InputConfigChoice SelectInputConfig(const InputConfigArgs& args);

}  // namespace vantrel::math
