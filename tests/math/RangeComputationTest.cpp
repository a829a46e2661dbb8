// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "math/Breakpoints.h"
#include "math/ColdJunction.h"
#include "math/Converter.h"
#include "math/Gain.h"
#include "math/InputConfig.h"
#include "math/OutputCodes.h"
#include "math/SensorCurves.h"
#include "math/TripWords.h"

using namespace vantrel::math;

namespace {
// The model with trips (10) holds 26 segments, the others 28.
Breakpoints Place(int code, float min, float max, int model = 9, bool linearVisible = true, bool linear = false) {
    return PlaceBreakpoints({code, min, max, linearVisible, linear, model == 10 ? 26 : 28});
}
}  // namespace

TEST(Breakpoints, TypeK0To1000_EqualStepsLimitedBySegmentCount) {
    const auto b = Place(1, 0, 1000);
    EXPECT_EQ(b.segments, 28);
    ASSERT_EQ(b.temps.size(), 29u);
    EXPECT_FLOAT_EQ(b.temps[1], 1000.0f / 28);
    EXPECT_FLOAT_EQ(b.temps[28], 1000.0f);
    EXPECT_FALSE(b.extraEndPoint);
    EXPECT_EQ(Place(1, 0, 1000, 10).segments, 26);
}

TEST(Breakpoints, TypeKMinus200To100_FollowsTheShiftedBandsThenDividesTheRest) {
    const auto b = Place(1, -200, 100);
    ASSERT_EQ(b.segments, 14);
    ASSERT_EQ(b.temps.size(), 15u);
    EXPECT_FLOAT_EQ(b.temps[1], static_cast<float>(-199.8 + 5.0025));  // the first band point, shifted
    EXPECT_FLOAT_EQ(b.temps[8], static_cast<float>(-32.1 + 5.0025));    // the last one below Max
    for (int i = 9; i < 15; ++i)
        EXPECT_NEAR(static_cast<double>(b.temps[static_cast<std::size_t>(i)]), -27.0975 + (i - 8) * 127.0975 / 6, 1e-4);
}

// Resistance thermometers use their step widths; inputs without a linearisation box get two
// segments whatever the span; linear programming has three points and the extra end point.
TEST(Breakpoints, StepWidthsAndLinearProgramming) {
    EXPECT_EQ(Place(21, 0, 400).segments, 10);
    EXPECT_EQ(Place(23, -60, 180).segments, 16);
    EXPECT_EQ(Place(36, 0, 10000, 9, false).segments, 2);
    const auto b = Place(1, 100, 500, 9, true, true);
    EXPECT_EQ(b.temps, (std::vector<float>{100, 500, 510}));
    EXPECT_TRUE(b.extraEndPoint);
}

// A Max inside the band list cuts there and evens the count; the table still ends at Max
// (before the extra end point, when there is one) and rises throughout.
TEST(Breakpoints, MaxInsideTheBandList_CutsAtMaxAndEvensTheCount) {
    for (const float max : {-100.0f, -196.0f, -20.0f}) {
        const auto b = Place(1, -200, max);
        ASSERT_EQ(b.temps.size(), static_cast<std::size_t>(b.segments) + 1) << max;
        EXPECT_EQ(b.segments % 2, 0) << max;
        EXPECT_FLOAT_EQ(b.temps.front(), -200.0f);
        EXPECT_FLOAT_EQ(b.temps[b.temps.size() - (b.extraEndPoint ? 2 : 1)], max);
        EXPECT_TRUE(std::is_sorted(b.temps.begin(), b.temps.end(), std::less_equal<float>())) << max;
    }
    EXPECT_TRUE(Place(1, -200, -196).extraEndPoint);
}

TEST(Breakpoints, Signals_ShapeResistanceAndCurrentForTheConverter) {
    ConverterConstants k;
    k.RtdCurrent100 = 0.3;
    k.RtdCurrent1000 = 0.21;
    k.InputGain46 = 10;
    const float temps[] = {0.0f, 100.0f};
    EXPECT_FLOAT_EQ(BreakpointSignals(temps, 21, 1, k)[0], 30.0f);    // 100 ohm x 0.3 mA
    EXPECT_FLOAT_EQ(BreakpointSignals(temps, 22, 10, k)[0], 210.0f);  // 1000 ohm x 0.21 mA
    EXPECT_FLOAT_EQ(BreakpointSignals(std::vector<float>{4, 20}, 46, 1, k)[1], 200.0f);
    EXPECT_FLOAT_EQ(CustomBreakpointSignals(std::vector<float>{0, 50, 100}, 2, 31, k)[1], 0.5f);
}

