// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
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

TEST(ProgramFormOutput, DefaultsPerFamilyAndOutputType) {
    struct Case {
        int family, model, outputType;
        const char *limits, *max, *unit;
    };
    const Case cases[] = {
        {3, 10, 0, "-20/20/8", "20", "mA"}, {3, 10, 1, "-10/10/1", "10", "V"}, {4, 10, 0, "0/20/4", "20", "mA"},
        {4, 10, 1, "0/10/1", "10", "V"},    {1, 9, 0, "4/20/4", "20", "mA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family * 10 + c.outputType);
        FormFixture f(c.family, c.model);
        if (c.outputType) f.form.ChooseOutputType(c.outputType);
        EXPECT_EQ(f.form.outputRange().LimitsText(), c.limits);
        EXPECT_EQ(f.form.outputRange().maxText(), c.max);
        EXPECT_EQ(f.form.outputRange().unit(), c.unit);
    }
    FormFixture one(1, 9);
    one.form.TypeOutputMin("0");
    one.dialogs.answers = {link::Answer::Cancel};
    EXPECT_EQ(one.form.LeaveOutputRange().lastMessage, 3);  // 0 mA is below family 1's limit
}

TEST(ProgramFormOutput, BurnoutAvailability_VoltageAbove700Hides_CurrentShowsAgain) {
    FormFixture f;
    f.form.ChooseFamily(3);
    f.form.TypeInputRange("0", "750");
    f.form.LeaveInputRange();
    EXPECT_FALSE(f.form.burnoutButton().visible);
    f.form.TypeInputMax("500");
    f.form.LeaveInputRange();
    EXPECT_TRUE(f.form.burnoutButton().visible);
    f.form.ChooseFamily(5);
    EXPECT_FALSE(f.form.burnoutButton().visible);
    f.form.LeaveInputRange();
    EXPECT_TRUE(f.form.burnoutButton().visible);
}

TEST(ProgramFormAdjust, TypedValueWithComma_MovesSliderByTenths_OutOfRangeLeavesIt) {
    FormFixture f;
    f.form.SetAdjustText(AdjustWhich::Zero, "2,5");
    f.form.AdjustEnter(AdjustWhich::Zero);
    EXPECT_EQ(f.form.zeroTrim().text, "2.5");
    EXPECT_TRUE(f.form.zeroTrim().textSelected);
    f.form.SetAdjustText(AdjustWhich::Zero, "6");
    f.form.AdjustEnter(AdjustWhich::Zero);
    EXPECT_EQ(f.form.zeroTrim().slider, 25);
    f.form.SetAdjustText(AdjustWhich::Span, "-0,05");  // -0.5 tenths: halves go to even
    f.form.AdjustFocusLost(AdjustWhich::Span);
    EXPECT_EQ(f.form.spanTrim().slider, 0);
    f.form.MoveSlider(AdjustWhich::Span, -37);
    EXPECT_EQ(f.form.spanTrim().text, "-3.7");
    for (const char key : {'0', '9', '-', '.', ',', '\b', '\r'}) EXPECT_TRUE(ProgramForm::AdjustKeyAccepted(key));
    for (const char key : {'a', '+', ' ', 'e'}) EXPECT_FALSE(ProgramForm::AdjustKeyAccepted(key));
}

TEST(ProgramFormAction, Programming_EncodesThenRunsAndReenablesAfterwards) {
    FormFixture f;
    f.form.ChooseMode(Mode::Programming);
    f.form.guide().Start();
    f.form.PressAction();
    ASSERT_EQ(f.host.programmed.size(), 1u);
    EXPECT_EQ(f.host.programmed[0].inputCode, 1);
    EXPECT_FALSE(f.form.guide().panelVisible);
    EXPECT_TRUE(f.form.configurationFrame().enabled);
    EXPECT_TRUE(f.form.commands().toolbarEnabled);
    f.form.ClickTrips();
    ASSERT_EQ(f.host.tripsRequests.size(), 1u);
    EXPECT_EQ(f.host.tripsRequests[0].rangeMax, "200");
}

// Every edit of the configuration is one that a later open or read asks about; while the
// stream runs nothing of it changes and no dialog opens (a modal dialog would hold the
// stream up).
TEST(ProgramFormAction, EveryEditIsNoted_WhileMeasuringEditingAndItsDialogsAreOff) {
    const std::vector<std::function<void(ProgramForm&)>> edits = {
        [](ProgramForm& f) { f.ChooseFamily(1); },        [](ProgramForm& f) { f.ChooseTcType(2); },
        [](ProgramForm& f) { f.ClickCustom(true); },      [](ProgramForm& f) { f.ClickLinear(true); },
        [](ProgramForm& f) { f.ToggleUnit(); },           [](ProgramForm& f) { f.ChooseOutputType(1); },
        [](ProgramForm& f) { f.ToggleBurnout(); },        [](ProgramForm& f) { f.ToggleDirection(); },
        [](ProgramForm& f) { f.ClickFilter(true); },      [](ProgramForm& f) { f.MoveSlider(AdjustWhich::Zero, 9); },
        [](ProgramForm& f) { f.ChooseWiring(2); },        [](ProgramForm& f) { f.ClickInternalCjc(true); },
        [](ProgramForm& f) { f.ChooseRtdSensor(1); },     [](ProgramForm& f) { f.ChoosePotRange(1); },
        [](ProgramForm& f) { f.ClickTrips(); },
        // Not edits themselves, but off while measuring:
        [](ProgramForm& f) { f.ToggleOptionsPage(); },    [](ProgramForm& f) { f.ChooseMode(Mode::Programming); },
    };
    for (std::size_t i = 0; i + 2 < edits.size(); ++i) {
        FormFixture g;
        edits[i](g.form);
        EXPECT_TRUE(g.state.EditedSinceLoad) << "edit " << i;
    }
    FormFixture f;
    const InputEncoding before = f.form.EncodeInput();
    f.host.duringMeasurement = [&] {
        EXPECT_TRUE(f.form.measuring());
        for (const auto& edit : edits) edit(f.form);
        EXPECT_FALSE(f.state.EditedSinceLoad);
        EXPECT_FALSE(f.form.optionsPage().visible);
        EXPECT_EQ(f.form.mode(), Mode::Measure);
    };
    f.form.PressAction();
    EXPECT_EQ(f.host.measurements, 1);
    EXPECT_TRUE(f.host.tripsRequests.empty());
    EXPECT_TRUE(f.host.editorRequests.empty());
    EXPECT_EQ(f.form.EncodeInput(), before);
}

TEST(ProgramFormLink, NotConnected_TakesTheActionAwayAndOffersConnect_ADisplayedValueOffersStop) {
    FormFixture f;
    f.form.SetConnected(true);
    f.form.EnterNotConnectedState();
    EXPECT_FALSE(f.form.deviceConnected());
    EXPECT_EQ(f.form.summary(), "Dati non pervenuti");
    EXPECT_FALSE(f.form.actionButton().enabled);
    EXPECT_FALSE(f.form.commands().start.enabled);
    EXPECT_TRUE(f.form.commands().toolConnect.enabled);
    EXPECT_TRUE(f.form.linkIndicatorsGrey());

    f.form.SetDisplay("12.000  mA");
    EXPECT_TRUE(f.form.stopButton().enabled);
    EXPECT_TRUE(f.form.commands().fullscreen.enabled);
    f.form.PressStop();
    EXPECT_EQ(f.host.stops, 1);
}

// The guide walks the steps the family has; in measure mode it goes from step 0 to the action,
// and with the action off (no transmitter) it focuses nothing there.
TEST(GuidedMode, Paths_SkipWhatTheFamilyHasNot_MeasureGoesStraightToTheAction) {
    const std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    const std::tuple<Mode, int, std::vector<int>> cases[] = {
        {Mode::Programming, 0, all},
        {Mode::Programming, 1, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},  // RTD: no thermocouple type
        {Mode::Programming, 2, {0, 1, 5, 6, 7, 8, 9, 10, 11, 12, 13}},        // potentiometer
        {Mode::Measure, 0, {0, 13}},
    };
    for (const auto& [mode, family, steps] : cases) {
        FormFixture f;
        f.form.ChooseMode(mode);
        f.form.ChooseFamily(family);
        EXPECT_EQ(Walk(f.form), steps) << family;
        EXPECT_EQ(VisibleMarkers(f.form.guide()), 0);
        EXPECT_TRUE(f.form.commands().toolbarEnabled);
    }
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
