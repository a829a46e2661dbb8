// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

// Characterised platinum resistance thermometers: the Callendar-Van Dusen equation with the
// sensor's own coefficients, turned into a custom point table (input in ohm, physical in °C)
// so that a transmitter can be matched to one particular sensor.
namespace vantrel::math {

struct CvdCoefficients {
    double R0 = 100;  // ohm at 0 °C
    double A = 0;
    double B = 0;
    double C = 0;     // used below 0 °C only
};

// The coefficients of the older alpha, beta, delta form:
// A = alpha (1 + delta / 100), B = -alpha delta / 10^4, C = -alpha beta / 10^8.
CvdCoefficients CvdFromAlphaBetaDelta(double r0, double alpha, double beta, double delta);

// R(t) = R0 (1 + A t + B t² + C (t - 100) t³) below 0 °C, R0 (1 + A t + B t²) from 0 °C up.
double CvdResistance(const CvdCoefficients& c, double celsius);

struct CvdPoint {
    double input = 0;     // ohm
    double physical = 0;  // °C
};

enum class CvdProblem {
    None,
    BadCoefficients,  // R0 not positive, or a value that is not finite
    BadRange,         // the range is empty or reversed
    BadCount,         // fewer than 2 points or more than the editor takes
    NotRising,        // the resistance does not rise over the range: no usable table
};

struct CvdCurve {
    std::vector<CvdPoint> points;
    CvdProblem problem = CvdProblem::None;
};

// `count` points evenly spread from `from` to `to` °C (both ends included); at most
// `maxPoints`.
CvdCurve GenerateCvdCurve(const CvdCoefficients& c, double from, double to, int count, int maxPoints);

}  // namespace vantrel::math
