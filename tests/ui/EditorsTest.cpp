// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "ui/model/PointsEditor.h"
#include "device/CustomTable.h"
#include "ui/model/TripsForm.h"

using namespace vantrel::math;
using namespace vantrel::ui;
using vantrel::device::CompleteLoadedCurve;
using vantrel::device::WorkingState;

namespace {

WorkingState Working(int model) {
    WorkingState w;
    w.identity.DeviceModel = model;
    return w;
}

void Type(PointsEditor& e, PointsPage page, int row, const char* input, const char* physical) {
    e.SetText(page, row, PointsBox::Input, input);
    e.SetText(page, row, PointsBox::Physical, physical);
}

}  // namespace

TEST(PointsEditor, CountLimits_DependOnTheModelAndNameTheMaximum) {
    WorkingState w10 = Working(10), w9 = Working(9);
    PointsEditor e10(w10, true, 1), e9(w9, true, 1);
    e10.Open();
    e9.Open();
    EXPECT_FALSE(e10.EnterSensorCount("27").has_value());
    EXPECT_EQ(e10.EnterSensorCount("28")->appended, " 27");
    EXPECT_TRUE(e10.EnterSensorCount("1").has_value());
    EXPECT_EQ(e10.EnterSensorCount("")->textId, 170);
    EXPECT_FALSE(e9.EnterSensorCount("29").has_value());
    const auto cjc = e9.EnterCjcCount("7");
    ASSERT_TRUE(cjc.has_value());
    EXPECT_EQ(cjc->appended, " 6");
    EXPECT_EQ(cjc->page, PointsPage::ColdJunction);
}

TEST(PointsEditor, EvenCount_AddsAHiddenPointThatContinuesTheLastSegment) {
    WorkingState w = Working(9);
    PointsEditor e(w, false, 0);
    e.Open();
    ASSERT_FALSE(e.EnterSensorCount("4").has_value());
    EXPECT_EQ(e.SensorPoints(), 5);
    EXPECT_TRUE(e.SensorRowIsAddedPoint(4));
    Type(e, PointsPage::Sensor, 0, "1", "0");
    Type(e, PointsPage::Sensor, 1, "2", "10");
    Type(e, PointsPage::Sensor, 2, "3", "20");
    Type(e, PointsPage::Sensor, 3, "5", "40");
    ASSERT_FALSE(e.Ok().has_value());
    EXPECT_FLOAT_EQ(w.PtPhysical[4], 41.0f);
    EXPECT_FLOAT_EQ(w.PtInput[4], 5.1f);
    EXPECT_EQ(w.SegmentCount, 4);
    EXPECT_TRUE(w.PointExtra);
    EXPECT_EQ(e.RangeMaxText(), "40");

    // Five points add nothing; the segment count is the same.
    ASSERT_FALSE(e.EnterSensorCount("5").has_value());
    Type(e, PointsPage::Sensor, 4, "6", "50");
    ASSERT_FALSE(e.Ok().has_value());
    EXPECT_FALSE(w.PointExtra);
    EXPECT_FLOAT_EQ(w.PtPhysical[4], 50.0f);
}

TEST(PointsEditor, Validation_RefusesAndStoresNothing) {
    WorkingState w = Working(9);
    w.PtPhysical[0] = 7;  // a previous curve
    w.PtInput[0] = 1;
    w.PtInput[1] = 2;
    w.SensorPoints = 3;
    w.PointExtra = true;
    w.CjcPoints = 2;
    const WorkingState before = w;
    PointsEditor e(w, true, 1);
    e.Open();
    Type(e, PointsPage::Sensor, 0, "1.0", "5");
    Type(e, PointsPage::Sensor, 1, "1.0", "3");  // equal inputs
    auto refusal = e.Ok();
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->textId, 171);
    EXPECT_EQ(refusal->row, 0);
    Type(e, PointsPage::Sensor, 1, "abc", "3");
    EXPECT_EQ(e.Ok()->textId, 169);
    // The first fault in row order wins: rows 0..1 do not rise before row 2 holds no number.
    ASSERT_FALSE(e.EnterSensorCount("3"));
    Type(e, PointsPage::Sensor, 1, "0.5", "3");
    Type(e, PointsPage::Sensor, 2, "abc", "4");
    refusal = e.Ok();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->textId, 171);
    EXPECT_EQ(refusal->row, 0);
    ASSERT_FALSE(e.EnterSensorCount("2"));
    // Physical values may fall; the cold-junction page is checked next.
    Type(e, PointsPage::Sensor, 1, "2", "3");
    Type(e, PointsPage::ColdJunction, 0, "0", "10");
    Type(e, PointsPage::ColdJunction, 1, "1", "71");
    refusal = e.Ok();
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->textId, 152);
    EXPECT_EQ(refusal->page, PointsPage::ColdJunction);
    EXPECT_EQ(refusal->row, 1);
    e.Cancel();
    EXPECT_EQ(w.PtPhysical, before.PtPhysical);
    EXPECT_EQ(w.SensorPoints, before.SensorPoints);
}

TEST(PointsEditor, ColdJunctionLimitsFollowTheUnit) {
    WorkingState w = Working(9);
    PointsEditor e(w, true, 1 | 8);
    e.Open();
    Type(e, PointsPage::Sensor, 0, "0", "0");
    Type(e, PointsPage::Sensor, 1, "10", "100");
    Type(e, PointsPage::ColdJunction, 0, "0", "71");
    Type(e, PointsPage::ColdJunction, 1, "1", "158");
    EXPECT_FALSE(e.Ok().has_value());
    EXPECT_EQ(w.CjcSegmentCount, 1);
    Type(e, PointsPage::ColdJunction, 1, "0", "100");  // inputs must rise too
    EXPECT_EQ(e.Ok()->textId, 171);
}

