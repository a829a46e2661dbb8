// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
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
    EXPECT_EQ(form.inputFamilies().selected, kThermocouple);
    EXPECT_EQ(form.thermocoupleTypes().selected, 0);
    EXPECT_EQ(form.wirings().selected, 1);
    EXPECT_FALSE(form.rtdSensors().visible);
    EXPECT_FALSE(form.wirings().visible);
    EXPECT_EQ(form.inputRange().LimitsText(), "-200/1370/100");
    EXPECT_EQ(form.inputRange().unit(), "°C");
    EXPECT_EQ(form.inputRange().minText(), "0");
    EXPECT_EQ(form.inputRange().maxText(), "200");
    EXPECT_EQ(form.inputRange().maxCaption().id, 94);
    EXPECT_EQ(form.internalCjc().caption.id, 91);
    EXPECT_EQ(form.burnoutLabel().text.id, 176);
    EXPECT_EQ(form.directionLabel().text.id, 177);
    EXPECT_FALSE(form.loading());
    EXPECT_TRUE(form.commands().toolGuide.enabled);
    EXPECT_EQ(form.outputRange().LimitsText(), "0/20/4");  // family 4 current output
}

TEST(ProgramFormFamily, ThermocoupleTwice_KeepsTypeKWithItsDefaultRange) {
    FormFixture f;
    f.form.ChooseTcType(1);
    f.form.ChooseFamily(kThermocouple);
    f.form.ChooseFamily(kThermocouple);
    EXPECT_EQ(f.form.thermocoupleTypes().selected, 0);
    EXPECT_EQ(f.form.inputRange().minText(), "0");
    EXPECT_EQ(f.form.inputRange().maxText(), "1200");
    EXPECT_TRUE(f.state.ConfigChanged);
}

TEST(ProgramFormFamily, EachFamily_SetsLimitsUnitDefaultsAndVisibility) {
    FormFixture f;
    ProgramForm& form = f.form;
    form.ChooseFamily(kRtd);
    EXPECT_EQ(form.rtdSensors().selected, 0);
    EXPECT_EQ(form.wirings().selected, 1);
    EXPECT_EQ(form.inputRange().maxText(), "100");  // the family default replaces Pt100's 200
    EXPECT_EQ(form.inputRange().LimitsText(), "-200/850/50");
    EXPECT_TRUE(form.rtdSensors().visible);
    EXPECT_FALSE(form.internalCjc().visible);

    form.ChooseFamily(kPotentiometer);
    EXPECT_EQ(form.inputRange().LimitsText(), "0/100/10");
    EXPECT_EQ(form.inputRange().unit(), "%");
    EXPECT_EQ(form.inputRange().maxCaption().literal, "% Max");
    EXPECT_TRUE(form.potRanges().visible);
    EXPECT_FALSE(form.unitButton().visible);

    form.ChooseFamily(kResistance);
    EXPECT_EQ(form.inputRange().LimitsText(), "0/2000/10");
    EXPECT_EQ(form.wirings().selected, 1);
    EXPECT_TRUE(form.wirings().visible);
    EXPECT_FALSE(form.potRanges().visible);

    form.ChooseFamily(kCurrent);
    EXPECT_EQ(form.inputRange().LimitsText(), "-10/24/2");
    EXPECT_EQ(form.inputRange().maxText(), "20");
    EXPECT_FALSE(form.burnoutButton().visible);

    form.ChooseFamily(kVoltage);
    EXPECT_EQ(form.inputRange().LimitsText(), "-10000/10000/2");
    EXPECT_EQ(form.inputRange().unit(), "mV");
    EXPECT_TRUE(form.burnoutButton().visible);
}

TEST(ProgramFormFamily, FamilyTwo_HasNoCurrentAndNarrowVoltageLimits) {
    FormFixture f(2, 9);
    EXPECT_EQ(f.form.inputFamilies().Count(), 5);
    f.form.ChooseFamily(kCurrent);  // not offered: nothing happens
    EXPECT_EQ(f.form.inputFamilies().selected, kThermocouple);
    f.form.ChooseFamily(kVoltage);
    EXPECT_EQ(f.form.inputRange().LimitsText(), "-100/700/2");
    EXPECT_EQ(f.form.potRanges().entries.back(), 204);
}

TEST(ProgramFormFamily, ChoosingAFamily_ClearsTheWorkingPointsTables) {
    FormFixture f;
    f.state.PtPhysical[28] = 5;
    f.state.CjcInput[5] = 7;
    f.form.ChooseFamily(kVoltage);
    EXPECT_EQ(f.state.PtPhysical[28], 0);
    EXPECT_EQ(f.state.CjcInput[5], 0);
}

TEST(ProgramFormSensor, TypeB_DisablesCompensation_OtherTypesEnableIt) {
    FormFixture f;
    f.form.ChooseTcType(4);
    EXPECT_FALSE(f.form.internalCjc().enabled);
    EXPECT_EQ(f.form.inputRange().LimitsText(), "400/1820/100");
    EXPECT_EQ(f.form.inputRange().minText(), "500");
    f.form.ChooseTcType(7);
    EXPECT_TRUE(f.form.internalCjc().enabled);
    EXPECT_TRUE(f.state.ConfigChanged);  // a type choice is an edit: leaving asks about it
}

