// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

// What the transmitter will make of its input: the programmed table is a piecewise-linear
// map from the signal at its converter back to the physical value (°C, or the input's own
// unit). The preview walks the input range between the breakpoints, takes the sensor's true
// signal at each value, reads it back through the table and reports the difference: the
// linearisation error, in the table's physical unit.
namespace vantrel::math {

// The table as programming builds it (BreakTemp and BreakSignal, breakpoint 1 first).
struct PreviewTable {
    std::span<const float> values;   // physical value of each breakpoint
    std::span<const float> breakSignals;  // signal at the converter input of each breakpoint
    // Segments that lie inside the input range: N, or N - 1 when the last point is the
    // extra end point beyond the range.
    int segmentsInRange = 0;
};

struct PreviewSample {
    double value = 0;            // physical value
    double referenceSignal = 0;  // the sensor's true signal at that value
    double tableSignal = 0;      // the signal the table assigns to that value
    double error = 0;            // value read back through the table minus the true value
};

struct LinearisationPreview {
    std::vector<PreviewSample> samples;  // in the order of the table, breakpoints included
    bool valid = false;                  // false: the table is unusable (see the builders)
    double largestError = 0;             // signed error of the sample with the largest |error|
    double largestErrorAt = 0;           // its physical value
};

// The sensor's true signal at a physical value, in the unit of the table's signals; empty
// where the sensor has no value (outside its bands).
using ReferenceSignal = std::function<std::optional<double>(double value)>;

inline constexpr int kPreviewSamplesPerSegment = 32;

// Against a sensor curve: samples evenly between each pair of breakpoints.
LinearisationPreview PreviewAgainstCurve(const PreviewTable& table, const ReferenceSignal& reference,
                                         int samplesPerSegment = kPreviewSamplesPerSegment);

// Against a table of user points (custom linearisation): between two points the user's
// curve is the straight line in the input's own unit; `shape` turns an input value into
// the converter signal the same way programming does (percent to ratio, current source of
// a resistance input). `physical` and `input` hold one entry per breakpoint.
LinearisationPreview PreviewAgainstPoints(const PreviewTable& table, std::span<const float> physical,
                                          std::span<const float> input, const std::function<double(double)>& shape,
                                          int samplesPerSegment = kPreviewSamplesPerSegment);

// The physical value the table gives for a converter signal: linear interpolation in the
// segment that holds it, the end segments extended beyond the table. Empty for a table
// with fewer than two points or without a segment of non-zero signal span.
std::optional<double> TableValueAt(std::span<const float> values, std::span<const float> breakSignals, double signal);

}  // namespace vantrel::math
