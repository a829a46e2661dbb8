// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "PlanFixtures.h"
#include "device/PlanPreview.h"
#include "math/CallendarVanDusen.h"
#include "math/InputCodes.h"
#include "resources/StringTable.h"

using namespace vantrel::device;
namespace text = vantrel::resources::text;

namespace {

constexpr int kItalian = 0;
constexpr int kEnglish = 300;

using vantrel::test::Form;
using vantrel::test::SampleDevice;

WorkingState Working(int model = 9) {
    WorkingState w;
    w.identity = {3, model, 5, 1};
    return w;
}

PlanPreview Preview(const PlanRequest& form, const WorkingState& working, int language = kEnglish,
                    bool answer = true) {
    const ProgramPlan plan = MakeProgramPlan(form, working, SampleDevice(), [answer] { return answer; });
    return PreviewPlan(plan, form.InputCode, form.OptionWord, working, language);
}

double MaxAbsError(const PlanPreview& p) {
    double worst = 0;
    for (const auto& s : p.curve.samples) worst = std::max(worst, std::abs(s.error));
    return worst;
}

}  // namespace

TEST(PlanPreview, TypeK0To1000_StaysWellBelowOneDegree) {
    for (int model : {9, 10}) {  // 28 and 26 segments
        const PlanPreview p = Preview(Form(1, 0, 1000, 1), Working(model));
        ASSERT_TRUE(p.available);
        EXPECT_FALSE(p.customCurve);
        EXPECT_FALSE(p.noisy);
        EXPECT_TRUE(p.note.empty());
        EXPECT_EQ(p.valueUnit, "°C");
        EXPECT_LT(std::abs(p.curve.largestError), 0.5) << model;
        EXPECT_GT(std::abs(p.curve.largestError), 0.01) << model;  // a real curve, not a line
        EXPECT_DOUBLE_EQ(std::abs(p.curve.largestError), MaxAbsError(p));
        EXPECT_NEAR(p.curve.samples.front().value, 0, 1e-6);
        EXPECT_NEAR(p.curve.samples.back().value, 1000, 1e-3);
    }
}

TEST(PlanPreview, RtdAndFahrenheit_SpeakTheTypedUnit) {
    const PlanPreview c = Preview(Form(21, 0, 400, 0), Working());
    ASSERT_TRUE(c.available);
    EXPECT_EQ(c.signalUnit, "mV");
    EXPECT_LT(std::abs(c.curve.largestError), 0.2);

    // The same K range typed in °F: values and errors come back in °F.
    const PlanPreview k = Preview(Form(1, 0, 1000, 1), Working());
    const PlanPreview f = Preview(Form(1, 32, 1832, 1 | 8), Working());
    ASSERT_TRUE(f.available);
    EXPECT_EQ(f.valueUnit, "°F");
    EXPECT_NEAR(f.curve.samples.front().value, 32, 1e-3);
    EXPECT_NEAR(f.curve.samples.back().value, 1832, 1e-2);
    EXPECT_NEAR(f.curve.largestError, k.curve.largestError * 1.8, 0.01);
}

TEST(PlanPreview, LinearInputs_HaveNoError) {
    const PlanPreview volts = Preview(Form(36, 0, 50), Working());
    ASSERT_TRUE(volts.available);
    EXPECT_LT(MaxAbsError(volts), 1e-4);
    const PlanPreview pot = Preview(Form(31, 0, 100), Working());
    ASSERT_TRUE(pot.available);
    EXPECT_EQ(pot.valueUnit, "%");
    EXPECT_NEAR(pot.curve.samples.back().value, 100, 1e-4);
    EXPECT_LT(MaxAbsError(pot), 1e-4);
}

TEST(PlanPreview, LinearProgrammingOfAThermocouple_ShowsTheWholeBend) {
    PlanRequest form = Form(1, 0, 1000, 1);
    form.LinearTicked = true;
    const PlanPreview p = Preview(form, Working());
    ASSERT_TRUE(p.available);
    EXPECT_NEAR(p.curve.samples.back().value, 1000, 1e-3);  // the extra end point is left out
    EXPECT_GT(std::abs(p.curve.largestError), 5);
}

TEST(PlanPreview, NarrowRange_SaysWhyInBothLanguages) {
    for (bool answer : {true, false}) {  // refused or accepted, the tables are there to draw
        const PlanPreview p = Preview(Form(3, 0, 100, 1), Working(), kItalian, answer);
        ASSERT_TRUE(p.available);
        EXPECT_TRUE(p.noisy);
        EXPECT_LT(p.signalSpan, p.leastQuietSpan);
        EXPECT_EQ(p.note.rfind(vantrel::resources::Text(text::kPreviewNoisyRange, kItalian), 0), 0u);
    }
    const PlanPreview en = Preview(Form(3, 0, 100, 1), Working(), kEnglish);
    EXPECT_NE(en.note.find("Signal span:"), std::string::npos);
    EXPECT_NE(en.note.find(" mV"), std::string::npos);
}

TEST(PlanPreview, RefusedPlan_GivesTheReasonAndNoCurve) {
    const PlanPreview p = Preview(Form(vantrel::math::input::SpecialPlatinum, 0, 800), Working(), kEnglish);
    EXPECT_FALSE(p.available);
    EXPECT_TRUE(p.curve.samples.empty());
    EXPECT_EQ(p.note, "No preview: " + vantrel::resources::Text(text::kInputNotProgrammable, kEnglish));

    // A resistance input needs the factory block: without it the plan refuses.
    const PlanRequest ohms = Form(51, 0, 400);
    const ProgramPlan plan = MakeProgramPlan(ohms, Working(), ProgramDeviceData{}, [] { return true; });
    const PlanPreview q = PreviewPlan(plan, 51, 0, Working(), kEnglish);
    EXPECT_FALSE(q.available);
    EXPECT_NE(q.note.find(vantrel::resources::Text(text::kCalibrationInvalid, kEnglish)), std::string::npos);
}

TEST(PlanPreview, CustomCurve_IsComparedWithTheUsersPoints) {
    // A characterised Pt100 entered as a resistance input: 9 points from 0 to 400 °C.
    WorkingState w = Working();
    const auto curve = vantrel::math::GenerateCvdCurve({100, 3.9083e-3, -5.775e-7, 0}, 0, 400, 9, 29);
    ASSERT_EQ(curve.points.size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        w.PtInput[i] = static_cast<float>(curve.points[i].input);
        w.PtPhysical[i] = static_cast<float>(curve.points[i].physical);
    }
    w.CustomActive = true;
    w.SensorPoints = 9;
    w.SegmentCount = 8;
    w.PointExtra = false;
    const PlanPreview p = Preview(Form(51, 0, 400), w);
    ASSERT_TRUE(p.available);
    EXPECT_TRUE(p.customCurve);
    // At the points themselves the table is the user's table.
    for (std::size_t i = 0; i < p.curve.samples.size(); i += vantrel::math::kPreviewSamplesPerSegment)
        EXPECT_NEAR(p.curve.samples[i].error, 0, 1e-3);
    EXPECT_NEAR(p.curve.samples.back().value, 400, 1e-3);

    const std::string csv = PreviewCsv(p);
    EXPECT_EQ(csv.rfind("value (Ohm),reference signal (mV),table signal (mV),error (Ohm)\n", 0), 0u);
    EXPECT_EQ(static_cast<std::size_t>(std::count(csv.begin(), csv.end(), '\n')), p.curve.samples.size() + 1);
}
