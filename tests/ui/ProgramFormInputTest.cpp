#include <gtest/gtest.h>

#include "Fakes.h"

using namespace vantrel;
using namespace vantrel::ui;
using test::FormFixture;

namespace {
constexpr int kThermocouple = 0, kRtd = 1, kPotentiometer = 2, kVoltage = 3, kResistance = 4, kCurrent = 5;
}

TEST(ProgramFormLoad, StartsWithTypeKInCelsiusAndRange0To200) {
    FormFixture f;
    const ProgramForm& form = f.form;
    EXPECT_EQ(form.Strumento.selected, kThermocouple);
    EXPECT_EQ(form.Tipo.selected, 0);
    EXPECT_EQ(form.fili.selected, 1);
    EXPECT_FALSE(form.pt.visible);
    EXPECT_FALSE(form.fili.visible);
    EXPECT_EQ(form.CtlRangeIn.SpanMin(), "-200/ 1370/ 100");
    EXPECT_EQ(form.CtlRangeIn.UnitM, "°C");
    EXPECT_EQ(form.CtlRangeIn.TextMinP, "0");
    EXPECT_EQ(form.CtlRangeIn.TextMaxP, "200");
    EXPECT_EQ(form.CtlRangeIn.LTMaxp.id, 94);
    EXPECT_EQ(form.Giunto.caption.id, 91);
    EXPECT_EQ(form.Label9.text.id, 176);
    EXPECT_EQ(form.Label15.text.id, 177);
    EXPECT_FALSE(form.FormLoading);
    EXPECT_TRUE(form.main.toolWiz.enabled);
    EXPECT_EQ(form.CtlRangeOut.SpanMin(), "0/20/4");  // family 4 current output
}

TEST(ProgramFormFamily, ThermocoupleTwice_KeepsTypeKWithItsDefaultRange) {
    FormFixture f;
    f.form.ChooseTcType(1);
    f.form.ChooseFamily(kThermocouple);
    f.form.ChooseFamily(kThermocouple);
    EXPECT_EQ(f.form.Tipo.selected, 0);
    EXPECT_EQ(f.form.CtlRangeIn.TextMinP, "0");
    EXPECT_EQ(f.form.CtlRangeIn.TextMaxP, "1200");
    EXPECT_TRUE(f.state.ConfigChanged);
}

TEST(ProgramFormFamily, EachFamily_SetsLimitsUnitDefaultsAndVisibility) {
    FormFixture f;
    ProgramForm& form = f.form;
    form.ChooseFamily(kRtd);
    EXPECT_EQ(form.pt.selected, 0);
    EXPECT_EQ(form.fili.selected, 1);
    EXPECT_EQ(form.CtlRangeIn.TextMaxP, "100");  // the family default replaces Pt100's 200
    EXPECT_EQ(form.CtlRangeIn.SpanMin(), "-200/ 850/50");
    EXPECT_TRUE(form.pt.visible);
    EXPECT_FALSE(form.Giunto.visible);

    form.ChooseFamily(kPotentiometer);
    EXPECT_EQ(form.CtlRangeIn.SpanMin(), " 0/ 100/10");
    EXPECT_EQ(form.CtlRangeIn.UnitM, "%");
    EXPECT_EQ(form.CtlRangeIn.LTMaxp.literal, "% Max");
    EXPECT_TRUE(form.TypePot.visible);
    EXPECT_FALSE(form.umis.visible);

    form.ChooseFamily(kResistance);
    EXPECT_EQ(form.CtlRangeIn.SpanMin(), " 0/ 2000/10");
    EXPECT_EQ(form.fili.selected, 1);
    EXPECT_TRUE(form.fili.visible);
    EXPECT_FALSE(form.TypePot.visible);

    form.ChooseFamily(kCurrent);
    EXPECT_EQ(form.CtlRangeIn.SpanMin(), "-10/ 24/2");
    EXPECT_EQ(form.CtlRangeIn.TextMaxP, "20");
    EXPECT_FALSE(form.BrkOnOff.visible);

    form.ChooseFamily(kVoltage);
    EXPECT_EQ(form.CtlRangeIn.SpanMin(), "-10000/ 10000/ 2");
    EXPECT_EQ(form.CtlRangeIn.UnitM, "mV");
    EXPECT_TRUE(form.BrkOnOff.visible);
}

