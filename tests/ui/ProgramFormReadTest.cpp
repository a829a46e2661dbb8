// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Fakes.h"
#include "ReadFixtures.h"
#include "ui/model/Language.h"

using namespace vantrel;
using namespace vantrel::ui;
using ui::test::FormFixture;
using vantrel::test::ReadValuesOf;

TEST(ProgramFormIdentity, FillsListsModelTextAndTripsVisibility) {
    FormFixture f(4, 10);
    EXPECT_TRUE(f.form.tripsButton().visible);
    f.form.ApplyIdentity({3, 10, 0, 0});
    EXPECT_FALSE(f.form.tripsFrame().visible);
    f.form.ApplyIdentity({3, 10, 0, 0});
    EXPECT_EQ(f.form.modelText(), "KRV8690\r\n( VerSW :  3/ 10/ 0/ 0 )");  // the name once
}

TEST(ProgramFormIdentity, RefillKeepsSelectionsThatStillExist) {
    FormFixture f(4, 10);
    f.form.ChooseFamily(5);
    f.form.ChooseOutputType(1);
    f.form.ApplyIdentity({2, 9, 0, 0});
    EXPECT_EQ(f.form.inputFamilies().selected, 0);  // no current on family 2
    EXPECT_EQ(f.form.outputTypes().selected, 0);
    f.form.ApplyIdentity({9, 9, 0, 0});
    EXPECT_EQ(f.form.inputFamilies().Count(), 0);
    EXPECT_EQ(f.form.inputFamilies().selected, -1);
}

TEST(ProgramFormRead, FahrenheitThermocouple_SetsUnitCompensationLinearAndRange) {
    FormFixture f;
    const std::string summary = f.form.ApplyRead(ReadValuesOf(1, 11, 0, 1200));
    EXPECT_EQ(summary.substr(0, 55), "Termocoppia Tipo K\r\nCJC : Interno\r\nLinearizzazione ON\r\n");
    EXPECT_FALSE(f.form.celsius());
    EXPECT_TRUE(f.form.internalCjc().checked);
    EXPECT_EQ(f.form.inputRange().maxText(), "2192");
    EXPECT_TRUE(f.form.burnoutDown());  // family 4 current output with bit 7 clear
    // A Celsius read afterwards toggles the unit back once.
    f.form.ApplyRead(ReadValuesOf(2, 0, 0, 400));
    EXPECT_TRUE(f.form.celsius());
    EXPECT_EQ(f.form.thermocoupleTypes().selected, 1);
}

TEST(ProgramFormRead, RtdWiringTripsAndSliders_LandInFormAndWorkingState) {
    FormFixture f;
    device::ReadValues v = ReadValuesOf(23, 2 + 4, 0, 150);
    v.tripValues = {0, 100, 90, 50, 40, 20, 0};
    v.tripFlags = 3;
    v.zeroAdjust = 1.5;
    v.spanAdjust = -0.2;
    f.form.ApplyRead(v);
    EXPECT_EQ(f.form.inputFamilies().selected, 1);
    EXPECT_EQ(f.form.rtdSensors().selected, 2);
    EXPECT_EQ(f.form.wirings().selected, 2);
    EXPECT_EQ(f.state.TripLevels, (std::array<float, 4>{100, 90, 50, 40}));
    EXPECT_EQ(f.state.TripFlags, 3);
    EXPECT_FLOAT_EQ(f.state.TripDelayTicks, 20);
    EXPECT_EQ(f.form.zeroTrim().slider, 15);
    EXPECT_EQ(f.form.spanTrim().slider, -2);
}

TEST(ProgramFormRead, ReverseOutputFamilyThreeVoltage_SelectsSecondEntryAndTogglesDirectionOnce) {
    FormFixture f(3, 9);
    device::ReadValues v = ReadValuesOf(36, 64, 0, 750);
    v.outputFirst = 10;
    v.outputSecond = 0;
    f.form.ApplyRead(v);
    EXPECT_EQ(f.form.outputTypes().selected, 1);
    EXPECT_EQ(f.form.outputRange().minText(), "10");
    EXPECT_FALSE(f.form.outputDirect());
    EXPECT_FALSE(f.form.burnoutButton().visible);  // 750 mV: burn-out cannot follow
}

TEST(ProgramFormRead, CustomConfiguration_RestoresTablesWithoutOpeningTheEditor) {
    FormFixture f;
    CustomTables tables;
    tables.sensor = {{0, 0.1234567}, {50, 1.5}, {100, 3.0}};
    tables.cjc = {{0, 0.5}, {40, 0.9}};
    f.form.ApplyRead(ReadValuesOf(36, 32, 0, 100), tables);
    EXPECT_TRUE(f.host.editorRequests.empty());
    EXPECT_TRUE(f.state.CustomActive);
    EXPECT_EQ(f.state.SegmentCount, 2);
    EXPECT_FLOAT_EQ(f.state.PtInput[0], 0.123f);  // kept as shown with three decimals
    EXPECT_FALSE(f.form.inputFamilies().enabled);

    // A plain configuration read afterwards drops the custom state.
    f.form.ApplyRead(ReadValuesOf(36, 0, 0, 100));
    EXPECT_FALSE(f.state.CustomActive);
    EXPECT_TRUE(f.form.inputFamilies().enabled);
}

TEST(ProgramFormRead, RenderSummary_UsesKeptValuesAndSliderAdjustments_FormUntouched) {
    FormFixture f;
    device::ReadValues v = ReadValuesOf(36, 0, 0, 100);
    v.outputFlags = 1 + 128;
    f.form.ApplyRead(v);
    f.form.ChooseFamily(5);  // the user edits after the read
    f.form.MoveSlider(AdjustWhich::Zero, 12);
    const std::string summary = f.form.RenderSummary();
    EXPECT_NE(summary.find("Reg. Zero: 1.2%\r\n"), std::string::npos);
    EXPECT_NE(summary.find("Allarme sensore: Alto\r\n"), std::string::npos);
    EXPECT_EQ(f.form.inputFamilies().selected, 5);
}

TEST(Language, SwitchWithAReadConfiguration_ReRendersTheSameValuesInEnglish) {
    FormFixture f;
    device::ReadValues v = ReadValuesOf(2, 1, 0, 400);
    v.outputFlags = 1;
    f.form.SetConnected(true);
    f.form.ApplyRead(v);
    const std::string italian = f.form.summary();
    f.state.ConfigChanged = false;

    ChooseLanguage(f.form, 1);
    EXPECT_TRUE(f.state.ConfigChanged);
    EXPECT_EQ(f.form.summary().substr(0, 21), "Thermocouple Type J\r\n");
    EXPECT_NE(f.form.summary().find("Filter: ON\r\n"), std::string::npos);  // filter bit kept
    EXPECT_EQ(f.form.inputRange().languageOffset(), 300);
    EXPECT_EQ(f.form.outputRange().languageOffset(), 300);

    ChooseLanguage(f.form, 0);
    EXPECT_EQ(f.form.summary(), italian);
}

TEST(Language, SwitchWithoutTransmitter_ShowsNotConnectedTexts) {
    FormFixture f;
    ChooseLanguage(f.form, 1);
    EXPECT_EQ(f.form.modelText(), "Device not connected");
    EXPECT_EQ(f.form.summary(), "No Data");
}
