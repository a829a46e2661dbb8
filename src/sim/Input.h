// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "sim/Memory.h"
#include "sim/TableMap.h"

namespace vantrel::sim {

// The simulated signal at the transmitter's terminals.
enum class Quantity {
    Temperature,     // °C at the sensor (thermocouple or resistance thermometer)
    Millivolts,
    Milliamps,
    Ohms,
    Fraction,        // potentiometer wiper position, 0..1
    ConverterVolts,  // the input converter's value itself, bypassing the input stage
};

struct SimulatedInput {
    Quantity quantity = Quantity::Temperature;
    double value = 25;
    double coldJunction = 25;  // °C at the terminals, for thermocouples
    // A live process: the value swings by `drift` (its own unit) around `value` over
    // `driftPeriod` seconds from the start of the measurement stream, with up to `noise`
    // either way on each frame (the same on every run: the noise follows the frame count).
    double drift = 0;
    double driftPeriod = 120;
    double noise = 0;
};

// The input as it stands `seconds` into a measurement stream, at its `frame`-th frame.
SimulatedInput InputAt(const SimulatedInput& input, double seconds, long frame);

// The value at the input converter that the firmware maps through its breakpoint table,
// cold-junction compensation included: the input stage follows the input code, input
// configuration and option bits in memory and the calibration cells (input converter zero
// and span at 254 and 250, factory block at 233). A temperature for an input that is not a
// sensor is taken as the input's own unit. Empty when the input cannot be produced (a
// temperature outside the sensor's curve).
std::optional<double> InputConverterValue(const SimulatedInput& input, const Memory& memory,
                                          const std::optional<ProgrammedTables>& tables);

}  // namespace vantrel::sim
