#include <gtest/gtest.h>

#include "Fakes.h"

using namespace vantrel;
using namespace vantrel::ui;
using test::FormFixture;

TEST(ProgramFormOutput, DefaultsPerFamilyAndOutputType) {
    FormFixture three(3);
    EXPECT_EQ(three.form.CtlRangeOut.SpanMin(), "-20/20/8");
    EXPECT_EQ(three.form.CtlRangeOut.TextMinP, "4");
    EXPECT_EQ(three.form.CtlRangeOut.TextMaxP, "20");
    three.form.ChooseOutputType(1);
    EXPECT_EQ(three.form.CtlRangeOut.SpanMin(), "-10/10/1");
    EXPECT_EQ(three.form.CtlRangeOut.TextMaxP, "10");
    EXPECT_EQ(three.form.CtlRangeOut.UnitM, "V");
    EXPECT_EQ(three.form.CtlRangeOut.LTMaxp.id, 96);
    EXPECT_FALSE(three.state.ConfigChanged);

    FormFixture four(4);
    four.form.ChooseOutputType(1);
    EXPECT_EQ(four.form.CtlRangeOut.SpanMin(), "0/10/1");

    FormFixture one(1, 9);
    EXPECT_EQ(one.form.CtlRangeOut.SpanMin(), "4/20/4");
    EXPECT_EQ(one.form.Vuscite.Count(), 1);
    one.form.CtlRangeOut.TextMinP = "0";
    one.dialogs.answers = {link::Answer::Cancel};
    EXPECT_EQ(one.form.LeaveOutputRange().lastMessage, 3);  // 0 mA is below family 1's limit
}

TEST(ProgramFormOutput, BurnoutToggledTwice_ReturnsFlagAndLabel) {
    FormFixture f;
    f.form.ToggleBurnout();
    EXPECT_TRUE(f.form.BurnoutDown);
    EXPECT_EQ(f.form.Label9.text.id, 175);
    EXPECT_TRUE(f.state.ConfigChanged);
    f.form.ToggleBurnout();
    EXPECT_FALSE(f.form.BurnoutDown);
    EXPECT_EQ(f.form.Label9.text.id, 176);
}

TEST(ProgramFormOutput, Direction_TogglesLabelAndMarksChange) {
    FormFixture f;
    f.form.ToggleDirection();
    EXPECT_FALSE(f.form.OutputDirect);
    EXPECT_EQ(f.form.Label15.text.id, 178);
    EXPECT_TRUE(f.state.ConfigChanged);
}

TEST(ProgramFormOutput, BurnoutAvailability_VoltageAbove700Hides_CurrentShowsAgain) {
    FormFixture f;
    f.form.ChooseFamily(3);
    f.form.CtlRangeIn.TextMinP = "0";
    f.form.CtlRangeIn.TextMaxP = "750";
    f.form.LeaveInputRange();
    EXPECT_FALSE(f.form.BrkOnOff.visible);
    EXPECT_FALSE(f.form.Label9.visible);
    f.form.CtlRangeIn.TextMaxP = "500";
    f.form.LeaveInputRange();
    EXPECT_TRUE(f.form.BrkOnOff.visible);
    f.form.ChooseFamily(5);
    EXPECT_FALSE(f.form.BrkOnOff.visible);
    f.form.LeaveInputRange();
    EXPECT_TRUE(f.form.BrkOnOff.visible);
}

TEST(ProgramFormAdjust, TypedValueWithComma_MovesSliderByTenths_OutOfRangeLeavesIt) {
    FormFixture f;
    f.form.SetAdjustText(AdjustWhich::Zero, "2,5");
    f.form.AdjustEnter(AdjustWhich::Zero);
    EXPECT_EQ(f.form.zero.slider, 25);
    EXPECT_EQ(f.form.zero.text, "2.5");
    EXPECT_TRUE(f.form.zero.textSelected);
    f.form.SetAdjustText(AdjustWhich::Zero, "6");
    f.form.AdjustEnter(AdjustWhich::Zero);
    EXPECT_EQ(f.form.zero.slider, 25);
    f.form.SetAdjustText(AdjustWhich::Span, "");
    f.form.AdjustFocusLost(AdjustWhich::Span);
    EXPECT_EQ(f.form.span.text, "0");
    f.form.SetAdjustText(AdjustWhich::Span, "-0,05");  // -0.5 tenths: halves go to even
    f.form.AdjustFocusLost(AdjustWhich::Span);
    EXPECT_EQ(f.form.span.slider, 0);
    f.form.MoveSlider(AdjustWhich::Span, -37);
    EXPECT_EQ(f.form.span.text, "-3.7");
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
    f.form.Strumento.enabled = false;
    f.form.ClickTrips();
    ASSERT_EQ(f.host.tripsRequests.size(), 1u);
    EXPECT_EQ(f.host.tripsRequests[0].cancelCaption, "Annulla");
    EXPECT_EQ(f.host.tripsRequests[0].rangeMax, "200");
    EXPECT_TRUE(f.state.ConfigChanged);
    EXPECT_TRUE(f.form.Strumento.enabled);
}