TEST(ProgramFormSensor, Ni100Default_StaysWithinItsLimits) {
    FormFixture f;
    f.form.ChooseFamily(kRtd);
    f.form.ChooseRtdSensor(2);
    EXPECT_EQ(f.form.inputRange().LimitsText(), "-60/180/50");
    EXPECT_LE(std::stof(f.form.inputRange().maxText()), 180);
    EXPECT_TRUE(f.form.LeaveInputRange().accepted);
}

TEST(ProgramFormUnit, FahrenheitTypeK_GivesConvertedLimitsAndDefaultButSameSpanText) {
    FormFixture f;
    f.form.ToggleUnit();
    EXPECT_TRUE(f.state.ConfigChanged);
    EXPECT_EQ(f.form.unitLabel().text.id, 109);
    f.form.ChooseTcType(0);
    EXPECT_EQ(f.form.inputRange().LimitsText(), "-328/2498/100");
    EXPECT_EQ(f.form.inputRange().minText(), "32");
    EXPECT_EQ(f.form.inputRange().maxText(), "2192");
    EXPECT_EQ(f.form.inputRange().unit(), "°F");
}

TEST(ProgramFormUnit, TogglingTwiceOnRtd_RestoresLimitsRangeAndSpan) {
    FormFixture f;
    f.form.ChooseFamily(kRtd);
    const std::string spanMin = f.form.inputRange().LimitsText();
    f.form.ToggleUnit();
    EXPECT_FLOAT_EQ(f.form.inputLimits().minSpan, 90);  // a span converts by the factor only
    EXPECT_EQ(f.form.inputRange().maxText(), "212");
    f.form.ToggleUnit();
    EXPECT_EQ(f.form.inputRange().LimitsText(), spanMin);
    EXPECT_EQ(f.form.inputRange().minText(), "0");
    EXPECT_EQ(f.form.inputRange().maxText(), "100");
    EXPECT_EQ(f.form.inputRange().unit(), "°C");
}

TEST(ProgramFormEncoding, ThermocoupleJInternalLinearFahrenheit_IsCode2Flags11) {
    FormFixture f;
    f.form.ChooseTcType(1);
    f.form.ClickInternalCjc(true);
    f.form.ClickLinear(true);
    f.form.ToggleUnit();
    const InputEncoding e = f.form.EncodeInput();
    EXPECT_EQ(e.inputCode, 2);
    EXPECT_EQ(e.optionFlags, 11 + 128);  // direct output, burn-out high
}

TEST(ProgramFormEncoding, Ni1000FourWiresLinear_IsCode24Flags6) {
    FormFixture f;
    f.form.ChooseFamily(kRtd);
    f.form.ChooseRtdSensor(3);
    f.form.ChooseWiring(2);
    f.form.ClickLinear(true);
    const InputEncoding e = f.form.EncodeInput();
    EXPECT_EQ(e.inputCode, 24);
    EXPECT_EQ(e.optionFlags & 63, 6);
}

TEST(ProgramFormEncoding, CustomResistance_IsCode51Flags32PlusWiring) {
    FormFixture f;
    f.form.ChooseFamily(kResistance);
    f.form.ChooseWiring(2);
    f.form.ClickCustom(true);
    const InputEncoding e = f.form.EncodeInput();
    EXPECT_EQ(e.inputCode, 51);
    EXPECT_EQ(e.optionFlags & 63, 32 + 2);
    EXPECT_TRUE(f.state.CustomActive);
}

TEST(ProgramFormEncoding, PotentiometerInFahrenheit_CarriesNoFahrenheitBit) {
    FormFixture f;
    f.form.ToggleUnit();
    f.form.ChooseFamily(kPotentiometer);
    f.form.ChoosePotRange(2);
    const InputEncoding e = f.form.EncodeInput();
    EXPECT_EQ(e.inputCode, 33);
    EXPECT_EQ(e.optionFlags & 8, 0);
}

TEST(ProgramFormEncoding, OutputBits_FollowDirectionAndBurnout) {
    FormFixture f;
    EXPECT_EQ(f.form.EncodeInput().optionFlags & 192, 128);  // direct, burn-out high
    f.form.ToggleDirection();
    f.form.ToggleBurnout();
    EXPECT_EQ(f.form.EncodeInput().optionFlags & 192, 64 + 128);  // reverse, burn-out low
    f.form.ToggleBurnout();
    EXPECT_EQ(f.form.EncodeInput().optionFlags & 192, 64);
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
    EXPECT_FALSE(f.form.inputFamilies().enabled);
    EXPECT_FALSE(f.form.thermocoupleTypes().enabled);
    EXPECT_TRUE(f.form.wirings().enabled);
    EXPECT_EQ(f.form.inputRange().maxText(), "100");
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
    EXPECT_FALSE(f.form.customCurve().checked);
    EXPECT_FALSE(f.state.CustomActive);
    EXPECT_TRUE(f.form.inputFamilies().enabled);
    EXPECT_TRUE(f.form.commands().language.enabled);
}
