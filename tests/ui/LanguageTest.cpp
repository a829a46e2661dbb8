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