TEST(PointsEditor, OpenLoadsTheWorkingTablesAndLeavingABoxRewritesItAsSingle) {
    WorkingState w = Working(9);
    w.PtInput = {0, 1, 2, 3, 4};
    w.PtPhysical = {0, 10, 20, 30, 31};
    w.SensorPoints = 5;
    w.PointExtra = true;
    w.CjcPoints = 3;
    PointsEditor e(w, true, 1);
    e.Open();
    EXPECT_EQ(e.SensorCountText(), "4");
    EXPECT_EQ(e.SensorRow(4).physical, "");  // the added row is emptied
    e.SetText(PointsPage::Sensor, 0, PointsBox::Input, "0,1");
    e.LeaveValueBox(PointsPage::Sensor, 0, PointsBox::Input);
    EXPECT_EQ(e.SensorRow(0).input, "0.1");
}

TEST(CompleteLoadedCurve, EvenCountGetsTheAddedPoint_BadCountsChangeNothing) {
    WorkingState w = Working(10);
    w.PtPhysical = {0, 10, 20, 40};
    w.PtInput = {1, 2, 3, 5};
    ASSERT_TRUE(CompleteLoadedCurve(w, 4, 2));
    EXPECT_EQ(w.SensorPoints, 5);
    EXPECT_EQ(w.CjcSegmentCount, 1);
    const WorkingState before = w;
    EXPECT_FALSE(CompleteLoadedCurve(w, 28, 2));
    EXPECT_FALSE(CompleteLoadedCurve(w, 3, 7));
    EXPECT_EQ(w.SensorPoints, before.SensorPoints);
}

TEST(TripsForm, OpenShowsAMinimumTripByItsLowLevel) {
    WorkingState w = Working(10);
    w.TripLevels = {100, 90, 60, 50};
    w.TripFlags = 1 | 4;
    w.TripDelayTicks = 20;
    TripsForm form(w);
    form.Open("0", "200", "°C");
    EXPECT_EQ(form.Threshold(1), "100.0");
    EXPECT_FALSE(form.IsMaximum(2));
    EXPECT_EQ(form.Threshold(2), "50.0");
    EXPECT_EQ(form.Delay(), "1");
    // OK without edits keeps the levels; the mode bits come from the options as loaded.
    ASSERT_FALSE(form.Ok().has_value());
    EXPECT_EQ(w.TripLevels, (std::array<float, 4>{100, 90, 60, 50}));
    EXPECT_EQ(w.TripFlags, 1 | 4);
}

TEST(TripsForm, DelayRoundsHalvesToEvenAndRefusesWhatACellCannotHold) {
    WorkingState w = Working(10);
    TripsForm form(w);
    form.Open("0", "100", "%");
    const std::pair<const char*, float> cases[] = {{"1.0", 20}, {"0.125", 2}, {"0.025", 0}, {"12.75", 255}};
    for (const auto& [text, ticks] : cases) {
        form.Delay() = text;
        ASSERT_FALSE(form.Ok().has_value()) << text;
        EXPECT_EQ(w.TripDelayTicks, ticks) << text;
    }
    form.Delay() = "12.8";
    const auto tooLong = form.Ok();
    ASSERT_TRUE(tooLong.has_value());
    EXPECT_EQ(w.TripDelayTicks, 255);
    form.Delay() = "x";
    EXPECT_EQ(form.Ok()->textId, 169);
}

TEST(Editors, NumbersBeyondWhatTheTablesHold_AreRefusedNotStoredAsZeroOrInfinity) {
    WorkingState w = Working(10);
    w.TripLevels = {80, 70, 30, 20};
    TripsForm form(w);
    form.Open("0", "100", "%");
    using Box = TripsMessage::Box;
    const std::tuple<const char*, const char*, Box> trips[] = {
        {"1e39", "5", Box::Threshold}, {"1e400", "5", Box::Threshold}, {"50", "1e400", Box::Hysteresis},
        {"50", "1e39", Box::Hysteresis}};  // the low level would be beyond a Single
    for (const auto& [threshold, hysteresis, box] : trips) {
        form.Threshold(1) = threshold;
        form.Hysteresis(1) = hysteresis;
        const auto refusal = form.Recompute(1);
        ASSERT_TRUE(refusal.has_value()) << threshold << ' ' << hysteresis;
        EXPECT_EQ(refusal->textId, 169);
        EXPECT_EQ(refusal->box, box) << threshold << ' ' << hysteresis;
        EXPECT_EQ(w.TripLevels, (std::array<float, 4>{80, 70, 30, 20}));
    }
    for (const char* delay : {"1e999", "1e300", "-1e300"}) {
        form.Delay() = delay;
        EXPECT_TRUE(form.Ok().has_value()) << delay;
    }

    PointsEditor editor(w, false, 0);
    editor.Open();
    ASSERT_FALSE(editor.EnterSensorCount("3").has_value());
    Type(editor, PointsPage::Sensor, 0, "0", "0");
    Type(editor, PointsPage::Sensor, 1, "1e39", "1");
    Type(editor, PointsPage::Sensor, 2, "2e39", "2");
    editor.LeaveValueBox(PointsPage::Sensor, 1, PointsBox::Input);
    EXPECT_EQ(editor.SensorRow(1).input, "1e39");  // left for the check, never shown as "Inf"
    EXPECT_EQ(editor.Ok()->row, 1);
}
