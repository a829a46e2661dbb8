// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What programming plans are computed from in the tests and the benchmark: a plausible
// factory block, output calibration and programming form.
#include "device/ProgramPlan.h"

namespace vantrel::test {

inline device::FactoryCalibration SampleFactory() {
    device::FactoryCalibration f;
    f.CalRtdHigh = 2400;   // 0.25 mA into 1000 ohm
    f.CalAux2 = 1680;      // 10 mV per mA
    f.CalAux1 = 3572;      // high-range ratio 20
    f.CalZeroCounts = 400;
    f.CalSpanCounts = 3600;
    f.CalRtdLow = 2188;    // about 0.3174 mA into 100 ohm
    return f;
}

// 4 mA at code 800, 20 mA at code 3400; cell 7 and previous trip words with marks of their own.
inline device::ProgramDeviceData SampleDevice() {
    device::ProgramDeviceData d;
    d.Cell7 = 0xA5;
    math::ConverterCalibration c;
    c.OutCalCode1 = 800;
    c.OutCalCode2 = 3400;
    c.OutCalPoint1 = 4;
    c.OutCalPoint2 = 20;
    d.Converter = c;
    d.Factory = SampleFactory();
    d.PreviousTripWords = {0x1234, 0x2345, 0x3456, 0x4567};
    return d;
}

// An input range and a 4..20 mA direct output; linearisation offered for temperature inputs.
inline device::PlanRequest Form(int code, float min, float max, int options = 0) {
    device::PlanRequest f;
    f.InputCode = code;
    f.OptionWord = options;
    f.RangeMin = min;
    f.RangeMax = max;
    f.OutMin = 4;
    f.OutMax = 20;
    f.LinearVisible = code < 30;
    f.OutputDirect = true;
    return f;
}

}  // namespace vantrel::test
