// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <tuple>

#include "Fakes.h"
#include "device/CustomTable.h"
#include "math/CallendarVanDusen.h"
#include "math/SensorCurves.h"
#include "ui/model/PointsCsv.h"
#include "ui/model/PointsEditor.h"
#include "ui/model/SerialNumberWindow.h"
#include "ui/model/TripsForm.h"

using namespace vantrel::math;
using namespace vantrel::ui;
using vantrel::device::CompleteLoadedCurve;
using vantrel::device::WorkingState;
namespace device = vantrel::device;
namespace test = vantrel::ui::test;

namespace {

// IEC 751 coefficients of the standard platinum curve (alpha 0.00385).
CvdCoefficients Iec751(double r0) { return {r0, 3.90802e-3, -5.802e-7, -4.2735e-12}; }

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
    // OK without edits keeps the levels and the mode bits as loaded.
    ASSERT_FALSE(form.Ok().has_value());
    EXPECT_EQ(w.TripLevels, (std::array<float, 4>{100, 90, 60, 50}));
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

TEST(SerialNumberWindow, ShowsStoredRecordWithTwoDigitYear_Locked) {
    device::SerialNumber stored{12, 0, 91, 528};
    SerialNumberWindow window(stored);
    window.Open();
    EXPECT_EQ(window.yearText, "05");
    EXPECT_EQ(window.progressiveText, "528");
    EXPECT_FALSE(window.editing);
    EXPECT_FALSE(window.writeButtonVisible);
    window.ReadFinished(false);  // a failed read shows zeros until the window closes
    EXPECT_EQ(window.yearText, "0");
    window.Close();
    EXPECT_EQ(window.yearText, "05");
}

TEST(SerialNumberWindow, FieldOutOfRange_ShowsItalianMessageAndRestoresOnlyThatField) {
    device::SerialNumber stored{12, 5, 91, 528};
    SerialNumberWindow window(stored);
    window.Open();
    test::ScriptedDialogs dialogs;
    window.yearText = "21";
    window.orderText = "100";
    window.LeaveField(SerialField::Year, dialogs);
    EXPECT_EQ(dialogs.shown.at(0).text, "L'anno deve essere compreso tra 05 (2005) e 20 (2020)");
    EXPECT_EQ(window.yearText, "10");
    EXPECT_EQ(window.orderText, "100");

    struct Case {
        SerialField field;
        const char* bad;
        const char* good;
    };
    // A number too large for a Double is refused, not read as 0.
    for (const Case c : {Case{SerialField::Customer, "256", "255"}, Case{SerialField::Order, "128", "0"},
                         Case{SerialField::Progressive, "8001", "8000"}, Case{SerialField::Year, "4", "20"},
                         Case{SerialField::Customer, "1e999", "0"}, Case{SerialField::Order, "-1e999", "0"}}) {
        window.FieldText(c.field) = c.bad;
        EXPECT_TRUE(window.LeaveField(c.field).has_value()) << c.bad;
        window.FieldText(c.field) = c.good;
        EXPECT_FALSE(window.LeaveField(c.field).has_value()) << c.good;
    }
}

TEST(CallendarVanDusen, Iec751Coefficients_ReproduceThePt100Curve) {
    for (double t = -200; t <= 850; t += 12.5) {
        EXPECT_NEAR(CvdResistance(Iec751(100), t), *SensorSignal(t, 21, 1), 0.001) << t;
        EXPECT_NEAR(CvdResistance(Iec751(1000), t), *SensorSignal(t, 22, 10), 0.01) << t;
    }
    EXPECT_DOUBLE_EQ(CvdResistance(Iec751(100), 0), 100);
}

TEST(CallendarVanDusen, AlphaBetaDelta_ConvertToABC) {
    // alpha 0.00385055, delta 1.4999, beta 0.10863: the classic IEC 751 set.
    const CvdCoefficients c = CvdFromAlphaBetaDelta(100, 0.00385055, 0.10863, 1.4999);
    EXPECT_NEAR(c.A, 3.9083e-3, 1e-7);
    EXPECT_NEAR(c.B, -5.775e-7, 1e-9);
    EXPECT_NEAR(c.C, -4.183e-12, 1e-14);
    // Beta only bends the curve below 0 °C.
    const CvdCoefficients noBeta = CvdFromAlphaBetaDelta(100, 0.00385055, 0, 1.4999);
    EXPECT_DOUBLE_EQ(CvdResistance(c, 300), CvdResistance(noBeta, 300));
}

TEST(CallendarVanDusen, Curve_SpreadsThePointsAndRefusesWhatTheEditorCannotTake) {
    const CvdCurve curve = GenerateCvdCurve(Iec751(100), -50, 250, 7, 29);
    ASSERT_EQ(curve.problem, CvdProblem::None);
    ASSERT_EQ(curve.points.size(), 7u);
    EXPECT_DOUBLE_EQ(curve.points[2].physical, 50);
    EXPECT_DOUBLE_EQ(curve.points.back().physical, 250);
    EXPECT_NEAR(curve.points[2].input, *SensorSignal(50, 21, 1), 1e-9);

    EXPECT_EQ(GenerateCvdCurve(Iec751(100), 0, 100, 28, 27).problem, CvdProblem::BadCount);
    EXPECT_EQ(GenerateCvdCurve(Iec751(100), 100, 100, 5, 29).problem, CvdProblem::BadRange);
    EXPECT_EQ(GenerateCvdCurve({100, std::numeric_limits<double>::quiet_NaN(), 0, 0}, 0, 100, 5, 29).problem, CvdProblem::BadCoefficients);
    // A negative A makes the resistance fall: no table the transmitter can use.
    EXPECT_EQ(GenerateCvdCurve({100, -3.9e-3, 0, 0}, 0, 100, 5, 29).problem, CvdProblem::NotRising);
}

TEST(PointsCsv, ReadsBothSeparatorsAndDecimalMarks) {
    // A header (with a byte-order mark) or none, blank lines, a final newline or none.
    for (const char* text : {"input,physical\r\n0.5,-10\r\n1.25,20.5\r\n\r\n",
                             "\xEF\xBB\xBFIngresso;Fisico\n0,5;-10\n1,25 ; 20,5;\n", "0.5,-10\n1.25,20.5"}) {
        const auto csv = ParsePointsCsv(text);
        ASSERT_TRUE(csv.ok()) << text;
        ASSERT_EQ(csv.points.size(), 2u) << text;
        EXPECT_DOUBLE_EQ(csv.points[0].input, 0.5) << text;
        EXPECT_DOUBLE_EQ(csv.points[1].physical, 20.5) << text;
    }
}

TEST(PointsCsv, BadFiles_NameTheLine) {
    EXPECT_EQ(ParsePointsCsv("input,physical\n1,2\nabc,3\n").badLine, 3);
    EXPECT_EQ(ParsePointsCsv("input,physical\n1,2,3\n").badLine, 2);      // three columns
    EXPECT_EQ(ParsePointsCsv("input,physical\n1,5,20\n").badLine, 2);     // decimal comma with comma columns
    EXPECT_EQ(ParsePointsCsv("input,physical\n1\n").badLine, 2);
    EXPECT_EQ(ParsePointsCsv("input,physical\n").badLine, 2);             // header only
    EXPECT_EQ(ParsePointsCsv("").badLine, 1);
    EXPECT_EQ(ParsePointsCsv("a,b\nc,d\n").badLine, 2);                   // one header only
    EXPECT_EQ(ParsePointsCsv("x,y\n1,inf\n").badLine, 2);
    EXPECT_EQ(ParsePointsCsv("x,y\n1,1e999\n").badLine, 2);                // beyond a Double: not 0
    EXPECT_EQ(ParsePointsCsv("x,y\n1e39,1\n").badLine, 2);                 // beyond the editor's Singles
}

// A generated table goes into the editor through the CSV text, and the editor's OK stores it
// (the file round trip is the points editor dialog's test).
TEST(PointsCsv, AGeneratedTableWrittenAndReadBack_IsAcceptedByTheEditor) {
    WorkingState w = Working(9);
    PointsEditor editor(w, false, 0);
    editor.Open();
    std::vector<CsvPoint> points;
    for (const CvdPoint& p : GenerateCvdCurve(Iec751(100), 0, 400, 9, editor.MaxPoints()).points)
        points.push_back({p.input, p.physical});
    const CsvPoints read = ParsePointsCsv(WritePointsCsv(points));
    ASSERT_TRUE(read.ok());
    ASSERT_FALSE(PutPointsInEditor(editor, read.points).has_value());
    ASSERT_FALSE(editor.Ok().has_value());
    EXPECT_FLOAT_EQ(w.PtPhysical[8], 400);
    EXPECT_EQ(w.SegmentCount, 8);
}

TEST(PointsCsv, TooManyPointsOrBadBoxes_ChangeNothingAndSayWhy) {
    WorkingState w = Working(10);
    PointsEditor editor(w, false, 0);
    editor.Open();
    editor.SetText(PointsPage::Sensor, 0, PointsBox::Input, "1");
    editor.SetText(PointsPage::Sensor, 0, PointsBox::Physical, "2");
    std::vector<CsvPoint> many(28, CsvPoint{1, 1});
    const auto refused = PutPointsInEditor(editor, many);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->appended, " 27");
    EXPECT_EQ(editor.SensorRow(0).input, "1");

    // Export refuses a box that does not hold a number, and says which.
    editor.SetText(PointsPage::Sensor, 1, PointsBox::Input, "3");
    editor.SetText(PointsPage::Sensor, 1, PointsBox::Physical, "x");
    std::vector<CsvPoint> out = {{7, 7}};
    const auto bad = EditorPoints(editor, out);
    ASSERT_TRUE(bad.has_value());
    EXPECT_EQ(bad->row, 1);
    EXPECT_EQ(bad->box, PointsBox::Physical);
    EXPECT_EQ(out.size(), 1u);

    // Falling input values go in, and the editor's OK refuses them as it refuses typing.
    ASSERT_FALSE(PutPointsInEditor(editor, {{2, 0}, {1, 10}, {3, 20}}).has_value());
    EXPECT_EQ(editor.Ok()->textId, 171);
}
