// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QVBoxLayout>

#include "widgets/WidgetFixture.h"
#include "ui/widgets/RangeControlWidget.h"

using namespace vantrel;
using widgets::RangeControlWidget;
using widgets::test::TypeInto;

namespace {

// A window with the range control of a type K thermocouple in °C and one other box to move
// the focus to.
struct RangeWindow {
    ui::RangeControl model;
    widgets::test::ScriptedDialogs dialogs;
    QWidget window;
    RangeControlWidget* range = new RangeControlWidget(&window);
    QLineEdit* elsewhere = new QLineEdit(&window);

    RangeWindow() {
        model.SetLimits(-200, 1370, 100);
        model.SetUnit("°C");
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(range);
        layout->addWidget(elsewhere);
        range->Bind(&model);
        range->SetTypeHandler([this](bool max, std::string text) {
            max ? model.TypeMax(std::move(text)) : model.TypeMin(std::move(text));
        });
        range->SetLeaveHandler([this] { return model.Leave(dialogs); });
        EXPECT_TRUE(widgets::test::ShowActive(window));
    }
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

// Leaving the control checks it once; a refused range gives the focus back to the box at
// fault with its whole text selected, an accepted one shows the numbers in standard form.
TEST(RangeControlWidget, Leaving_RefusedRangeSelectsTheBoxAtFault_AcceptedIsRewritten) {
    struct Case {
        const char *min, *max;
        link::Answer answer;
        std::size_t messages;
        int focus;  // 0 elsewhere (accepted), 1 the maximum, 2 the minimum
        const char *minShown, *maxShown;
    };
    const Case cases[] = {
        {"0", "50", link::Answer::Ok, 1, 1, "0", "50"},             // span too small
        {"0", "1400", link::Answer::Ok, 1, 0, "0", "1400"},         // out of range, kept
        {"-300", "100", link::Answer::Cancel, 1, 2, "-300", "100"},  // out of range, refused
        {"", "0400,50", link::Answer::Ok, 0, 0, "0", "400.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.min) + " .. " + c.max);
        RangeWindow w;
        w.dialogs.answers = {c.answer};
        TypeInto(w.range->minBox(), c.min);
        TypeInto(w.range->maxBox(), c.max);
        w.elsewhere->setFocus();
        EXPECT_EQ(w.dialogs.shown.size(), c.messages);
        QLineEdit* focused = c.focus == 0 ? w.elsewhere : c.focus == 1 ? w.range->maxBox() : w.range->minBox();
        EXPECT_TRUE(focused->hasFocus());
        if (c.focus != 0) { EXPECT_EQ(focused->selectedText(), focused->text()); }
        EXPECT_EQ(w.range->minBox()->text(), c.minShown);
        EXPECT_EQ(w.range->maxBox()->text(), c.maxShown);
    }
}
