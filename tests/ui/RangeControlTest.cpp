#include <gtest/gtest.h>

#include "Fakes.h"
#include "ui/model/RangeControl.h"

using namespace vantrel;
using namespace vantrel::ui;
using test::ScriptedDialogs;

namespace {

RangeControl TypeK(std::string low, std::string high) {
    RangeControl range;
    range.SetSpanMin("-200/ 1370/ 100");
    range.TextMinP = std::move(low);
    range.TextMaxP = std::move(high);
    return range;
}

}  // namespace

TEST(RangeControl, SpanMin_ParsesThreeNumbersWithBlanksAndKeepsTheText) {
    RangeControl range;
    range.SetSpanMin("-200/ 1370/ 100");
    EXPECT_EQ(range.SpanMin(), "-200/ 1370/ 100");
    EXPECT_FLOAT_EQ(range.LimitMin(), -200);
    EXPECT_FLOAT_EQ(range.LimitMax(), 1370);
    EXPECT_FLOAT_EQ(range.MinimumSpan(), 100);
    range.SetSpanMin("-20/20/8");
    EXPECT_FLOAT_EQ(range.LimitMin(), -20);
    EXPECT_FLOAT_EQ(range.MinimumSpan(), 8);
    range.SetSpanMin("0,5/abc");  // damaged text: what is missing or not a number counts as 0
    EXPECT_FLOAT_EQ(range.LimitMin(), 0.5f);
    EXPECT_FLOAT_EQ(range.LimitMax(), 0);
    EXPECT_FLOAT_EQ(range.MinimumSpan(), 0);
}

TEST(RangeControl, EmptyBoxes_BecomeZeroThenSpanMessageWithFocusOnMax) {
    ScriptedDialogs dialogs;
    RangeControl range = TypeK("", "");
    const RangeVerdict verdict = range.Leave(dialogs);
    EXPECT_FALSE(verdict.accepted);
    EXPECT_EQ(verdict.lastMessage, 5);
    EXPECT_EQ(verdict.focus, RangeFocus::Max);
    EXPECT_EQ(range.TextMaxP, "0");
    EXPECT_EQ(range.TextMinP, "0");
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
        EXPECT_EQ(range.TextMaxP, text);
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
    EXPECT_EQ(range.TextMaxP, "1400");
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
    EXPECT_EQ(range.TextMinP, "xyz");  // nothing converted
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
    equal.SetSpanMin("-200/1370/0");
    EXPECT_TRUE(equal.Leave(dialogs).accepted);
}

TEST(RangeControl, Accepted_RewritesNumbersInStandardForm_SpanEqualToMinimumPasses) {
    ScriptedDialogs dialogs;
    RangeControl range = TypeK(" 007,50", "107.500");
    EXPECT_TRUE(range.Leave(dialogs).accepted);
    EXPECT_EQ(range.TextMinP, "7.5");
    EXPECT_EQ(range.TextMaxP, "107.5");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(RangeControl, EnglishSpanMessage_IsStringTableText463) {
    ScriptedDialogs dialogs;
    RangeControl range = TypeK("0", "50");
    range.Language = 300;
    range.Leave(dialogs);
    EXPECT_EQ(dialogs.shown.at(0).text, "The programming with this Span will involve the noise to correct measure");
    EXPECT_EQ(range.MessageFor(RangeMessageCode::InvalidFormat).text, "Invalid Format");
}
