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
    FormFixture tc;
    tc.form.ChooseMode(Mode::Programming);
    EXPECT_EQ(Walk(tc.form), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));

    FormFixture rtd;
    rtd.form.ChooseMode(Mode::Programming);
    rtd.form.ChooseFamily(1);
    EXPECT_EQ(Walk(rtd.form), (std::vector<int>{0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));

    FormFixture pot;
    pot.form.ChooseMode(Mode::Programming);
    pot.form.ChooseFamily(2);
    EXPECT_EQ(Walk(pot.form), (std::vector<int>{0, 1, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
}

TEST(GuidedMode, MeasureMode_GoesFromStepZeroToTheActionWithTheMeasureHint) {
    FormFixture f;
    f.form.guide().Start();
    f.form.guide().Next();
    EXPECT_EQ(f.form.guide().step, 13);
    EXPECT_EQ(f.form.guide().hint.id, 198);
    EXPECT_EQ(f.form.guide().okCaption.id, 199);
    EXPECT_EQ(f.form.guide().focus, GuideTarget::ActionButton);
    EXPECT_EQ(VisibleMarkers(f.form.guide()), 1);
    EXPECT_TRUE(f.form.guide().markers[13].visible);
    f.form.guide().Next();
    EXPECT_FALSE(f.form.guide().running);
    EXPECT_FALSE(f.form.guide().panelVisible);
    EXPECT_EQ(f.form.guide().step, 0);
    EXPECT_EQ(VisibleMarkers(f.form.guide()), 0);
    EXPECT_TRUE(f.form.commands().toolbarEnabled);
}

TEST(GuidedMode, StepRows_HintPositionFocusAndTheFilterStep) {
    FormFixture f;
    f.form.ChooseMode(Mode::Programming);
    f.form.guide().Start();
    EXPECT_EQ(f.form.guide().hint.id, 187);
    EXPECT_EQ(f.form.guide().panelTop, 120);
    EXPECT_EQ(f.form.guide().panelLeft, 4200);
    EXPECT_EQ(f.form.guide().okCaption.id, 185);
    EXPECT_EQ(f.form.guide().cancelCaption.id, 200);
    EXPECT_TRUE(f.form.modeFrame().enabled);
    EXPECT_FALSE(f.form.inputFrame().enabled);  // enabled when its step comes
    for (int i = 0; i < 6; ++i) f.form.guide().Next();
    EXPECT_EQ(f.form.guide().step, 6);
    EXPECT_EQ(f.form.guide().hint.Render(300), "Filter");
    EXPECT_EQ(f.form.guide().hint.Render(0), "Filter");
    EXPECT_EQ(f.form.guide().focus, GuideTarget::Filter);
    f.form.guide().Next();
    EXPECT_TRUE(f.form.inputRange().enabled());
    EXPECT_EQ(f.form.guide().focus, GuideTarget::InputRange);
}

TEST(GuidedMode, ActionStep_HasNoFocusWhenTheActionButtonIsDisabled) {
    FormFixture f;
    f.form.EnterNotConnectedState();  // the action button goes off with the link
    f.form.guide().Start();
    f.form.guide().Next();
    EXPECT_EQ(f.form.guide().focus, GuideTarget::None);
}

TEST(GuidedMode, Cancel_HidesPanelAndMarkerAndLeavesEverythingEnabled) {
    FormFixture f;
    f.form.ChooseMode(Mode::Programming);
    f.form.guide().Start();
    EXPECT_FALSE(f.form.commands().toolbarEnabled);
    EXPECT_FALSE(f.form.commands().menusEnabled);
    f.form.guide().Next();
    f.form.guide().Next();
    f.form.guide().Cancel();
    EXPECT_FALSE(f.form.guide().panelVisible);
    EXPECT_FALSE(f.form.guide().timerRunning);
    EXPECT_EQ(VisibleMarkers(f.form.guide()), 0);
    EXPECT_EQ(f.form.guide().step, 0);
    for (const Control* c : {&f.form.modeFrame(), &f.form.inputFrame(), &f.form.trimsFrame(), &f.form.outputTypeFrame()})
        EXPECT_TRUE(c->enabled);
    EXPECT_TRUE(f.form.internalCjc().enabled);
    EXPECT_TRUE(f.form.customCurve().enabled);
    EXPECT_TRUE(f.form.linearisation().enabled);
    EXPECT_TRUE(f.form.inputRange().enabled());
    EXPECT_TRUE(f.form.outputRange().enabled());
    EXPECT_TRUE(f.form.commands().toolbarEnabled);
    EXPECT_TRUE(f.form.commands().menusEnabled);
}

TEST(GuidedMode, LeavingWithTypeB_KeepsCompensationDisabled) {
    FormFixture f;
    f.form.ChooseTcType(4);
    f.form.guide().Start();
    f.form.guide().Cancel();
    EXPECT_FALSE(f.form.internalCjc().enabled);
}

TEST(GuidedMode, Blink_AlternatesBlueAndGrey) {
    FormFixture f;
    f.form.guide().Start();
    f.form.guide().Blink();
    EXPECT_EQ(f.form.guide().markers[0].colour, (Rgb{0, 0, 255}));
    EXPECT_EQ(f.form.guide().blinkPhase, -1);
    f.form.guide().Blink();
    EXPECT_EQ(f.form.guide().markers[0].colour, (Rgb{192, 192, 192}));
    EXPECT_EQ(f.form.guide().blinkPhase, 1);
}
