// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "Fakes.h"

using namespace vantrel;
using namespace vantrel::ui;
using test::FormFixture;

TEST(ProgramFormOutput, DefaultsPerFamilyAndOutputType) {
    FormFixture three(3);
    EXPECT_EQ(three.form.outputRange().LimitsText(), "-20/20/8");
    EXPECT_EQ(three.form.outputRange().minText(), "4");
    EXPECT_EQ(three.form.outputRange().maxText(), "20");
    three.form.ChooseOutputType(1);
    EXPECT_EQ(three.form.outputRange().LimitsText(), "-10/10/1");
    EXPECT_EQ(three.form.outputRange().maxText(), "10");
    EXPECT_EQ(three.form.outputRange().unit(), "V");
    EXPECT_EQ(three.form.outputRange().maxCaption().id, 96);
    EXPECT_TRUE(three.state.ConfigChanged);  // an output choice is an edit

    FormFixture four(4);
    four.form.ChooseOutputType(1);
    EXPECT_EQ(four.form.outputRange().LimitsText(), "0/10/1");

    FormFixture one(1, 9);
    EXPECT_EQ(one.form.outputRange().LimitsText(), "4/20/4");
    EXPECT_EQ(one.form.outputTypes().Count(), 1);
    one.form.TypeOutputMin("0");
    one.dialogs.answers = {link::Answer::Cancel};
    EXPECT_EQ(one.form.LeaveOutputRange().lastMessage, 3);  // 0 mA is below family 1's limit
}

TEST(ProgramFormOutput, BurnoutToggledTwice_ReturnsFlagAndLabel) {
    FormFixture f;
    f.form.ToggleBurnout();
    EXPECT_TRUE(f.form.burnoutDown());
    EXPECT_EQ(f.form.burnoutLabel().text.id, 175);
    EXPECT_TRUE(f.state.ConfigChanged);
    f.form.ToggleBurnout();
    EXPECT_FALSE(f.form.burnoutDown());
    EXPECT_EQ(f.form.burnoutLabel().text.id, 176);
}

TEST(ProgramFormOutput, Direction_TogglesLabelAndMarksChange) {
    FormFixture f;
    f.form.ToggleDirection();
    EXPECT_FALSE(f.form.outputDirect());
    EXPECT_EQ(f.form.directionLabel().text.id, 178);
    EXPECT_TRUE(f.state.ConfigChanged);
}

TEST(ProgramFormOutput, BurnoutAvailability_VoltageAbove700Hides_CurrentShowsAgain) {
    FormFixture f;
    f.form.ChooseFamily(3);
    f.form.TypeInputMin("0");
    f.form.TypeInputMax("750");
    f.form.LeaveInputRange();
    EXPECT_FALSE(f.form.burnoutButton().visible);
    EXPECT_FALSE(f.form.burnoutLabel().visible);
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
    EXPECT_EQ(f.form.zeroTrim().slider, 25);
    EXPECT_EQ(f.form.zeroTrim().text, "2.5");
    EXPECT_TRUE(f.form.zeroTrim().textSelected);
    f.form.SetAdjustText(AdjustWhich::Zero, "6");
    f.form.AdjustEnter(AdjustWhich::Zero);
    EXPECT_EQ(f.form.zeroTrim().slider, 25);
    f.form.SetAdjustText(AdjustWhich::Span, "");
    f.form.AdjustFocusLost(AdjustWhich::Span);
    EXPECT_EQ(f.form.spanTrim().text, "0");
    f.form.SetAdjustText(AdjustWhich::Span, "-0,05");  // -0.5 tenths: halves go to even
    f.form.AdjustFocusLost(AdjustWhich::Span);
    EXPECT_EQ(f.form.spanTrim().slider, 0);
    f.form.MoveSlider(AdjustWhich::Span, -37);
    EXPECT_EQ(f.form.spanTrim().text, "-3.7");
}

TEST(ProgramFormAdjust, KeyFilter_AcceptsDigitsSignSeparatorsAndEditingKeys) {
    for (const char key : {'0', '9', '-', '.', ',', '\b', '\r'}) EXPECT_TRUE(ProgramForm::AdjustKeyAccepted(key));
    for (const char key : {'a', '+', ' ', 'e'}) EXPECT_FALSE(ProgramForm::AdjustKeyAccepted(key));
}

TEST(ProgramFormOutput, Filter_WritesTheRecordDirectly) {
    FormFixture f;
    f.form.ClickFilter(true);
    EXPECT_EQ(f.record.FilterOn, device::kFlagTrue);
    f.form.ClickFilter(false);
    EXPECT_EQ(f.record.FilterOn, device::kFlagFalse);
}

TEST(ProgramFormOutput, Trips_OpensFormWithRangeMarksChangeAndUnlocksLists) {
    FormFixture f;
    f.form.ClickTrips();
    ASSERT_EQ(f.host.tripsRequests.size(), 1u);
    EXPECT_EQ(f.host.tripsRequests[0].cancelCaption, "Annulla");
    EXPECT_EQ(f.host.tripsRequests[0].rangeMax, "200");
    EXPECT_TRUE(f.state.ConfigChanged);
    EXPECT_TRUE(f.form.inputFamilies().enabled);
}

