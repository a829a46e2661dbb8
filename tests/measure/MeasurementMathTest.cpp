// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "device/MemoryMap.h"
#include "measure/MeasurementMath.h"

using namespace vantrel;
using namespace vantrel::measure;

namespace {

FrameBytes FrameFor(double code, std::uint8_t trips = 0) {
    const auto b = device::Float24Encode(code);
    return {0, b[1], b[0], b[2], trips};
}

// Family 4 current output calibration: 4 mA at code 808, 20 mA at 3392 (16 codes per 0.1 mA).
device::OutputCalibration Current() {
    device::OutputCalibration c;
    c.CalCodeLow = 808;
    c.CalCodeHigh = 3392;
    c.CalValueLow = 4;
    c.CalValueHigh = 20;
    return c;
}

}  // namespace

TEST(FrameDecoding, TheWordIsHighByteFirstAndTheCodeIsFlooredTimesEight) {
    EXPECT_EQ(FrameCodeTimes8(FrameFor(2100)), 8 * 2100);
    EXPECT_EQ(FrameCodeTimes8(FrameFor(2100.5)), 16804);
    EXPECT_EQ(FrameCodeTimes8(FrameFor(2100.0625)), 16800);  // 16800.5 floored
    // A word with the sign bit set reads as -(1 + (65536 - W) / 32768) x 2^E.
    EXPECT_EQ(FrameCodeTimes8({0, 0xC0, 0x00, 127, 0}), -12);
}

TEST(CodeFilter, SmallStepsSettleWithTheDivisorAndLargeStepsResetAtOnce) {
    CodeFilter filter;
    EXPECT_EQ(filter.Step(8 * 1000), 8 * 1000);  // from 0: a jump larger than J
    EXPECT_DOUBLE_EQ(filter.Step(8 * 1000 + 800), 8 * 1000 + 100);
    EXPECT_DOUBLE_EQ(filter.Step(8 * 1000 + 800), 8 * 1000 + 100 + 700.0 / 8);
    CodeFilter jumping;
    jumping.Step(8000);
    // The comparison is made after the filter step, so a step resets only when 7/8 of it
    // still exceeds J: about 293 codes.
    EXPECT_EQ(jumping.Step(8000 + 8 * 300), 8000 + 8 * 300);
    EXPECT_LT(jumping.Step(8000 + 8 * 300 + 8 * 290), 8000 + 8 * 300 + 8 * 290);
}

TEST(Scale, OutputAndProcessValuesFollowTheCalibrationAndDirection) {
    const Scale scale = ComputeScale(Current(), 808, 3392, 1000, 0);
    EXPECT_NEAR(scale.outputLow, 4, 1e-6);
    EXPECT_NEAR(scale.outputHigh, 20, 1e-6);
    EXPECT_NEAR(OutputValue(scale, 8 * 2100), 12, 1e-6);
    EXPECT_NEAR(ProcessValue(scale, 12), 500, 1e-4);
    EXPECT_NEAR(ProcessValue(scale, 16), 750, 1e-4);
}

TEST(Scale, RangeLampsAndBarFollowTheValueRelativeToTheBottom) {
    const Scale scale = ComputeScale(Current(), 808, 3392, 200, -100);
    RangeIndication in = IndicateRange(scale, 50);
    EXPECT_EQ(in.underRange, Lamp::Grey);
    EXPECT_EQ(in.overRange, Lamp::Grey);
    EXPECT_DOUBLE_EQ(in.bar, 150);
    RangeIndication below = IndicateRange(scale, -101);
    EXPECT_EQ(below.underRange, Lamp::Red);
    EXPECT_EQ(below.overRange, Lamp::Grey);
    EXPECT_EQ(below.bar, 0);
    RangeIndication above = IndicateRange(scale, 201);
    EXPECT_EQ(above.overRange, Lamp::Red);
    EXPECT_EQ(above.bar, 300);
}

TEST(TripLamps, DelayWinsOverActiveAndEachTripHasItsBits) {
    EXPECT_EQ(DecodeTripLamps(0).trip1, Lamp::Green);
    EXPECT_EQ(DecodeTripLamps(1).trip1, Lamp::Red);
    EXPECT_EQ(DecodeTripLamps(17).trip1, Lamp::Yellow);
    EXPECT_EQ(DecodeTripLamps(2).trip2, Lamp::Red);
    EXPECT_EQ(DecodeTripLamps(2).trip1, Lamp::Green);
    EXPECT_EQ(DecodeTripLamps(32 + 2).trip2, Lamp::Yellow);
}

TEST(DisplayPatterns, ResolutionFollowsTheSpanAndOutputTheFamily) {
    using vantrel::math::Unit;
    EXPECT_EQ(ResolutionPattern(1200, Unit::Celsius), "##0");
    EXPECT_EQ(ResolutionPattern(1000, Unit::Celsius), "##0.0");
    EXPECT_EQ(ResolutionPattern(50, Unit::Millivolt), "##0.00");
    EXPECT_EQ(ResolutionPattern(10, Unit::Milliamp), "##0.000");
    EXPECT_EQ(ResolutionPattern(1200, Unit::Percent), "##0.00");
    EXPECT_EQ(OutputPattern({4, 10, 0, 0}, 1), "##0.000   V");
    EXPECT_EQ(OutputPattern({4, 10, 0, 0}, 2), "##0.000  mA");
    EXPECT_EQ(OutputPattern({3, 9, 0, 0}, 2), "##0.000   V");
    EXPECT_EQ(OutputPattern({3, 9, 0, 0}, 1), "##0.000  mA");
    EXPECT_EQ(OutputPattern({2, 9, 0, 0}, 1), "##0.000  mA");
}
