// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/MeasurementMath.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "device/Families.h"
#include "device/MemoryMap.h"
#include "resources/NumberFormat.h"

namespace vantrel::measure {

double FrameCodeTimes8(const FrameBytes& frame) {
    // frame[1], frame[2]: the word, high byte first; frame[3]: the exponent.
    const unsigned word = frame[1] * 256u + frame[2];
    return std::floor(8 * device::Float24DecodeWord(word, frame[3]));
}

double CodeFilter::Step(double codeTimes8) {
    m_value = m_value - m_value / m_p.divisor + codeTimes8 / m_p.divisor;
    if (std::fabs(m_value - codeTimes8) > m_p.jump) m_value = codeTimes8;
    return m_value;
}

namespace {

// The run's codes-per-unit goes through its single-precision text and back, so the scale
// matches what the display has always shown.
double ThroughSingleText(double value) {
    return resources::ParseNumber(resources::PlainTextSingle(static_cast<float>(value))).value_or(value);
}

}  // namespace

Scale ComputeScale(const device::OutputCalibration& c, double firstCode, double lastCode, double rangeTop,
                   double rangeBottom) {
    const double codesPerUnit = ThroughSingleText((static_cast<double>(c.CalCodeHigh) - static_cast<double>(c.CalCodeLow)) /
                                                  (static_cast<double>(c.CalValueHigh) - static_cast<double>(c.CalValueLow)));
    Scale s;
    s.outputLow = static_cast<double>(c.CalValueLow) + (firstCode - static_cast<double>(c.CalCodeLow)) / codesPerUnit;
    s.outputHigh = static_cast<double>(c.CalValueHigh) + (lastCode - static_cast<double>(c.CalCodeHigh)) / codesPerUnit;
    s.slope = (s.outputHigh - s.outputLow) / (lastCode - firstCode);
    s.firstCode = firstCode;
    s.lastCode = lastCode;
    s.rangeTop = rangeTop;
    s.rangeBottom = rangeBottom;
    return s;
}

double OutputValue(const Scale& scale, double filteredTimes8) {
    return scale.outputLow + scale.slope * (filteredTimes8 / 8 - scale.firstCode);
}

double ProcessValue(const Scale& scale, double displayedOutput) {
    const double fraction = (displayedOutput - scale.outputLow) / (scale.outputHigh - scale.outputLow);
    return scale.rangeBottom + scale.span() * fraction;
}

RangeIndication IndicateRange(const Scale& scale, double processValue) {
    const double relative = processValue - scale.rangeBottom;
    RangeIndication r;
    if (relative < 0) {
        r.underRange = Lamp::Red;
        r.bar = 0;
    } else if (relative > std::fabs(scale.span())) {
        r.overRange = Lamp::Red;
        r.bar = std::fabs(scale.span());
    } else {
        r.bar = relative;
    }
    return r;
}

TripLamps DecodeTripLamps(std::uint8_t tripByte) {
    const auto lamp = [&](int delayBit, int activeBit) {
        if (tripByte & delayBit) return Lamp::Yellow;
        if (tripByte & activeBit) return Lamp::Red;
        return Lamp::Green;
    };
    return {lamp(16, 1), lamp(32, 2)};
}

std::string ResolutionPattern(double span, std::optional<math::Unit> unit) {
    if (unit == math::Unit::Percent) return "##0.00";
    if (span > 1000) return "##0";
    if (span > 100) return "##0.0";
    if (span > 10) return "##0.00";
    return "##0.000";
}

bool OutputIsVoltage(const device::Identity& identity, int outputType) {
    return device::OutputOfCode(identity, outputType) == device::OutputKind::Voltage;
}

std::string OutputPattern(const device::Identity& identity, int outputType) {
    return OutputIsVoltage(identity, outputType) ? "##0.000   V" : "##0.000  mA";
}

}  // namespace vantrel::measure