TEST(ProgramFormMode, MeasureAndProgramming_SwapFramesButtonsAndTooltip) {
    FormFixture f;
    f.form.ChooseMode(Mode::Programming);
    EXPECT_FALSE(f.form.stopButton().visible);
    EXPECT_FALSE(f.form.commands().toolStop.visible);
    EXPECT_TRUE(f.form.optionsPage().visible);
    EXPECT_FALSE(f.form.measurementPage().visible);
    EXPECT_EQ(f.form.actionToolTip().id, 104);
    EXPECT_EQ(f.form.actionColour(), (Rgb{0, 255, 255}));
    f.form.ChooseMode(Mode::Measure);
    EXPECT_TRUE(f.form.stopButton().visible);
    EXPECT_FALSE(f.form.optionsPage().visible);
    EXPECT_EQ(f.form.actionToolTip().id, 103);
}

TEST(ProgramFormAction, Programming_EncodesThenRunsAndReenablesAfterwards) {
    FormFixture f;
    f.form.ChooseMode(Mode::Programming);
    f.form.guide().Start();
    f.form.PressAction();
    ASSERT_EQ(f.host.programmed.size(), 1u);
    EXPECT_EQ(f.host.programmed[0].inputCode, 1);
    EXPECT_FALSE(f.form.guide().panelVisible);
    EXPECT_EQ(f.form.guide().step, 0);
    EXPECT_TRUE(f.form.configurationFrame().enabled);
    EXPECT_TRUE(f.form.commands().language.enabled);
    EXPECT_TRUE(f.form.commands().toolGuide.enabled);
    EXPECT_TRUE(f.form.commands().toolbarEnabled);
}

TEST(ProgramFormAction, Measure_RunsAndRestoresMeasureMode) {
    FormFixture f;
    f.form.PressAction();
    EXPECT_EQ(f.host.measurements, 1);
    EXPECT_TRUE(f.form.commands().toolbarEnabled);
    EXPECT_TRUE(f.form.unitButton().enabled);
    EXPECT_TRUE(f.form.programmingOption().enabled);
    EXPECT_EQ(f.form.mode(), Mode::Measure);
    EXPECT_TRUE(f.form.display().empty());
    EXPECT_FALSE(f.form.commands().fullscreen.enabled);
}

// While the stream runs nothing of the configuration changes and no dialog opens (a modal
// dialog would hold the stream up): every editing operation is ignored.
TEST(ProgramFormAction, WhileMeasuring_EditingAndItsDialogsAreOff) {
    const std::vector<std::function<void(ProgramForm&)>> edits = {
        [](ProgramForm& f) { f.ChooseFamily(1); },        [](ProgramForm& f) { f.ChooseTcType(2); },
        [](ProgramForm& f) { f.ClickCustom(true); },      [](ProgramForm& f) { f.ClickLinear(true); },
        [](ProgramForm& f) { f.ToggleUnit(); },           [](ProgramForm& f) { f.ChooseOutputType(1); },
        [](ProgramForm& f) { f.ToggleBurnout(); },        [](ProgramForm& f) { f.ToggleDirection(); },
        [](ProgramForm& f) { f.ClickFilter(true); },      [](ProgramForm& f) { f.MoveSlider(AdjustWhich::Zero, 9); },
        [](ProgramForm& f) { f.ClickTrips(); },           [](ProgramForm& f) { f.ToggleOptionsPage(); },
        [](ProgramForm& f) { f.ChooseMode(Mode::Programming); },
    };
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
    EXPECT_EQ(f.form.EncodeInput().inputCode, before.inputCode);
    EXPECT_EQ(f.form.EncodeInput().optionFlags, before.optionFlags);

    // After the stream every one of them is an edit again, which a later open or read asks about.
    for (std::size_t i = 0; i + 3 < edits.size(); ++i) {
        FormFixture g;
        edits[i](g.form);
        EXPECT_TRUE(g.state.EditedSinceLoad) << "edit " << i;
    }
}

TEST(ProgramFormAction, DisplayText_EnablesStopAndFullScreen) {
    FormFixture f;
    f.form.EnterNotConnectedState();  // the stop button goes off
    f.form.SetDisplay("12.000  mA");
    EXPECT_TRUE(f.form.stopButton().enabled);
    EXPECT_TRUE(f.form.commands().fullscreen.enabled);
    EXPECT_TRUE(f.form.commands().stop.enabled);
    EXPECT_FALSE(f.form.commands().toolStart.enabled);
    f.form.PressStop();
    EXPECT_EQ(f.host.stops, 1);
}

TEST(ProgramFormLink, ConfErrComm_PutsEverythingInTheNotConnectedState) {
    FormFixture f;
    f.form.SetConnected(true);
    f.form.EnterNotConnectedState();
    EXPECT_FALSE(f.form.deviceConnected());
    EXPECT_EQ(f.form.modelText(), "Dispositivo non connesso");
    EXPECT_EQ(f.form.summary(), "Dati non pervenuti");
    EXPECT_FALSE(f.form.actionButton().enabled);
    EXPECT_FALSE(f.form.stopButton().enabled);
    EXPECT_FALSE(f.form.commands().toolStart.enabled);
    EXPECT_FALSE(f.form.commands().toolStop.enabled);
    EXPECT_TRUE(f.form.commands().toolConnect.enabled);
    EXPECT_FALSE(f.form.commands().start.enabled);
    EXPECT_FALSE(f.form.commands().stop.enabled);
    EXPECT_TRUE(f.form.linkIndicatorsGrey());
}

TEST(ProgramFormNotify, HandlersBumpTheVersionAndCallTheListener) {
    FormFixture f;
    int calls = 0;
    f.form.SetChangeListener([&] { ++calls; });
    const auto before = f.form.Version();
    f.form.ToggleBurnout();
    EXPECT_GT(f.form.Version(), before);
    EXPECT_GT(calls, 0);
}
