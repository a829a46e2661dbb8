// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Fakes.h"
#include "ui/model/RangeControl.h"

using namespace vantrel;
using namespace vantrel::ui;
using link::Answer;

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
