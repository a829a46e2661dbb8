// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <utility>

#include "device/OutputCalibration.h"

using namespace vantrel::device;

TEST(OutputCalibration, Family3CurrentRowDecodesTheNibbles) {
    const auto row = FindCalibrationRow(3, 1);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->cellA, 253);
    OutputCalibration c;
    DecodeRowCalibration(*row, 0xA0, 0xF0, 0x10, c);
    EXPECT_FLOAT_EQ(c.CalValueLow, 4.0f);
    EXPECT_FLOAT_EQ(c.CalValueHigh, 16.016f);
    EXPECT_EQ(c.CalCodeLow, 3412);
    EXPECT_EQ(c.CalCodeHigh, 1044);
}

TEST(OutputCalibration, OnlyFamiliesWithAnOutputCalibrationHaveRows) {
    EXPECT_FALSE(FindCalibrationRow(4, 0) || FindCalibrationRow(1, 1));
    EXPECT_TRUE(FindCalibrationRow(4, 2));
}

TEST(RemoveTrims, InvertsTheProgrammingOfZeroAndSpanTrimsInBothDirections) {
    // Programming 4..20 mA with zero +1 % and span -2 %: the first entry sits at
    // 4 - 16 * 1 / 100, the range maximum at 20 - 16 * (-2) / 100.
    // Reverse: the first entry carries the OutMax end with the span trim, the range
    // maximum the OutMin end with the zero trim.
    for (const bool reverse : {false, true}) {
        const OutputRange r = RemoveTrims(reverse ? OutputEnds{20 + 0.32, 4 - 0.16} : OutputEnds{4 - 0.16, 20 + 0.32},
                                          1, -2, reverse);
        EXPECT_NEAR(r.first, reverse ? 4 : 20, 1e-9);
        EXPECT_NEAR(r.second, reverse ? 20 : 4, 1e-9);
    }
    const OutputRange untrimmed = RemoveTrims({4, 20}, 0, 0, false);
    EXPECT_EQ(std::pair(untrimmed.first, untrimmed.second), std::pair(20.0, 4.0));
}

TEST(TripLevelFromWord, InterpolatesOverTheRangeWhateverTheDirection) {
    EXPECT_DOUBLE_EQ(TripLevelFromWord(2100, 808, 3392, 1000, 0), 500);
    EXPECT_DOUBLE_EQ(TripLevelFromWord(808, 3392, 808, 1000, 0), 1000);
}
