// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <vector>

#include "math/Converter.h"

// Output side: the output converter code for each breakpoint.
namespace vantrel::math {

// Output converter code for an output value o (mA or V): the straight line through
// (OutCalPoint1, OutCalCode1) and (OutCalPoint2, OutCalCode2).
double OutputConverterCode(double outputValue, const ConverterCalibration& calibration);

// Codes at the two ends of the output range with the zero and span trims applied.
struct OutputLine {
    double CodeAtMin = 0;  // code for input Min (direct) or input Max (reverse)
    double CodeAtMax = 0;
};

// D = OutMin - OutMax; CodeAtMin = code(OutMin + D x adjMax / 100),
// CodeAtMax = code(OutMax + D x adjMin / 100). `adjMaxPercent` is the zero trim typed in
// the AdjMax box, `adjMinPercent` the span trim of AdjMin.
OutputLine OutputEnds(float outMax, float outMin, double adjMaxPercent, double adjMinPercent,
                      const ConverterCalibration& calibration);

// Output code for a value of the input range: CodeAtMin + f x (CodeAtMax - CodeAtMin) /
// (Max - Min) with f = value - Min (direct) or Max - value (reverse).
double OutputCodeAt(double value, double rangeMin, double rangeMax, const OutputLine& line, bool outputDirect);

// BreakOutput of every breakpoint, single precision.
std::vector<float> BreakpointOutputs(std::span<const float> temps, float rangeMin, float rangeMax,
                                     const OutputLine& line, bool outputDirect);

}  // namespace vantrel::math
