// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a programming plan is computed from: the programming form's values as programming
// reads them (the input code and option word it encodes, the ranges as typed, the output
// choices and the trims).
namespace vantrel::device {

// The programming form's values that programming reads.
struct PlanRequest {
    int InputCode = 0;
    int OptionWord = 0;          // option bits (cell 11): bit 0 CJC, bits 1..0 wiring, bit 3 °F
    float RangeMax = 0;          // input range as typed (°C/°F, percent, mV, ohm, mA)
    float RangeMin = 0;
    float OutMax = 0;            // output range
    float OutMin = 0;
    int OutputSelect = 0;        // calibration row and the low bits of cell 7 (see OutputSelectCode)
    int OutputTypeIndex = 0;     // 0 current, 1 voltage
    bool LinearVisible = false;
    bool LinearTicked = false;
    bool FilterTicked = false;
    bool BurnoutDown = false;
    bool OutputDirect = true;
    double AdjMax = 0;           // zero trim, percent
    double AdjMin = 0;           // span trim, percent
    int ZeroSlider = 0;          // zero trim slider, -50..50
    int SpanSlider = 0;          // span trim slider, -50..50
};

}  // namespace vantrel::device
