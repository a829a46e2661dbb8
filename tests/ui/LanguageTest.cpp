#include <gtest/gtest.h>

#include <algorithm>

#include "Fakes.h"
#include "ReadFixtures.h"
#include "ui/model/Language.h"

using namespace vantrel;
using namespace vantrel::ui;
using ui::test::FormFixture;
using vantrel::test::ReadValuesOf;

namespace {

const TextAssignment* Find(const std::vector<TextAssignment>& list, const std::string& target) {
    const auto found =
        std::find_if(list.begin(), list.end(), [&](const TextAssignment& a) { return a.target == target; });
    return found == list.end() ? nullptr : &*found;
}

}  // namespace

TEST(Language, SwitchWithAReadConfiguration_ReRendersTheSameValuesInEnglish) {
    FormFixture f;
    device::ReadValues v = ReadValuesOf(2, 1, 0, 400);
    v.outputFlags = 1;
    f.form.deviceConnected = true;
    f.form.ApplyRead(v);
    const std::string italian = f.form.summaryText;
    f.state.ConfigChanged = false;

    ChooseLanguage(f.form, 1);
    EXPECT_EQ(f.state.LanguageOffset, 300);
    EXPECT_TRUE(f.state.ConfigChanged);
    EXPECT_EQ(f.form.summaryText.substr(0, 21), "Thermocouple Type J\r\n");
    EXPECT_NE(f.form.summaryText.find("Filter: ON\r\n"), std::string::npos);  // filter bit kept
    EXPECT_EQ(f.form.CtlRangeIn.Language, 300);
    EXPECT_EQ(f.form.CtlRangeOut.Language, 300);

    ChooseLanguage(f.form, 0);
    EXPECT_EQ(f.form.summaryText, italian);
}

TEST(Language, SwitchWithoutTransmitter_ShowsNotConnectedTexts) {
    FormFixture f;
    f.form.FormLoading = true;
    ChooseLanguage(f.form, 1);
    EXPECT_EQ(f.form.modelText, "Device not connected");
    EXPECT_EQ(f.form.summaryText, "No Data");
    EXPECT_FALSE(f.form.FormLoading);
}

TEST(Language, Assignments_FollowTheWindowsOrderAndTheFormState) {
    FormFixture f;
    f.form.ToggleBurnout();
    f.form.ToggleDirection();
    f.form.ToggleUnit();
    f.form.ChooseFamily(3);
    const auto list = ChooseLanguage(f.form, 1);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front().target, "Program.Caption");
    EXPECT_EQ(list.front().text, "Programming/Measure");
    EXPECT_EQ(list[1].target, "Toolbar.apri.ToolTip");
    EXPECT_EQ(list.back().target, "Program.TripsLabel");
    EXPECT_EQ(Find(list, "Program.Label9")->text, "Sensor Burn-out: Down");
    EXPECT_EQ(Find(list, "Program.Label15")->text, "Output signal: Reverse");
    EXPECT_EQ(Find(list, "Program.Label5")->textId, 109);
    EXPECT_EQ(Find(list, "Program.Trip1")->text, "Trip 1");
    EXPECT_EQ(Find(list, "Program.CtlRangeIn.LTMaxp")->text, "Max Voltage");  // follows the family
    EXPECT_EQ(Find(list, "Program.Command1.ToolTip")->textId, 103);
    EXPECT_EQ(Find(list, "Menu.guida")->text, "Help on line...");
    const auto menuStart = std::find_if(list.begin(), list.end(), [](auto& a) { return a.target == "Menu.f"; });
    const auto menuEnd = std::find_if(list.begin(), list.end(), [](auto& a) { return a.target == "Menu.info"; });
    EXPECT_EQ(menuEnd - menuStart, 18);
}