TEST(ProgramFormFamily, FamilyTwo_HasNoCurrentAndNarrowVoltageLimits) {
    FormFixture f(2, 9);
    EXPECT_EQ(f.form.Strumento.Count(), 5);
    f.form.ChooseFamily(kCurrent);  // not offered: nothing happens
    EXPECT_EQ(f.form.Strumento.selected, kThermocouple);
    f.form.ChooseFamily(kVoltage);
    EXPECT_EQ(f.form.CtlRangeIn.SpanMin(), "-100/ 700/ 2");
    EXPECT_EQ(f.form.TypePot.entries.back(), 204);
}

TEST(ProgramFormFamily, ChoosingAFamily_ClearsTheWorkingPointsTables) {
    FormFixture f;
    f.state.PtPhysical[28] = 5;
    f.state.CjcInput[5] = 7;
    f.form.ChooseFamily(kVoltage);
    EXPECT_EQ(f.state.PtPhysical[28], 0);
    EXPECT_EQ(f.state.CjcInput[5], 0);
}

TEST(ProgramFormFamily, WhileLoading_FamilySensorAndPotHandlersDoNothing) {
    FormFixture f;
    f.form.FormLoading = true;
    f.form.ChooseFamily(kVoltage);
    EXPECT_EQ(f.form.CtlRangeIn.UnitM, "°C");
    EXPECT_FALSE(f.state.ConfigChanged);
    f.form.ChooseTcType(1);  // the type handler has no loading guard
    EXPECT_EQ(f.form.CtlRangeIn.TextMaxP, "400");
}

TEST(ProgramFormSensor, TypeB_DisablesCompensation_OtherTypesEnableIt) {
    FormFixture f;
    f.form.ChooseTcType(4);
    EXPECT_FALSE(f.form.Giunto.enabled);
    EXPECT_EQ(f.form.CtlRangeIn.SpanMin(), " 400/ 1820/ 100");
    EXPECT_EQ(f.form.CtlRangeIn.TextMinP, "500");
    f.form.ChooseTcType(7);
    EXPECT_TRUE(f.form.Giunto.enabled);
    EXPECT_FALSE(f.state.ConfigChanged);  // type choices do not mark a change themselves
}

TEST(ProgramFormSensor, Ni100Default_StaysWithinItsLimits) {
    FormFixture f;
    f.form.ChooseFamily(kRtd);
    f.form.ChooseRtdSensor(2);
    EXPECT_EQ(f.form.CtlRangeIn.SpanMin(), "-60/ 180/50");
    EXPECT_LE(std::stof(f.form.CtlRangeIn.TextMaxP), 180);
    EXPECT_TRUE(f.form.CtlRangeIn.Leave(f.dialogs).accepted);
}

TEST(ProgramFormUnit, FahrenheitTypeK_GivesConvertedLimitsAndDefaultButSameSpanText) {
    FormFixture f;
    f.form.ToggleUnit();
    EXPECT_TRUE(f.state.ConfigChanged);
    EXPECT_EQ(f.form.Label5.text.id, 109);
    f.form.ChooseTcType(0);
    EXPECT_EQ(f.form.CtlRangeIn.SpanMin(), "-328/ 2498/ 100");
    EXPECT_EQ(f.form.CtlRangeIn.TextMinP, "32");
    EXPECT_EQ(f.form.CtlRangeIn.TextMaxP, "2192");
    EXPECT_EQ(f.form.CtlRangeIn.UnitM, "°F");
}

TEST(ProgramFormUnit, TogglingTwiceOnRtd_RestoresLimitsRangeAndSpan) {
    FormFixture f;
    f.form.ChooseFamily(kRtd);
    const std::string spanMin = f.form.CtlRangeIn.SpanMin();
    f.form.ToggleUnit();
    EXPECT_EQ(f.form.InMinSpan, "122");
    EXPECT_EQ(f.form.CtlRangeIn.TextMaxP, "212");
    f.form.ToggleUnit();
    EXPECT_EQ(f.form.CtlRangeIn.SpanMin(), spanMin);
    EXPECT_EQ(f.form.CtlRangeIn.TextMinP, "0");
    EXPECT_EQ(f.form.CtlRangeIn.TextMaxP, "100");
    EXPECT_EQ(f.form.CtlRangeIn.UnitM, "  °C");
}

TEST(ProgramFormEncoding, ThermocoupleJInternalLinearFahrenheit_IsCode2Flags11) {
    FormFixture f;
    f.form.ChooseTcType(1);
    f.form.ClickGiunto(true);
    f.form.ClickLinear(true);
    f.form.ToggleUnit();
    const InputEncoding e = f.form.par_pgm();
    EXPECT_EQ(e.inputCode, 2);
    EXPECT_EQ(e.optionFlags, 11 + 128);  // direct output, burn-out high
}

