// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include "sim/Memory.h"

namespace vantrel::sim {

// One piecewise-linear map as the firmware evaluates it: between neighbouring points it
// interpolates, beyond the first or the last point it extends the end segment.
struct PiecewiseLinear {
    std::vector<double> x;
    std::vector<double> y;
    double operator()(double value) const;
};

// The programmed tables read back from memory:
// - the breakpoint map from input-converter voltage (EvenBreakpoints / OddBreakpoints)
//   to output-converter code (OutputTable);
// - for internal cold-junction compensation, the map from the compensation sensor's
//   converter voltage (CjcSensorTable) to the thermocouple emf at that temperature, as
//   converter voltage (CjcEmfTable).
struct ProgrammedTables {
    int segments = 0;     // N
    int cjcSegments = 0;  // M
    PiecewiseLinear breakpoints;
    PiecewiseLinear coldJunction;
};

// Empty when the cells do not describe a usable table (an erased or garbled memory).
std::optional<ProgrammedTables> ReadProgrammedTables(const Memory& memory);

}  // namespace vantrel::sim
