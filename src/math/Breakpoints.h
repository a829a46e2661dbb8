// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <vector>

#include "math/Converter.h"

// Breakpoint placement: where along the input range the transmitter's piecewise-linear
// table has its points. The working tables are single precision, as the transmitter's
// programming always kept them; breakpoint 1 is element 0.
namespace vantrel::math {

// The most segments any table takes (the model with trips takes fewer: the caller says).
inline constexpr int kMaxSegments = 28;

// Step width (°C or input unit) and the band boundaries that make breakpoints denser where
// a thermocouple curves most.
struct Segmentation {
    double step = 20;
    std::span<const double> boundaries;
};
Segmentation SegmentationFor(int inputCode);

struct PlacementArgs {
    int inputCode = 0;
    float rangeMin = 0;          // in the table units (°C, mV, ohm, mA, ratio)
    float rangeMax = 0;
    bool linearBoxVisible = true;
    bool linearTicked = false;   // linear programming: one segment plus an extra end point
    int maxSegments = kMaxSegments;  // what the transmitter's memory holds (device::MaxSegments)
};

struct Breakpoints {
    std::vector<float> temps;    // BreakTemp, N + 1 entries
    int segments = 0;            // N
    bool extraEndPoint = false;  // the last point lies beyond the range (bit 4 of OptionFlags)
    float rangeMin = 0;          // the range in force for the output line
    float rangeMax = 0;
};

// Standard placement: linear programming, the band list, or equal steps. A range it cannot
// divide (an end not finite, the maximum not above the minimum) gives no segments.
Breakpoints PlaceBreakpoints(const PlacementArgs& args);

// Placement from a custom point table: N = segmentCount, the points are the physical
// column, and the range becomes the first to the last user point (the added point lies
// beyond it when pointExtra is set). A segment count the table cannot hold gives no segments.
Breakpoints CustomBreakpoints(std::span<const float> physical, int segmentCount, bool pointExtra);

// BreakSignal of standard placement: SensorSignal at each BreakTemp, shaped for the
// converter input (RTD current, current-input gain).
std::vector<float> BreakpointSignals(std::span<const float> temps, int inputCode, int multiplier,
                                     const ConverterConstants& constants);

// BreakSignal of a custom table: the input column (a percent column divided by 100 for
// potentiometers), shaped for the converter input the same way.
std::vector<float> CustomBreakpointSignals(std::span<const float> inputs, int segmentCount, int inputCode,
                                           const ConverterConstants& constants);

// BreakVolts: the converter voltage of each breakpoint. For a potentiometer the converter
// value is the ratio: evenly spread over the range, or, for a custom curve, the input column
// divided by 100 (then `potentiometerRatios` holds those values).
std::vector<float> BreakpointVolts(std::span<const float> signals, int inputConfig, const InputScale& scale,
                                   const ConverterConstants& constants, float rangeMin, float rangeMax,
                                   std::span<const float> potentiometerRatios = {});

}  // namespace vantrel::math
