// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The trend model: the time window, the bounded ring, decimation for drawing, the axis ends
// and the reference lines.
#include <gtest/gtest.h>

#include <algorithm>

#include "device/Describe.h"
#include "measure/Trend.h"

namespace vantrel::measure {
namespace {

// Ten samples a second from t0, value = index (a ramp), output = index / 10.
void AddRamp(TrendModel& model, int count, double t0 = 1000) {
    for (int i = 0; i < count; ++i) model.Add({t0 + i * 0.1, static_cast<double>(i), i / 10.0});
}

TEST(TrendModel, KeepsOnlyTheLastWindowBehindTheNewestSample) {
    TrendModel model(60, 4096);
    AddRamp(model, 1200);  // two minutes
    const std::vector<TrendSample> samples = model.Samples();
    ASSERT_FALSE(samples.empty());
    EXPECT_DOUBLE_EQ(samples.back().value, 1199);
    EXPECT_GE(samples.front().time, samples.back().time - 60 - 1e-9);
    EXPECT_NEAR(static_cast<double>(samples.size()), 601, 1);
    EXPECT_TRUE(std::is_sorted(samples.begin(), samples.end(),
                               [](const TrendSample& a, const TrendSample& b) { return a.time < b.time; }));
}

TEST(TrendModel, AFullRingDropsTheOldest_AClockGoingBackStartsAfresh) {
    TrendModel model(3600, 100);
    AddRamp(model, 150);
    EXPECT_EQ(model.size(), 100u);
    EXPECT_DOUBLE_EQ(model.Samples().front().value, 50);
    EXPECT_DOUBLE_EQ(model.newest().value, 149);

    model.Add({10, -1, 0});  // earlier than everything held
    ASSERT_EQ(model.size(), 1u);
    EXPECT_DOUBLE_EQ(model.newest().value, -1);
}

TEST(TrendModel, Decimation_BoundedInTimeOrderAndKeepsExtremes) {
    TrendModel model(300, 4096);
    for (int i = 0; i < 3000; ++i) {
        double value = 100;
        if (i == 1234) value = 900;  // one frame's spike
        if (i == 2345) value = -50;  // and one dip
        model.Add({i * 0.1, value, 4});
    }
    const std::vector<TrendSample> drawn = model.Decimated(200);
    EXPECT_LE(drawn.size(), 200u);
    EXPECT_GE(drawn.size(), 100u);
    EXPECT_TRUE(std::is_sorted(drawn.begin(), drawn.end(),
                               [](const TrendSample& a, const TrendSample& b) { return a.time < b.time; }));
    const auto [low, high] = std::minmax_element(drawn.begin(), drawn.end(),
                                                 [](const TrendSample& a, const TrendSample& b) { return a.value < b.value; });
    EXPECT_DOUBLE_EQ(low->value, -50);
    EXPECT_DOUBLE_EQ(high->value, 900);
    EXPECT_DOUBLE_EQ(drawn.front().time, model.Samples().front().time);

    // Fewer samples than points: all of them, untouched.
    TrendModel small;
    AddRamp(small, 30);
    EXPECT_EQ(small.Decimated(200).size(), 30u);
}

TEST(TrendModel, DecimationAcrossAGapInTheStream) {
    TrendModel model(300, 4096);
    AddRamp(model, 500, 0);      // 0 .. 50 s
    AddRamp(model, 500, 200);    // 200 .. 250 s, after a silent stretch
    const std::vector<TrendSample> drawn = model.Decimated(100);
    EXPECT_LE(drawn.size(), 100u);
    EXPECT_DOUBLE_EQ(drawn.back().value, 499);
    EXPECT_TRUE(std::none_of(drawn.begin(), drawn.end(),
                             [](const TrendSample& s) { return s.time > 50 && s.time < 200; }));
    // The line breaks once, at the first sample drawn after the silence.
    const auto gaps = std::count_if(drawn.begin(), drawn.end(), [](const TrendSample& s) { return s.afterGap; });
    EXPECT_EQ(gaps, 1);
    EXPECT_GE(std::find_if(drawn.begin(), drawn.end(), [](const TrendSample& s) { return s.afterGap; })->time, 200);

    // A frame without a defined value between two samples breaks the line too.
    TrendModel marked;
    marked.Add({0, 1, 4});
    marked.MarkGap();
    marked.Add({0.1, 2, 5});
    marked.Add({0.2, 3, 6});
    const std::vector<TrendSample> samples = marked.Samples();
    EXPECT_EQ((std::vector<bool>{samples[0].afterGap, samples[1].afterGap, samples[2].afterGap}),
              (std::vector<bool>{false, true, false}));
}

TEST(TrendModel, ValueAxisCoversSamplesAndReferences_OutputAxisLinesUp) {
    TrendModel model;
    // A flat trace alone still gets a band around it.
    model.Add({0, 250, 8});
    AxisExtent flat = model.ValueExtent();
    EXPECT_LT(flat.low, 250);
    EXPECT_GT(flat.high, 250);

    TrendReferences r;
    r.rangeBottom = 0;
    r.rangeTop = 1000;
    r.trip1 = 1100;  // a trip level beyond the range is still on the chart
    r.outputAtBottom = 4;
    r.outputAtTop = 20;
    model.SetReferences(r);
    const AxisExtent values = model.ValueExtent();
    EXPECT_LT(values.low, 0);
    EXPECT_GT(values.high, 1100);
    const AxisExtent output = model.OutputExtent();
    EXPECT_FALSE(output.reversed);
    EXPECT_NEAR(output.low, 4 + values.low * 0.016, 1e-9);
    EXPECT_NEAR(output.high, 4 + values.high * 0.016, 1e-9);

    // Reverse output: 20 mA at the bottom of the range, the output axis runs downwards.
    r.outputAtBottom = 20;
    r.outputAtTop = 4;
    model.SetReferences(r);
    const AxisExtent reversed = model.OutputExtent();
    EXPECT_TRUE(reversed.reversed);
    EXPECT_NEAR(reversed.high, 20 - values.low * 0.016, 1e-9);
}

TEST(TrendReferences, FromTheScaleAndTheTripsOfTheWorkingState) {
    Scale scale;
    scale.outputLow = 4;
    scale.outputHigh = 20;
    scale.rangeBottom = -50;
    scale.rangeTop = 150;
    device::WorkingState state;
    state.identity.DeviceModel = 10;
    state.TripLevels = {120, 117, 10, 12};  // trip 1 high/low, trip 2 high/low
    state.TripFlags = device::kTrip2MinimumBit;
    TrendReferences r = ReferencesFor(scale, false, state);
    EXPECT_EQ(r.rangeBottom, -50);
    EXPECT_EQ(r.outputAtBottom, 4);
    EXPECT_EQ(r.trip1, 120);  // a maximum trip switches at its high level
    EXPECT_EQ(r.trip2, 12);   // a minimum trip at its low level
    EXPECT_EQ(ReferencesFor(scale, true, state).outputAtBottom, 20);

    state.identity.DeviceModel = 9;  // no trips on this model
    r = ReferencesFor(scale, false, state);
    EXPECT_FALSE(r.trip1);
    EXPECT_FALSE(r.trip2);
}

}  // namespace
}  // namespace vantrel::measure
