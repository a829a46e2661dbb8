// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Fakes.h"
#include "ui/model/RangeControl.h"

using namespace vantrel;
using namespace vantrel::ui;
using test::ScriptedDialogs;

namespace {

RangeControl TypeK(std::string low, std::string high) {
    RangeControl range;
    range.SetLimits(-200, 1370, 100);
    range.TypeMin(std::move(low));
    range.TypeMax(std::move(high));
    return range;
}

}  // namespace

TEST(RangeControl, EmptyBoxes_BecomeZeroThenSpanMessageWithFocusOnMax) {
    ScriptedDialogs dialogs;
    RangeControl range = TypeK("", "");
    const RangeVerdict verdict = range.Leave(dialogs);
    EXPECT_FALSE(verdict.accepted);
    EXPECT_EQ(verdict.lastMessage, 5);
    EXPECT_EQ(verdict.focus, RangeFocus::Max);
    EXPECT_EQ(range.maxText(), "0");
    EXPECT_EQ(range.minText(), "0");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Valore fuori Range");
    EXPECT_EQ(dialogs.shown[0].buttons, link::Buttons::Ok);
    EXPECT_TRUE(dialogs.shown[0].title.empty());
}

TEST(RangeControl, NumbersBeyondASingle_AreAnInvalidFormatAndStayAsTyped) {
    for (const char* text : {"1e39", "-1e39", "1e400"}) {
        ScriptedDialogs dialogs;
        RangeControl range = TypeK("0", text);
        const RangeVerdict verdict = range.Leave(dialogs);
        EXPECT_EQ(verdict.lastMessage, 1) << text;
        EXPECT_EQ(verdict.focus, RangeFocus::Max) << text;
        EXPECT_EQ(range.maxText(), text);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text, "Formato non valido");
    }
}

TEST(RangeControl, AboveLimit_AsksOkCancel_OkKeepsTheValue_CancelRefuses) {
    ScriptedDialogs dialogs;
    RangeControl range = TypeK("0", "1400");
    dialogs.answers = {link::Answer::Ok};
    RangeVerdict verdict = range.Leave(dialogs);
    EXPECT_TRUE(verdict.accepted);
    EXPECT_EQ(range.maxText(), "1400");
    EXPECT_EQ(dialogs.shown.at(0).buttons, link::Buttons::OkCancel);

    dialogs.answers = {link::Answer::Cancel};
    verdict = range.Leave(dialogs);
    EXPECT_FALSE(verdict.accepted);
    EXPECT_EQ(verdict.focus, RangeFocus::Max);

    RangeControl below = TypeK("-300", "100");
    dialogs.answers = {link::Answer::Cancel};
    verdict = below.Leave(dialogs);
    EXPECT_EQ(verdict.focus, RangeFocus::Min);
    EXPECT_EQ(verdict.lastMessage, 3);
}

TEST(RangeControl, BadNumbers_MessageOneOnTheFirstOffendingBox) {
    ScriptedDialogs dialogs;
    RangeControl range = TypeK("xyz", "abc");
    RangeVerdict verdict = range.Leave(dialogs);
    EXPECT_EQ(verdict.lastMessage, 1);
    EXPECT_EQ(verdict.focus, RangeFocus::Max);
    EXPECT_EQ(range.minText(), "xyz");  // nothing converted
    EXPECT_EQ(dialogs.shown.size(), 1u);

    RangeControl min = TypeK("xyz", "100");
    verdict = min.Leave(dialogs);
    EXPECT_EQ(verdict.focus, RangeFocus::Min);
    EXPECT_EQ(dialogs.shown.back().text, "Formato non valido");
}

TEST(RangeControl, MaxBelowMin_MessageTwo_EqualEndsPassToTheSpanCheck) {
    ScriptedDialogs dialogs;
    RangeControl range = TypeK("100", "50");
    RangeVerdict verdict = range.Leave(dialogs);
    EXPECT_EQ(verdict.lastMessage, 2);
    EXPECT_EQ(verdict.focus, RangeFocus::Max);

    RangeControl equal = TypeK("100", "100");
    EXPECT_EQ(equal.Leave(dialogs).lastMessage, 5);
    equal.SetLimits(-200, 1370, 0);
    EXPECT_TRUE(equal.Leave(dialogs).accepted);
}

TEST(RangeControl, Accepted_RewritesNumbersInStandardForm_SpanEqualToMinimumPasses) {
    ScriptedDialogs dialogs;
    RangeControl range = TypeK(" 007,50", "107.500");
    EXPECT_TRUE(range.Leave(dialogs).accepted);
    EXPECT_EQ(range.minText(), "7.5");
    EXPECT_EQ(range.maxText(), "107.5");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(RangeControl, EnglishSpanMessage_IsStringTableText463) {
    ScriptedDialogs dialogs;
    RangeControl range = TypeK("0", "50");
    range.SetLanguage(300);
    range.Leave(dialogs);
    EXPECT_EQ(dialogs.shown.at(0).text, "The programming with this Span will involve the noise to correct measure");
    EXPECT_EQ(range.MessageFor(RangeMessageCode::InvalidFormat).text, "Invalid Format");
}