TEST(ProgramFormEncoding, Ni1000FourWiresLinear_IsCode24Flags6) {
    FormFixture f;
    f.form.ChooseFamily(kRtd);
    f.form.ChooseRtdSensor(3);
    f.form.ChooseWiring(2);
    f.form.ClickLinear(true);
    const InputEncoding e = f.form.par_pgm();
    EXPECT_EQ(e.inputCode, 24);
    EXPECT_EQ(e.optionFlags & 63, 6);
}

TEST(ProgramFormEncoding, CustomResistance_IsCode51Flags32PlusWiring) {
    FormFixture f;
    f.form.ChooseFamily(kResistance);
    f.form.ChooseWiring(2);
    f.form.ClickCustom(true);
    const InputEncoding e = f.form.par_pgm();
    EXPECT_EQ(e.inputCode, 51);
    EXPECT_EQ(e.optionFlags & 63, 32 + 2);
    EXPECT_TRUE(f.state.CustomActive);
}

TEST(ProgramFormEncoding, PotentiometerInFahrenheit_CarriesNoFahrenheitBit) {
    FormFixture f;
    f.form.ToggleUnit();
    f.form.ChooseFamily(kPotentiometer);
    f.form.ChoosePotRange(2);
    const InputEncoding e = f.form.par_pgm();
    EXPECT_EQ(e.inputCode, 33);
    EXPECT_EQ(e.optionFlags & 8, 0);
}

TEST(ProgramFormEncoding, OutputBits_FollowDirectionAndBurnout) {
    FormFixture f;
    EXPECT_EQ(f.form.par_pgm().optionFlags & 192, 128);  // direct, burn-out high
    f.form.ToggleDirection();
    f.form.ToggleBurnout();
    EXPECT_EQ(f.form.par_pgm().optionFlags & 192, 64 + 128);  // reverse, burn-out low
    f.form.ToggleBurnout();
    EXPECT_EQ(f.form.par_pgm().optionFlags & 192, 64);
}

TEST(ProgramFormCustom, ThermocoupleWithInternalCjc_EditorGetsColdJunctionPageAndLongTitle) {
    FormFixture f;
    f.form.ClickCustom(true);
    ASSERT_EQ(f.host.editorRequests.size(), 1u);
    const PointsEditorRequest& r = f.host.editorRequests[0];
    EXPECT_EQ(r.title, " (Custom) Termocoppia con compensazione interna del giunto");
    EXPECT_EQ(r.inputUnit, "mV");
    EXPECT_EQ(r.physicalUnit, "Temp");
    EXPECT_TRUE(r.coldJunctionPage);
    EXPECT_EQ(r.coldJunctionTitle, "Compensazione Giunto");
    EXPECT_EQ(r.cancelCaption, "Annulla");
    // Accepted: family and sensor lists locked, wiring free, range from the curve.
    EXPECT_FALSE(f.form.Strumento.enabled);
    EXPECT_FALSE(f.form.Tipo.enabled);
    EXPECT_TRUE(f.form.fili.enabled);
    EXPECT_EQ(f.form.CtlRangeIn.TextMaxP, "100");
    EXPECT_TRUE(f.state.ConfigChanged);
}

TEST(ProgramFormCustom, TypeBAndRtd_EditorWithoutColdJunctionPage_RtdTitleNamesWiring) {
    FormFixture f;
    f.form.ChooseTcType(4);
    f.form.ClickCustom(true);
    EXPECT_FALSE(f.host.editorRequests.back().coldJunctionPage);
    f.form.ClickCustom(false);
    f.form.ChooseFamily(kRtd);
    f.form.ClickCustom(true);
    EXPECT_EQ(f.host.editorRequests.back().title, " (Custom) RTD - 3 Fili");
    EXPECT_EQ(f.host.editorRequests.back().inputUnit, "Ohm");
}

TEST(ProgramFormCustom, EditorCancelled_ClearsTheBoxAndCustomActive) {
    FormFixture f;
    f.host.editorResult.accepted = false;
    f.form.ClickCustom(true);
    EXPECT_FALSE(f.form.Custom.checked);
    EXPECT_FALSE(f.state.CustomActive);
    EXPECT_TRUE(f.form.Strumento.enabled);
    EXPECT_TRUE(f.form.main.lingua.enabled);
}
