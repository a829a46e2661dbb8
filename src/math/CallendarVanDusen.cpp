// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "math/CallendarVanDusen.h"

#include <cmath>

namespace vantrel::math {

CvdCoefficients CvdFromAlphaBetaDelta(double r0, double alpha, double beta, double delta) {
    CvdCoefficients c;
    c.R0 = r0;
    c.A = alpha * (1 + delta / 100);
    c.B = -alpha * delta / 1e4;
    c.C = -alpha * beta / 1e8;
    return c;
}

double CvdResistance(const CvdCoefficients& c, double t) {
    double ratio = 1 + c.A * t + c.B * t * t;
    if (t < 0) ratio += c.C * (t - 100) * t * t * t;
    return c.R0 * ratio;
}

CvdCurve GenerateCvdCurve(const CvdCoefficients& c, double from, double to, int count, int maxPoints) {
    CvdCurve curve;
    const bool finite = std::isfinite(c.R0) && std::isfinite(c.A) && std::isfinite(c.B) && std::isfinite(c.C);
    if (!finite || c.R0 <= 0) {
        curve.problem = CvdProblem::BadCoefficients;
    } else if (!std::isfinite(from) || !std::isfinite(to) || !(to > from)) {
        curve.problem = CvdProblem::BadRange;
    } else if (count < 2 || count > maxPoints) {
        curve.problem = CvdProblem::BadCount;
    }
    if (curve.problem != CvdProblem::None) return curve;
    for (int i = 0; i < count; ++i) {
        // The last point is `to` itself, not the sum of steps that may miss it by a rounding.
        const double t = i == count - 1 ? to : from + i * (to - from) / (count - 1);
        const double r = CvdResistance(c, t);
        if (!std::isfinite(r) || (!curve.points.empty() && !(r > curve.points.back().input))) {
            return CvdCurve{{}, CvdProblem::NotRising};
        }
        curve.points.push_back({r, t});
    }
    return curve;
}

}  // namespace vantrel::math