// The converter setup by input code, option flags (wiring, compensation), range and table
// (standard, or the variant of model 10 with firmware 5), and for custom curves by the
// input column's span.
TEST(InputConfig, RowsOfTheDecisionTables) {
    struct Case {
        InputConfigArgs args;
        int inputConfig;
    };
    const Case cases[] = {
        {{36, 0, 10000, -10000, false, {}, {}}, 136}, {{36, 0, 50, 0, false, {}, {}}, 7},  // narrowest voltage band
        {{36, 0, 800, -800, false, {}, {}}, 8}, {{36, 0, 50, 0, true, {}, {}}, 6},
        {{21, 0, 300, 0, false, {}, {}}, 3}, {{21, 1, 301, 0, false, {}, {}}, 66}, {{21, 2, 850, 0, true, {}, {}}, 132},
        {{21, 3, 850, 0, true, {}, {}}, 0} /* no such wiring */, {{51, 3, 400, 0, true, {}, {}}, 0},
        {{24, 2, 100, 0, false, {}, {}}, 132}, {{51, 1, 500, 0, false, {}, {}}, 66}, {{51, 0, 600, 0, false, {}, {}}, 131},
        {{3, 1, 1000, 0, false, {}, {}}, 1}, {{3, 0, 1000, 0, false, {}, {}}, 7}, {{32, 0, 1, 0, false, {}, {}}, 69},
        {{32, 0, 1, 0, true, {}, {}}, 5}, {{46, 0, 20, 4, false, {}, {}}, 138}, {{56, 0, 100, 0, false, {}, {}}, 75},
        {{36, 0, 10, 0, false, -500.0, 500.0}, 134} /* custom: the input column decides */,
        {{21, 0, 100, 0, false, 80.0, 140.0}, 0} /* and only its rows exist */,
    };
    for (const Case& c : cases)
        EXPECT_EQ(SelectInputConfig(c.args).inputConfig, c.inputConfig)
            << "code " << c.args.inputCode << " flags " << c.args.optionFlags << " max " << c.args.rangeMax;
    EXPECT_EQ(SelectInputConfig({24, 2, 100, 0, false, {}, {}}).multiplier, 10);
    EXPECT_TRUE(SelectInputConfig({3, 1, 1000, 0, false, {}, {}}).cjcCompensation);
    EXPECT_EQ(SelectInputConfig({56, 0, 100, 0, false, {}, {}}).forcedRangeMax, 800.0);
}

// By span band, input-configuration multiplier, filter, potentiometer, fixed gain and burn-out
// (input code, input configuration, span, fixed gain, filter, burn-out bit).
TEST(GainCode, SpanBandsMultiplierFilterAndBurnout) {
    const std::pair<GainArgs, int> cases[] = {
        {{1, 1, 5, false, false, false}, 40},  {{1, 64 + 7, 5, false, false, false}, 46},
        {{1, 64 + 7, 5, false, true, false}, 33}, {{1, 64 + 7, 5, false, true, true}, 33 + 128},
        {{1, 1, 40, false, false, false}, 32}, {{1, 1, 1, false, false, false}, 46},
        {{31, 1, 1, false, false, false}, 34}, {{31, 1, 1, true, false, true}, 32 + 128},
    };
    for (const auto& [args, code] : cases) EXPECT_EQ(GainCode(args), code) << args.inputCode << " " << args.signalSpan;
}

TEST(NoiseLimit, NarrowSpansAskButPotentiometersNever) {
    EXPECT_TRUE(RangeIsNoisy(1, 1, 2.5));
    EXPECT_FALSE(RangeIsNoisy(1, 1, 2.7));
    EXPECT_TRUE(RangeIsNoisy(21, 64 + 3, 7.0));  // m = 3
    for (int code : {31, 32, 33}) EXPECT_FALSE(RangeIsNoisy(code, 5, 0.5));
    EXPECT_DOUBLE_EQ(GainSignalSpan(0, 400, 8), 20);
}

