// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "math/OutputCodes.h"

#include "resources/NumberFormat.h"

namespace vantrel::math {

double OutputConverterCode(double outputValue, const ConverterCalibration& c) {
    return c.OutCalCode1 + (outputValue - c.OutCalPoint1) * (c.OutCalCode2 - c.OutCalCode1) /
                               (c.OutCalPoint2 - c.OutCalPoint1);
}

OutputLine OutputEnds(float outMax, float outMin, double adjMaxPercent, double adjMinPercent,
                      const ConverterCalibration& calibration) {
    const double low = static_cast<double>(outMin);
    const double high = static_cast<double>(outMax);
    const double d = low - high;
    return {OutputConverterCode(low + d * adjMaxPercent / 100, calibration),
            OutputConverterCode(high + d * adjMinPercent / 100, calibration)};
}

double OutputCodeAt(double value, double rangeMin, double rangeMax, const OutputLine& line, bool outputDirect) {
    const double f = outputDirect ? value - rangeMin : rangeMax - value;
    return line.CodeAtMin + f * (line.CodeAtMax - line.CodeAtMin) / (rangeMax - rangeMin);
}

std::vector<float> BreakpointOutputs(std::span<const float> temps, float rangeMin, float rangeMax,
                                     const OutputLine& line, bool outputDirect) {
    std::vector<float> outputs;
    outputs.reserve(temps.size());
    for (float t : temps) outputs.push_back(resources::ToSingle(OutputCodeAt(static_cast<double>(t), static_cast<double>(rangeMin), static_cast<double>(rangeMax), line, outputDirect)));
    return outputs;
}

}  // namespace vantrel::math
