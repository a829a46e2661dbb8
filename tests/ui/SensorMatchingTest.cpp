// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math/CallendarVanDusen.h"
#include "device/CustomTable.h"
#include "ui/model/PointsCsv.h"
#include "math/SensorCurves.h"

using namespace vantrel::math;
using namespace vantrel::ui;
using vantrel::device::CompleteLoadedCurve;
using vantrel::device::WorkingState;

namespace {

// IEC 751 coefficients of the standard platinum curve (alpha 0.00385).
CvdCoefficients Iec751(double r0) { return {r0, 3.90802e-3, -5.802e-7, -4.2735e-12}; }

WorkingState Working(int model) {
    WorkingState w;
    w.identity.DeviceModel = model;
    return w;
}

}  // namespace

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

TEST(PointsCsv, ExportThenImport_GivesTheEditorTheSameTable) {
    WorkingState w = Working(9);
    PointsEditor editor(w, false, 0);
    editor.Open();
    const CvdCurve curve = GenerateCvdCurve(Iec751(100), 0, 400, 9, editor.MaxPoints());
    std::vector<CsvPoint> points;
    for (const CvdPoint& p : curve.points) points.push_back({p.input, p.physical});
    ASSERT_FALSE(PutPointsInEditor(editor, points).has_value());

    std::vector<CsvPoint> exported;
    ASSERT_FALSE(EditorPoints(editor, exported).has_value());
    const std::string csv = WritePointsCsv(exported);

    WorkingState w2 = Working(9);
    PointsEditor second(w2, false, 0);
    second.Open();
    const CsvPoints imported = ParsePointsCsv(csv);
    ASSERT_TRUE(imported.ok());
    ASSERT_FALSE(PutPointsInEditor(second, imported.points).has_value());
    for (int row = 0; row < 9; ++row) {
        EXPECT_EQ(second.SensorRow(row).input, editor.SensorRow(row).input);
        EXPECT_EQ(second.SensorRow(row).physical, editor.SensorRow(row).physical);
    }
    // The editor's own OK accepts and stores the generated table.
    ASSERT_FALSE(second.Ok().has_value());
    EXPECT_FLOAT_EQ(w2.PtPhysical[8], 400);
    EXPECT_EQ(w2.SegmentCount, 8);
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
