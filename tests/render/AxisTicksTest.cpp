// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/AxisTicks.h"

namespace vantrel::render {
namespace {

TEST(TickStep, OneTwoTwoAndAHalfOrFiveTimesAPowerOfTen) {
    struct Case {
        double span;
        int intervals;
        double step;
    };
    for (const Case& c : std::vector<Case>{{1000, 5, 200}, {1100, 5, 250}, {16, 5, 5}, {0.05, 5, 0.01},
                                           {12, 5, 2.5}, {1000, 7, 200}, {0, 5, 1}, {-10, 5, 2}})
        EXPECT_DOUBLE_EQ(TickStep(c.span, c.intervals), c.step) << c.span << " / " << c.intervals;
}

TEST(TickLabels, WrittenWithTheStepsDecimals_ZeroAlwaysAsZero) {
    EXPECT_EQ(TickDecimals(2.5), 1);
    EXPECT_EQ(TickDecimals(0.25), 2);
    EXPECT_EQ(TickDecimals(200), 0);
    EXPECT_EQ(TickLabel(-0.0000001, 1), "0");
    EXPECT_EQ(TickLabel(2.5, 1), "2.5");
    EXPECT_EQ(TickLabel(-7.5, 2), "-7.50");
}

TEST(RoundTicks, EndsOnMultiplesOfTheStep_AndEveryLabelReadsItsValue) {
    struct Case {
        double low, high;
        bool symmetric;
        std::vector<std::string> labels;
    };
    const std::vector<Case> cases = {
        {0.3, 41.2, false, {"0", "10", "20", "30", "40", "50"}},
        {-0.6, 0.2, true, {"-0.75", "-0.50", "-0.25", "0", "0.25", "0.50", "0.75"}},
        {-3e-17, 1.0, false, {"0", "0.2", "0.4", "0.6", "0.8", "1.0"}},  // a rounding residue is zero
        {5, 5, false, {"4.94", "4.96", "4.98", "5.00", "5.02", "5.04", "5.06"}},  // a flat extent gets a band
    };
    for (const Case& c : cases) {
        const AxisTicks ticks = RoundTicks(c.low, c.high, 5, c.symmetric);
        EXPECT_EQ(ticks.labels, c.labels) << c.low << ".." << c.high;
        EXPECT_LE(ticks.low, c.low + 1e-9);
        EXPECT_GE(ticks.high, c.high - 1e-9);
    }
}

TEST(InnerTicks, KeepTheEndsAndTickInsideThem) {
    const AxisTicks ticks = InnerTicks(3.2, 18.7, 7);
    EXPECT_DOUBLE_EQ(ticks.low, 3.2);
    EXPECT_DOUBLE_EQ(ticks.high, 18.7);
    EXPECT_EQ(ticks.labels, (std::vector<std::string>{"5.0", "7.5", "10.0", "12.5", "15.0", "17.5"}));
    EXPECT_TRUE(InnerTicks(1, 1).values.empty());
}

}  // namespace
}  // namespace vantrel::render
