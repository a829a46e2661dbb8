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

// The table's error against the sensor curve, in the typed unit, from the range's first value to
// its last: well below a degree for type K on 28 and 26 segments, a real curve (not a line);
// none for linear inputs; the whole bend when a thermocouple is programmed linear.
TEST(PlanPreview, ErrorOfTheTableInTheTypedUnit) {
    PlanRequest linearK = Form(1, 0, 1000, 1);
    linearK.LinearTicked = true;
    const struct {
        PlanRequest form;
        int model;
        const char* unit;
        double first, last, leastError, largestError;
    } cases[] = {
        {Form(1, 0, 1000, 1), 9, "°C", 0, 1000, 0.01, 0.5},  {Form(1, 0, 1000, 1), 10, "°C", 0, 1000, 0.01, 0.5},
        {Form(1, 32, 1832, 1 | 8), 9, "°F", 32, 1832, 0.018, 0.9}, {Form(21, 0, 400), 9, "°C", 0, 400, 0, 0.2},
        {Form(36, 0, 50), 9, "mV", 0, 50, 0, 1e-4},           {Form(31, 0, 100), 9, "%", 0, 100, 0, 1e-4},
        {linearK, 9, "°C", 0, 1000, 5, 100},  // the extra end point is left out
    };
    for (const auto& c : cases) {
        const PlanPreview p = Preview(c.form, Working(c.model));
        SCOPED_TRACE(testing::Message() << "code " << c.form.InputCode << " model " << c.model);
        ASSERT_TRUE(p.available);
        EXPECT_FALSE(p.customCurve || p.noisy || !p.note.empty());
        EXPECT_EQ(p.valueUnit, c.unit);
        EXPECT_NEAR(p.curve.samples.front().value, c.first, 1e-3);
        EXPECT_NEAR(p.curve.samples.back().value, c.last, 1e-2);
        EXPECT_DOUBLE_EQ(std::abs(p.curve.largestError), MaxAbsError(p));
        EXPECT_GE(MaxAbsError(p), c.leastError);
        EXPECT_LT(MaxAbsError(p), c.largestError);
    }
    // The same K range typed in °F: the errors are the °C ones times 1.8.
    EXPECT_NEAR(Preview(Form(1, 32, 1832, 1 | 8), Working()).curve.largestError,
                Preview(Form(1, 0, 1000, 1), Working()).curve.largestError * 1.8, 0.01);
}

TEST(PlanPreview, NarrowRange_SaysWhyInBothLanguages) {
    for (bool answer : {true, false}) {  // refused or accepted, the tables are there to draw
        const PlanPreview p = Preview(Form(3, 0, 100, 1), Working(), kItalian, answer);
        ASSERT_TRUE(p.available && p.noisy);
        EXPECT_LT(p.signalSpan, p.leastQuietSpan);
        EXPECT_EQ(p.note.rfind(vantrel::resources::Text(text::kPreviewNoisyRange, kItalian), 0), 0u);
    }
}

TEST(PlanPreview, RefusedPlan_GivesTheReasonAndNoCurve) {
    const PlanPreview p = Preview(Form(vantrel::math::input::SpecialPlatinum, 0, 800), Working(), kEnglish);
    EXPECT_FALSE(p.available || !p.curve.samples.empty());
    EXPECT_EQ(p.note, "No preview: " + vantrel::resources::Text(text::kInputNotProgrammable, kEnglish));
    // A resistance input needs the factory block: without it the plan refuses.
    const ProgramPlan plan = MakeProgramPlan(Form(51, 0, 400), Working(), ProgramDeviceData{}, [] { return true; });
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
    w.CustomActive = true, w.SensorPoints = 9, w.SegmentCount = 8, w.PointExtra = false;
    const PlanPreview p = Preview(Form(51, 0, 400), w);
    ASSERT_TRUE(p.available && p.customCurve);
    // At the points themselves the table is the user's table.
    for (std::size_t i = 0; i < p.curve.samples.size(); i += vantrel::math::kPreviewSamplesPerSegment)
        EXPECT_NEAR(p.curve.samples[i].error, 0, 1e-3);
    EXPECT_NEAR(p.curve.samples.back().value, 400, 1e-3);

    const std::string csv = PreviewCsv(p);
    EXPECT_EQ(csv.rfind("value (Ohm),reference signal (mV),table signal (mV),error (Ohm)\n", 0), 0u);
    EXPECT_EQ(static_cast<std::size_t>(std::count(csv.begin(), csv.end(), '\n')), p.curve.samples.size() + 1);
}
