// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The one rule for the ticks of every chart axis (preview, trend, points plot, the pictures
// of the command-line tool): whole multiples of a round step, labelled as such.
namespace vantrel::render {

// A step of 1, 2, 2.5 or 5 times a power of ten that cuts `span` into about `intervals`
// parts (1 for an empty or meaningless span).
double TickStep(double span, int intervals = 5);

// The decimals that write every multiple of `step` exactly ("0.25" needs 2).
int TickDecimals(double step);

// A multiple of a step written for an axis: the decimals of the step, and zero as "0" (a
// rounding residue must never read "-0.0" or "2.78e-17").
std::string TickLabel(double value, int decimals);

struct AxisTicks {
    double low = 0;   // the axis ends, on multiples of the step
    double high = 1;
    double step = 1;
    int decimals = 0;
    std::vector<double> values;  // low, low + step, ..., high
    std::vector<std::string> labels;
};

// Ticks covering low..high, the ends moved out to the next multiples of the step; a flat or
// empty extent gets a small band around it. `symmetric` centres the axis on zero (-m..m,
// m the larger magnitude).
AxisTicks RoundTicks(double low, double high, int intervals = 5, bool symmetric = false);

// Ticks inside low..high exactly (the ends stay where they are), at multiples of the step
// anchored at zero: for axes that must stay lined up with another.
AxisTicks InnerTicks(double low, double high, int intervals = 5);

}  // namespace vantrel::render