TEST(ProgramFormMode, MeasureAndProgramming_SwapFramesButtonsAndTooltip) {
    FormFixture f;
    f.form.ChooseMode(Mode::Programming);
    EXPECT_FALSE(f.form.Command3.visible);
    EXPECT_FALSE(f.form.main.toolStop.visible);
    EXPECT_TRUE(f.form.Ingr.visible);
    EXPECT_FALSE(f.form.frm_disp.visible);
    EXPECT_EQ(f.form.Command1ToolTip.id, 104);
    EXPECT_EQ(f.form.Command1Colour, (Rgb{0, 255, 255}));
    f.form.ChooseMode(Mode::Measure);
    EXPECT_TRUE(f.form.Command3.visible);
    EXPECT_FALSE(f.form.Ingr.visible);
    EXPECT_EQ(f.form.Command1ToolTip.id, 103);
}

TEST(ProgramFormAction, Programming_EncodesThenRunsAndReenablesAfterwards) {
    FormFixture f;
    f.form.ChooseMode(Mode::Programming);
    f.form.guide.Start();
    f.form.PressAction();
    ASSERT_EQ(f.host.programmed.size(), 1u);
    EXPECT_EQ(f.host.programmed[0].inputCode, 1);
    EXPECT_FALSE(f.form.guide.panelVisible);
    EXPECT_EQ(f.form.guide.WizardStep, 0);
    EXPECT_TRUE(f.form.cont_tot.enabled);
    EXPECT_TRUE(f.form.main.lingua.enabled);
    EXPECT_TRUE(f.form.main.toolWiz.enabled);
    EXPECT_TRUE(f.form.main.toolbarEnabled);
}

TEST(ProgramFormAction, Measure_RunsAndRestoresMeasureMode) {
    FormFixture f;
    f.form.PressAction();
    EXPECT_EQ(f.host.measurements, 1);
    EXPECT_TRUE(f.form.main.toolbarEnabled);
    EXPECT_TRUE(f.form.umis.enabled);
    EXPECT_TRUE(f.form.ModoProgram.enabled);
    EXPECT_EQ(f.form.mode, Mode::Measure);
    EXPECT_TRUE(f.form.display.empty());
    EXPECT_FALSE(f.form.main.fullscreen.enabled);
}

TEST(ProgramFormAction, DisplayText_EnablesStopAndFullScreen) {
    FormFixture f;
    f.form.Command3.enabled = false;
    f.form.SetDisplay("12.000  mA");
    EXPECT_TRUE(f.form.Command3.enabled);
    EXPECT_TRUE(f.form.main.fullscreen.enabled);
    EXPECT_TRUE(f.form.main.stoppa.enabled);
    EXPECT_FALSE(f.form.main.toolStart.enabled);
    f.form.PressStop();
    EXPECT_EQ(f.host.stops, 1);
}

TEST(ProgramFormLink, ConfErrComm_PutsEverythingInTheNotConnectedState) {
    FormFixture f;
    f.form.deviceConnected = true;
    EXPECT_EQ(f.form.Conf_Err_Comm(), "Ok");
    EXPECT_FALSE(f.form.deviceConnected);
    EXPECT_EQ(f.form.modelText, "Dispositivo non connesso");
    EXPECT_EQ(f.form.summaryText, "Dati non pervenuti");
    EXPECT_FALSE(f.form.Command1.enabled);
    EXPECT_FALSE(f.form.Command3.enabled);
    EXPECT_FALSE(f.form.main.toolStart.enabled);
    EXPECT_FALSE(f.form.main.toolStop.enabled);
    EXPECT_TRUE(f.form.main.toolConnect.enabled);
    EXPECT_FALSE(f.form.main.start.enabled);
    EXPECT_FALSE(f.form.main.stoppa.enabled);
    EXPECT_TRUE(f.form.linkIndicatorsGrey);
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
