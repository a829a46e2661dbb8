// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Fakes.h"
#include "ui/model/SerialNumberWindow.h"

using namespace vantrel;
using namespace vantrel::ui;

TEST(SerialNumberWindow, ShowsStoredRecordWithTwoDigitYear_Locked) {
    device::SerialNumber stored{12, 0, 91, 528};
    SerialNumberWindow window(stored);
    window.Open();
    EXPECT_EQ(window.yearText, "05");
    EXPECT_EQ(window.progressiveText, "528");
    EXPECT_FALSE(window.editing);
    EXPECT_FALSE(window.writeButtonVisible);
    window.ReadFinished(false);
    EXPECT_EQ(window.yearText, "0");
    window.Close();
    EXPECT_EQ(window.yearText, "05");
}

TEST(SerialNumberWindow, FieldOutOfRange_ShowsItalianMessageAndRestoresOnlyThatField) {
    device::SerialNumber stored{12, 5, 91, 528};
    SerialNumberWindow window(stored);
    window.Open();
    test::ScriptedDialogs dialogs;
    window.yearText = "21";
    window.orderText = "100";
    window.LeaveField(SerialField::Year, dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "L'anno deve essere compreso tra 05 (2005) e 20 (2020)");
    EXPECT_EQ(window.yearText, "10");
    EXPECT_EQ(window.orderText, "100");

    struct Case {
        SerialField field;
        const char* bad;
        const char* good;
    };
    // A number too large for a Double is refused, not read as 0.
    for (const Case c : {Case{SerialField::Customer, "256", "255"}, Case{SerialField::Order, "128", "0"},
                         Case{SerialField::Progressive, "8001", "8000"}, Case{SerialField::Year, "4", "20"},
                         Case{SerialField::Customer, "1e999", "0"}, Case{SerialField::Order, "-1e999", "0"}}) {
        window.FieldText(c.field) = c.bad;
        EXPECT_TRUE(window.LeaveField(c.field).has_value()) << c.bad;
        window.FieldText(c.field) = c.good;
        EXPECT_FALSE(window.LeaveField(c.field).has_value()) << c.good;
    }
}
