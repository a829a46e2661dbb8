// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>

#include "Fakes.h"
#include "ui/model/RangeControl.h"

using namespace vantrel;
using namespace vantrel::ui;
using test::FormFixture;
using link::Answer;

namespace {
constexpr int kThermocouple = 0, kRtd = 1, kPotentiometer = 2, kVoltage = 3, kResistance = 4, kCurrent = 5;
}

// Each input family brings its limits, unit, default range and the controls it needs; its
// working points tables start empty.
TEST(ProgramFormFamily, EachFamily_SetsLimitsUnitDefaultsAndVisibility) {
    struct Case {
        int family;
        const char *limits, *unit, *max;
        bool rtd, wiring, pot, burnout, unitButton;
    };
    const Case cases[] = {
        {kThermocouple, "-200/1370/100", "°C", "1200", false, false, false, true, true},
        {kRtd, "-200/850/50", "°C", "100", true, true, false, true, true},  // not Pt100's 200
        {kPotentiometer, "0/100/10", "%", nullptr, false, false, true, true, false},
        {kVoltage, "-10000/10000/2", "mV", nullptr, false, false, false, true, false},
        {kResistance, "0/2000/10", nullptr, nullptr, false, true, false, true, false},
        {kCurrent, "-10/24/2", nullptr, "20", false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        FormFixture f;
        f.form.ChooseTcType(1);
        f.state.PtPhysical[28] = 5;
        f.state.CjcInput[5] = 7;
        f.form.ChooseFamily(c.family);
        const ProgramForm& form = f.form;
        EXPECT_EQ(form.inputRange().LimitsText(), c.limits);
        if (c.unit) { EXPECT_EQ(form.inputRange().unit(), c.unit); }
        if (c.max) { EXPECT_EQ(form.inputRange().maxText(), c.max); }
        if (c.family == kThermocouple) { EXPECT_EQ(form.thermocoupleTypes().selected, 0); }  // K again
        EXPECT_EQ(form.rtdSensors().visible, c.rtd);
        EXPECT_EQ(form.wirings().visible, c.wiring);
        if (c.wiring) { EXPECT_EQ(form.wirings().selected, 1); }  // three wires
        EXPECT_EQ(form.potRanges().visible, c.pot);
        EXPECT_EQ(form.burnoutButton().visible, c.burnout);
        EXPECT_EQ(form.unitButton().visible, c.unitButton);
        EXPECT_EQ(form.internalCjc().visible, c.family == kThermocouple);
        EXPECT_EQ(f.state.PtPhysical[28], 0);
        EXPECT_EQ(f.state.CjcInput[5], 0);
    }
}

TEST(ProgramFormFamily, FamilyTwo_HasNoCurrentAndNarrowVoltageLimits) {
    FormFixture f(2, 9);
    f.form.ChooseFamily(kCurrent);  // not offered: nothing happens
    EXPECT_EQ(f.form.inputFamilies().selected, kThermocouple);
    f.form.ChooseFamily(kVoltage);
    EXPECT_EQ(f.form.inputRange().LimitsText(), "-100/700/2");
}

TEST(ProgramFormSensor, TypeB_DisablesCompensation_Ni100DefaultStaysWithinItsLimits) {
    FormFixture f;
    for (int type = 0; type < f.form.thermocoupleTypes().Count(); ++type) {
        f.form.ChooseTcType(type);
        EXPECT_EQ(f.form.internalCjc().enabled, type != 4) << type;
    }
    f.form.ChooseTcType(4);
    EXPECT_EQ(f.form.inputRange().LimitsText(), "400/1820/100");
    f.form.ChooseFamily(kRtd);
    f.form.ChooseRtdSensor(2);
    EXPECT_EQ(f.form.inputRange().LimitsText(), "-60/180/50");
    EXPECT_TRUE(f.form.LeaveInputRange().accepted);
}

// °F converts limits and defaults, a span by the factor only; twice gives °C back.
TEST(ProgramFormUnit, Fahrenheit_ConvertsLimitsAndDefaults_SpansByTheFactorOnly_TwiceRestores) {
    FormFixture f;
    f.form.ToggleUnit();
    EXPECT_EQ(f.form.inputRange().LimitsText(), "-328/2498/100");
    EXPECT_EQ(f.form.inputRange().maxText(), "392");
    f.form.ChooseFamily(kRtd);
    f.form.ChooseRtdSensor(1);
    EXPECT_EQ(f.form.inputRange().unit(), "°F");
    EXPECT_FLOAT_EQ(f.form.inputLimits().minSpan, 90);  // 50 °C wide is 90 °F wide, not 122
    f.form.ToggleUnit();
    EXPECT_EQ(f.form.inputRange().maxText(), "100");
    EXPECT_EQ(f.form.inputRange().unit(), "°C");
}

// The input code and option bits the transmitter is programmed with.
TEST(ProgramFormEncoding, ChoicesGiveTheInputCodeAndOptionBits) {
    using F = ProgramForm;
    struct Case {
        const char* name;
        std::function<void(F&)> choose;
        int inputCode;  // -1: not checked
        int mask, flags;
    };
    const Case cases[] = {
        {"J, internal, linear, °F", [](F& f) { f.ChooseTcType(1), f.ClickInternalCjc(true), f.ClickLinear(true), f.ToggleUnit(); },
         2, 255, 11 + 128},  // direct output, burn-out high
        {"Ni1000, 4 wires, linear", [](F& f) { f.ChooseFamily(kRtd), f.ChooseRtdSensor(3), f.ChooseWiring(2), f.ClickLinear(true); },
         24, 63, 6},
        {"custom resistance, 4 wires", [](F& f) { f.ChooseFamily(kResistance), f.ChooseWiring(2), f.ClickCustom(true); }, 51, 63, 32 + 2},
        {"pot in °F: no °F bit", [](F& f) { f.ToggleUnit(), f.ChooseFamily(kPotentiometer), f.ChoosePotRange(2); }, 33, 8, 0},
        {"reverse, burn-out low", [](F& f) { f.ToggleDirection(), f.ToggleBurnout(); }, -1, 192, 64 + 128},
        {"reverse, burn-out high", [](F& f) { f.ToggleDirection(), f.ToggleBurnout(), f.ToggleBurnout(); }, -1, 192, 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormFixture f;
        c.choose(f.form);
        const InputEncoding e = f.form.EncodeInput();
        if (c.inputCode >= 0) { EXPECT_EQ(e.inputCode, c.inputCode); }
        EXPECT_EQ(e.optionFlags & c.mask, c.flags);
    }
}

// The editor gets the curve's inputs; accepted, it locks the lists; cancelled, nothing stays.
TEST(ProgramFormCustom, Editor_GetsTheInputsAndLocksTheLists_CancelClearsIt) {
    FormFixture f;
    f.form.ClickCustom(true);
    ASSERT_EQ(f.host.editorRequests.size(), 1u);
    EXPECT_TRUE(f.host.editorRequests[0].coldJunctionPage);
    EXPECT_FALSE(f.form.inputFamilies().enabled);
    EXPECT_FALSE(f.form.thermocoupleTypes().enabled);
    EXPECT_EQ(f.form.inputRange().maxText(), "100");  // from the curve
    f.form.ClickCustom(false);
    f.form.ChooseTcType(4);  // type B: no cold-junction page
    f.form.ClickCustom(true);
    EXPECT_FALSE(f.host.editorRequests.back().coldJunctionPage);
    f.form.ClickCustom(false);
    f.form.ChooseFamily(kRtd);
    f.form.ClickCustom(true);
    EXPECT_EQ(f.host.editorRequests.back().title, " (Custom) RTD - 3 Fili");
    EXPECT_EQ(f.host.editorRequests.back().inputUnit, "Ohm");

    FormFixture g;
    g.host.editorResult.accepted = false;
    g.form.ClickCustom(true);
    EXPECT_FALSE(g.form.customCurve().checked);
    EXPECT_FALSE(g.state.CustomActive);
    EXPECT_TRUE(g.form.inputFamilies().enabled);
}

// Leaving the range of a type K thermocouple (limits -200..1370 °C, span at least 100): the
// first fault found is told once, the focus goes to the box at fault, and an accepted range
// is rewritten in standard form. A range beyond the limits may be kept on OK.
TEST(RangeControl, Leave_TellsTheFirstFaultAndFocusesItsBox) {
    struct Case {
        const char *min, *max;
        Answer answer;
        int message;  // 0: nothing said
        RangeFocus focus;  // None: accepted
        const char *minAfter, *maxAfter, *text;
    };
    const Case cases[] = {
        {"", "", Answer::Ok, 5, RangeFocus::Max, "0", "0", "Valore fuori Range"},  // empty boxes count as 0
        {"0", "1e39", Answer::Ok, 1, RangeFocus::Max, "0", "1e39", "Formato non valido"},  // beyond a Single
        {"0", "1e400", Answer::Ok, 1, RangeFocus::Max, "0", "1e400", nullptr},
        {"xyz", "abc", Answer::Ok, 1, RangeFocus::Max, "xyz", "abc", nullptr},
        {"xyz", "100", Answer::Ok, 1, RangeFocus::Min, "xyz", "100", nullptr},
        {"100", "50", Answer::Ok, 2, RangeFocus::Max, "100", "50", nullptr},
        {"100", "100", Answer::Ok, 5, RangeFocus::Max, "100", "100", nullptr},
        {"0", "1400", Answer::Ok, 3, RangeFocus::None, "0", "1400", nullptr},
        {"0", "1400", Answer::Cancel, 3, RangeFocus::Max, "0", "1400", nullptr},
        {"-300", "100", Answer::Cancel, 3, RangeFocus::Min, "-300", "100", nullptr},
        {" 007,50", "107.500", Answer::Ok, 0, RangeFocus::None, "7.5", "107.5", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.min) + " .. " + c.max);
        test::ScriptedDialogs dialogs;
        dialogs.answers = {c.answer};
        RangeControl range;
        range.SetLimits(-200, 1370, 100);
        range.TypeMin(c.min);
        range.TypeMax(c.max);
        const RangeVerdict verdict = range.Leave(dialogs);
        EXPECT_EQ(verdict.accepted, c.focus == RangeFocus::None);
        EXPECT_EQ(verdict.focus, c.focus);
        EXPECT_EQ(verdict.lastMessage, c.message);
        EXPECT_EQ(range.minText(), c.minAfter);
        EXPECT_EQ(range.maxText(), c.maxAfter);
        ASSERT_EQ(dialogs.shown.size(), c.message == 0 ? 0u : 1u);
        if (c.message == 0) continue;
        EXPECT_EQ(dialogs.shown[0].buttons, c.message == 3 ? link::Buttons::OkCancel : link::Buttons::Ok);
        if (c.text) { EXPECT_EQ(dialogs.shown[0].text, c.text); }
    }
}

TEST(RangeControl, EqualEndsPassWithoutAMinimumSpan) {
    test::ScriptedDialogs dialogs;
    RangeControl range;
    range.SetLimits(-200, 1370, 0);
    range.TypeMin("100");
    range.TypeMax("100");
    EXPECT_TRUE(range.Leave(dialogs).accepted);
}
