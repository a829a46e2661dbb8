// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "math/LinearisationPreview.h"

using namespace vantrel::math;

namespace {

PreviewTable Table(const std::vector<float>& values, const std::vector<float>& signals, int inRange) {
    return PreviewTable{values, signals, inRange};
}

const auto kLine = [](double v) { return v; };

}  // namespace

TEST(LinearisationPreview, StraightSensor_HasNoErrorAnywhere) {
    const std::vector<float> values = {0, 25, 50, 75, 100}, signals = {0, 5, 10, 15, 20};
    const auto preview = PreviewAgainstCurve(Table(values, signals, 4), [](double v) { return v / 5; });
    ASSERT_TRUE(preview.valid);
    EXPECT_EQ(preview.samples.size(), 4u * kPreviewSamplesPerSegment + 1);  // shared ends counted once
    EXPECT_DOUBLE_EQ(preview.samples.front().value, 0);
    EXPECT_DOUBLE_EQ(preview.samples.back().value, 100);
    for (const auto& s : preview.samples) {
        EXPECT_NEAR(s.error, 0, 1e-9);
        EXPECT_NEAR(s.referenceSignal, s.tableSignal, 1e-9);
    }
}

TEST(LinearisationPreview, CurvedSensor_LargestErrorIsMidSegmentOfTheSteepestBend) {
    // Signal v² tabled at 0, 5, 10: the table reads v²/5 in the first segment (error -1.25
    // at 2.5) and 5 + (v² - 25)/15 in the second (error -5/12 at 7.5).
    const std::vector<float> values = {0, 5, 10}, signals = {0, 25, 100};
    const auto preview = PreviewAgainstCurve(Table(values, signals, 2), [](double v) { return v * v; });
    ASSERT_TRUE(preview.valid);
    EXPECT_NEAR(preview.largestError, -1.25, 1e-9);
    EXPECT_NEAR(preview.largestErrorAt, 2.5, 1e-9);
    for (const auto& s : preview.samples) EXPECT_LE(s.error, 1e-9);  // a convex curve read through chords reads low
    const auto& secondPeak = preview.samples[kPreviewSamplesPerSegment * 3 / 2];
    EXPECT_NEAR(secondPeak.value, 7.5, 1e-9);
    EXPECT_NEAR(secondPeak.error, -5.0 / 12.0, 1e-9);
}

TEST(LinearisationPreview, ExtraEndPointAndValuesWithoutSignal_AreLeftOut) {
    const std::vector<float> values = {0, 10, 20, 20.5f}, signals = {0, 1, 2, 2.05f};
    // Only two segments lie in the range; the sensor has no value below 5.
    const auto preview = PreviewAgainstCurve(Table(values, signals, 2), [](double v) -> std::optional<double> {
        if (v < 5) return std::nullopt;
        return v / 10;
    });
    ASSERT_TRUE(preview.valid);
    EXPECT_GE(preview.samples.front().value, 5);
    EXPECT_DOUBLE_EQ(preview.samples.back().value, 20);
}

TEST(LinearisationPreview, UnusableTables_GiveNoPreview) {
    const std::vector<float> two = {0, 1};
    // One point; sizes differ; more segments than points; none; no signal span; not a number.
    for (const auto& [values, signals, segments] :
         {std::tuple{std::vector<float>{0}, std::vector<float>{0}, 1}, {two, {0, 1, 2}, 1}, {two, two, 2},
          {two, two, 0}, {two, {1, 1}, 1}, {two, {0, NAN}, 1}})
        EXPECT_FALSE(PreviewAgainstCurve(Table(values, signals, segments), kLine).valid) << segments;
    EXPECT_FALSE(PreviewAgainstCurve(Table(two, two, 1), ReferenceSignal{}).valid);
}

TEST(LinearisationPreview, TableValueAt_InterpolatesExtendsAndSkipsFlatSegments) {
    // A flat middle segment; beyond the ends the end segments are extended; a falling table.
    const std::vector<float> values = {0, 10, 20, 30}, signals = {0, 1, 1, 3};
    for (const auto& [signal, value] : {std::pair{0.5, 5.0}, {2.0, 25.0}, {-1.0, -10.0}, {5.0, 40.0}})
        EXPECT_NEAR(*TableValueAt(values, signals, signal), value, 1e-9) << signal;
    const std::vector<float> falling = {0, 10}, fallingSignals = {2, 1};
    EXPECT_NEAR(*TableValueAt(falling, fallingSignals, 1.5), 5, 1e-9);
    EXPECT_NEAR(*TableValueAt(falling, fallingSignals, 0), 20, 1e-9);
}

TEST(LinearisationPreview, AgainstPoints_StraightBetweenPointsInTheInputUnit) {
    // Physical values may fall: a reverse-acting custom curve.
    const std::vector<float> physical = {100, 50, 0}, input = {0, 10, 20};
    auto preview = PreviewAgainstPoints(Table(physical, input, 2), physical, input, kLine);
    ASSERT_TRUE(preview.valid);
    for (const auto& s : preview.samples) EXPECT_NEAR(s.error, 0, 1e-9);

    // A converter that squares the input: the table is straight in the squared signal, the
    // user's line is straight in the input, so they part between the points only.
    const std::vector<float> squared = {0, 100, 400};
    preview = PreviewAgainstPoints(Table(physical, squared, 2), physical, input, [](double x) { return x * x; });
    ASSERT_TRUE(preview.valid);
    EXPECT_NEAR(preview.samples.front().error, 0, 1e-9);
    EXPECT_NEAR(preview.samples[kPreviewSamplesPerSegment].error, 0, 1e-9);
    EXPECT_GT(std::abs(preview.largestError), 1);
}