TEST(OutputCodes, TrimsMoveTheirOwnEndAndReverseSwapsTheLine) {
    ConverterCalibration c;
    c.OutCalCode1 = 800;
    c.OutCalCode2 = 3400;
    c.OutCalPoint1 = 4;
    c.OutCalPoint2 = 20;
    const OutputLine plain = OutputEnds(20, 4, 0, 0, c);
    EXPECT_EQ(std::tuple(plain.CodeAtMin, plain.CodeAtMax), std::tuple(800.0, 3400.0));
    // D = -16: +1 % on AdjMax lowers the OutMin end by 0.16 mA (26 codes).
    const OutputLine trimmed = OutputEnds(20, 4, 1, -1, c);
    EXPECT_EQ(std::tuple(trimmed.CodeAtMin, trimmed.CodeAtMax), std::tuple(800.0 - 26, 3400.0 + 26));
    const float temps[] = {0, 50, 100};
    EXPECT_FLOAT_EQ(BreakpointOutputs(temps, 0, 100, plain, true)[1], 2100.0f);
    EXPECT_FLOAT_EQ(BreakpointOutputs(temps, 0, 100, plain, false)[0], 3400.0f);
}

TEST(TripWords, RoundHalfToEvenAndConvertLikeTheRange) {
    const OutputLine line{0, 101};
    // 0.5 of 0..100 over 101 codes is 50.5 -> 50; 1.5 % -> 1.515 -> 2.
    const TripLevelArray levels = {50, 1.5f, 100, 0};
    const auto words = TripWords(levels, 0, 100, line, true);
    EXPECT_EQ(std::tuple(words[0], words[1], TripWords(levels, 0, 100, line, false)[2]), std::tuple(50, 2, 0));
    EXPECT_TRUE(TripLevelsInRange(levels, 0, 100));
    EXPECT_FALSE(TripLevelsInRange({101, 0, 0, 0}, 0, 100));
    // Potentiometer levels become ratios, °F levels °C unless the table itself is in °F.
    EXPECT_FLOAT_EQ(TripLevelsInTableUnits({50, 40, 100, 0}, 31, 0, false)[0], 0.5f);
    EXPECT_FLOAT_EQ(TripLevelsInTableUnits({212, 32, 0, 0}, 21, 8, false)[0], 100.0f);
    EXPECT_FLOAT_EQ(TripLevelsInTableUnits({212, 32, 0, 0}, 21, 8, true)[0], 212.0f);
    EXPECT_EQ(std::tuple(TripFlagsForOutput(3, false), TripFlagsForOutput(7, true)), std::tuple(7, 3));
}

TEST(ColdJunction, StandardTablesAndTypeBFixedEmf) {
    ConverterCalibration c;
    ConverterConstants k;
    const InputScale scale = LowRangeScale(c);
    const auto k5 = StandardCjcTables(1, 5, c, k, scale);
    EXPECT_EQ(std::tuple(k5.temps.size(), k5.temps.front(), k5.temps.back()), std::tuple(6u, -20.0, 70.0));
    // At the calibration temperature the sensor reads its calibration counts.
    EXPECT_NEAR(CjcSensorVolts(k.CalTemperature, c, k), ConverterVolts(k.CalCjcCounts), 1e-12);
    const auto b = StandardCjcTables(5, 2, c, k, scale);
    ASSERT_EQ(b.emfVolts.size(), 3u);
    EXPECT_DOUBLE_EQ(b.emfVolts[2], 0.001 * (scale.Vs - scale.V0) / 20);
}

TEST(Converter, ScalesAndHighRange) {
    ConverterCalibration c;
    ConverterConstants k;
    k.CalZeroCounts = 400;
    k.CalSpanCounts = 3600;
    k.HighRangeRatio = 20;
    const InputScale low = InputScaleFor(7, c, k);
    EXPECT_DOUBLE_EQ(low.Ref, 20);
    EXPECT_DOUBLE_EQ(InputConverterVolts(20, 7, low, k), low.Vs);
    const InputScale high = InputScaleFor(136, c, k);
    EXPECT_DOUBLE_EQ(high.Ref, 400);
    EXPECT_DOUBLE_EQ(high.V0, ConverterVolts(400));
    EXPECT_DOUBLE_EQ(InputConverterVolts(400, 8, low, k), low.Vs);
    EXPECT_NEAR(RtdCurrent100From(2188, 372, 1516.313), 0.3174, 1e-4);
    EXPECT_DOUBLE_EQ(InputGain46From(1680, 400, 3600), 10);
    EXPECT_DOUBLE_EQ(HighRangeRatioFrom(3600, 400, 3572, 372), 20);
    EXPECT_DOUBLE_EQ(RtdCurrent1000From(2400, 400, 3600), 0.25);
}
