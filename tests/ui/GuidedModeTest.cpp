// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "Fakes.h"

using namespace vantrel;
using namespace vantrel::ui;
using test::FormFixture;

namespace {

std::vector<int> Walk(ProgramForm& form) {
    std::vector<int> steps;
    form.guide().Start();
    steps.push_back(form.guide().step);
    while (form.guide().running) {
        form.guide().Next();
        if (form.guide().running) steps.push_back(form.guide().step);
    }
    return steps;
}

int VisibleMarkers(const GuidedMode& guide) {
    int count = 0;
    for (const GuideMarker& m : guide.markers) count += m.visible ? 1 : 0;
    return count;
}

}  // namespace

TEST(GuidedMode, ProgrammingPaths_SkipWhatTheFamilyHasNot) {
    const std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    const std::pair<int, std::vector<int>> cases[] = {
        {0, all},
        {1, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},  // RTD: no thermocouple type
        {2, {0, 1, 5, 6, 7, 8, 9, 10, 11, 12, 13}},        // potentiometer
    };
    for (const auto& [family, steps] : cases) {
        FormFixture f;
        f.form.ChooseMode(Mode::Programming);
        f.form.ChooseFamily(family);
        EXPECT_EQ(Walk(f.form), steps) << family;
    }
}

TEST(GuidedMode, MeasureMode_GoesFromStepZeroToTheAction_NoFocusWhenTheActionIsOff) {
    FormFixture f;
    f.form.guide().Start();
    f.form.guide().Next();
    EXPECT_EQ(f.form.guide().step, 13);
    EXPECT_EQ(f.form.guide().focus, GuideTarget::ActionButton);
    EXPECT_TRUE(f.form.guide().markers[13].visible);
    f.form.guide().Next();
    EXPECT_FALSE(f.form.guide().running);
    EXPECT_EQ(VisibleMarkers(f.form.guide()), 0);
    EXPECT_TRUE(f.form.commands().toolbarEnabled);

    FormFixture off;
    off.form.EnterNotConnectedState();  // the action button goes off with the link
    off.form.guide().Start();
    off.form.guide().Next();
    EXPECT_EQ(off.form.guide().focus, GuideTarget::None);
}

TEST(GuidedMode, Cancel_HidesPanelAndMarkerAndLeavesEverythingEnabled_ButTypeBsCompensation) {
    FormFixture f;
    f.form.ChooseMode(Mode::Programming);
    f.form.guide().Start();
    EXPECT_FALSE(f.form.commands().menusEnabled);
    EXPECT_FALSE(f.form.inputFrame().enabled);  // enabled when its step comes
    f.form.guide().Next();
    f.form.guide().Next();
    f.form.guide().Cancel();
    EXPECT_FALSE(f.form.guide().panelVisible);
    EXPECT_FALSE(f.form.guide().timerRunning);
    EXPECT_EQ(VisibleMarkers(f.form.guide()), 0);
    for (const Control* c : {&f.form.modeFrame(), &f.form.inputFrame(), &f.form.trimsFrame(), &f.form.outputTypeFrame()})
        EXPECT_TRUE(c->enabled);
    for (const CheckBox* c : {&f.form.internalCjc(), &f.form.customCurve(), &f.form.linearisation()})
        EXPECT_TRUE(c->enabled);
    EXPECT_TRUE(f.form.outputRange().enabled());
    EXPECT_TRUE(f.form.commands().menusEnabled);

    f.form.ChooseTcType(4);
    f.form.guide().Start();
    f.form.guide().Cancel();
    EXPECT_FALSE(f.form.internalCjc().enabled);
}
