// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "Typing.h"
#include "WidgetFixture.h"
#include "ui/widgets/RangeControlWidget.h"

using namespace vantrel;
using widgets::RangeControlWidget;
using widgets::test::TypeInto;
using widgets::test::ScriptedDialogs;

namespace {

// A window with the range control and one other box to move the focus to.
struct RangeWindow {
    ui::RangeControl model;
    ScriptedDialogs dialogs;
    QWidget window;
    RangeControlWidget* range = new RangeControlWidget(&window);
    QLineEdit* elsewhere = new QLineEdit(&window);

    RangeWindow() {
        // Type K thermocouple in °C.
        model.SetLimits(-200, 1370, 100);
        model.SetUnit("°C");
        model.SetTitle(ui::TextRef::Id(208));
        model.SetCaptions(ui::TextRef::Id(94), ui::TextRef::Id(95));
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(range);
        layout->addWidget(elsewhere);
        range->Bind(&model);
        range->SetTypeHandler([this](bool max, std::string text) {
            max ? model.TypeMax(std::move(text)) : model.TypeMin(std::move(text));
        });
        range->SetLeaveHandler([this] { return model.Leave(dialogs); });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void LeaveControl() { elsewhere->setFocus(); }
    bool WholeTextSelected(QLineEdit* box) const { return box->hasSelectedText() && box->selectedText() == box->text(); }
};

}  // namespace

TEST(RangeControlWidget, MovingBetweenItsBoxes_DoesNotCheck) {
    RangeWindow w;
    TypeInto(w.range->maxBox(), "50");
    TypeInto(w.range->minBox(), "0");
    TypeInto(w.range->maxBox(), "60");
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.model.maxText(), "60");  // typing writes through to the model
}

TEST(RangeControlWidget, SpanTooSmall_ShowsOkMessageAndSelectsMaximum) {
    RangeWindow w;
    TypeInto(w.range->maxBox(), "50");
    TypeInto(w.range->minBox(), "0");
    w.LeaveControl();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].text, "Valore fuori Range");
    EXPECT_EQ(w.dialogs.shown[0].buttons, link::Buttons::Ok);
    EXPECT_EQ(w.dialogs.shown[0].icon, link::Icon::Exclamation);
    EXPECT_TRUE(w.dialogs.shown[0].title.empty());
    EXPECT_TRUE(w.range->maxBox()->hasFocus());
    EXPECT_TRUE(w.WholeTextSelected(w.range->maxBox()));
}

TEST(RangeControlWidget, SpanTooSmallInEnglish_ShowsTheNoiseText) {
    RangeWindow w;
    w.model.SetLanguage(300);
    TypeInto(w.range->maxBox(), "50");
    TypeInto(w.range->minBox(), "0");
    w.LeaveControl();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].text, resources::Text(163, 300));
}

TEST(RangeControlWidget, OutOfRange_OffersOkAndCancel) {
    RangeWindow cancel;
    cancel.dialogs.answers = {link::Answer::Cancel};
    TypeInto(cancel.range->minBox(), "0");
    TypeInto(cancel.range->maxBox(), "1400");
    cancel.LeaveControl();
    ASSERT_EQ(cancel.dialogs.shown.size(), 1u);
    EXPECT_EQ(cancel.dialogs.shown[0].buttons, link::Buttons::OkCancel);
    EXPECT_TRUE(cancel.range->maxBox()->hasFocus());
    EXPECT_TRUE(cancel.WholeTextSelected(cancel.range->maxBox()));

    RangeWindow ok;
    ok.dialogs.answers = {link::Answer::Ok};
    TypeInto(ok.range->minBox(), "0");
    TypeInto(ok.range->maxBox(), "1400");
    ok.LeaveControl();
    EXPECT_EQ(ok.dialogs.shown.size(), 1u);  // the span is wide enough: accepted
    EXPECT_EQ(ok.range->maxBox()->text(), "1400");
    EXPECT_TRUE(ok.elsewhere->hasFocus());
}

TEST(RangeControlWidget, MinimumBelowLimit_Cancel_SelectsMinimum) {
    RangeWindow w;
    w.dialogs.answers = {link::Answer::Cancel};
    TypeInto(w.range->maxBox(), "100");
    TypeInto(w.range->minBox(), "-300");
    w.LeaveControl();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_TRUE(w.range->minBox()->hasFocus());
    EXPECT_TRUE(w.WholeTextSelected(w.range->minBox()));
}

TEST(RangeControlWidget, BadNumber_InvalidFormatOnTheMaximumOnly) {
    RangeWindow w;
    TypeInto(w.range->minBox(), "xyz");
    TypeInto(w.range->maxBox(), "abc");
    w.LeaveControl();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].text, "Formato non valido");
    EXPECT_TRUE(w.range->maxBox()->hasFocus());
    EXPECT_EQ(w.range->minBox()->text(), "xyz");
}

TEST(RangeControlWidget, AcceptedRange_IsRewrittenInStandardForm) {
    RangeWindow w;
    TypeInto(w.range->maxBox(), "0400,50");
    TypeInto(w.range->minBox(), "");
    w.LeaveControl();
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.range->maxBox()->text(), "400.5");
    EXPECT_EQ(w.range->minBox()->text(), "0");  // an empty box counts as 0
}

TEST(RangeControlWidget, Refresh_ShowsCaptionsUnitsAndEnabledState) {
    RangeWindow w;
    w.model.SetLanguage(300);
    w.model.SetUnit("°F");
    w.model.SetEnabled(false);
    w.range->Refresh();
    EXPECT_EQ(w.range->titleLabel()->text().toStdString(), resources::Text(208, 300));
    EXPECT_FALSE(w.range->isEnabled());
    EXPECT_EQ(w.range->findChildren<QLabel*>().size(), 5);  // title, two captions, two units
}
