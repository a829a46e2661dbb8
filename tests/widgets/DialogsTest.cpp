// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QChartView>
#include <QXYSeries>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "widgets/WidgetFixture.h"
#include "ui/widgets/PointsEditorDialog.h"
#include "ui/widgets/QtDialogs.h"
#include "ui/widgets/TripsDialog.h"

using namespace vantrel;
using ui::PointsBox;
using ui::PointsPage;
using widgets::test::ScriptedDialogs;
using widgets::test::TypeInto;

namespace {

ui::PointsEditorRequest SensorRequest(bool coldJunction = false) {
    ui::PointsEditorRequest r;
    r.encoding = {1, coldJunction ? 1 : 0};
    r.title = " (Custom) Termocoppia";
    r.inputUnit = "mV";
    r.physicalUnit = "Temp";
    r.coldJunctionPage = coldJunction;
    return r;
}

struct EditorFixture : widgets::test::EditorWindow {
    explicit EditorFixture(bool coldJunction = false) : EditorWindow(SensorRequest(coldJunction), 10, 0) {
        EXPECT_TRUE(active);
    }
};

}  // namespace

// Letters do not pass; Enter takes the count without closing: an even count shows the added
// row greyed without boxes, a count above the model's most is refused and selected.
TEST(PointsEditorDialog, CountBox_EvenCountAddsAGreyedRow_TooManyIsRefusedAndSelected) {
    EditorFixture f;
    QLineEdit* count = f.dialog->countBox(PointsPage::Sensor);
    TypeInto(count, "a4");
    EXPECT_EQ(count->text(), "4");
    QTest::keyClick(count, Qt::Key_Return);
    EXPECT_TRUE(f.dialog->isVisible());
    EXPECT_TRUE(f.Box(3, PointsBox::Input)->isVisible());
    EXPECT_TRUE(f.dialog->rowLabel(PointsPage::Sensor, 4)->isVisible());
    EXPECT_FALSE(f.Box(4, PointsBox::Input)->isVisible());
    EXPECT_FALSE(f.dialog->rowLabel(PointsPage::Sensor, 5)->isVisible());
    TypeInto(count, "28");
    QTest::keyClick(count, Qt::Key_Return);
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_TRUE(count->hasFocus());
    EXPECT_EQ(count->selectedText(), "28");
}

// A refused table keeps the dialog open with the box at fault focused and selected, on its page.
TEST(PointsEditorDialog, RefusedTable_FocusesTheBoxAtFaultOnItsPage) {
    EditorFixture f(true);
    const auto type = [&f](PointsPage page, int row, const char* input, const char* physical) {
        TypeInto(f.dialog->valueBox(page, row, PointsBox::Input), input);
        TypeInto(f.dialog->valueBox(page, row, PointsBox::Physical), physical);
    };
    f.dialog->pages()->setCurrentIndex(1);
    type(PointsPage::ColdJunction, 0, "0", "0");
    type(PointsPage::ColdJunction, 1, "1", "71");
    f.dialog->pages()->setCurrentIndex(0);
    type(PointsPage::Sensor, 0, "0", "0");
    type(PointsPage::Sensor, 1, "5", "100");
    QTest::mouseClick(f.dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(f.dialog->pages()->currentIndex(), 1);
    EXPECT_TRUE(f.dialog->valueBox(PointsPage::ColdJunction, 1, PointsBox::Physical)->hasFocus());

    type(PointsPage::ColdJunction, 1, "1", "50");
    f.dialog->pages()->setCurrentIndex(0);
    TypeInto(f.dialog->countBox(PointsPage::Sensor), "3");
    type(PointsPage::Sensor, 2, "3", "50");  // falls after row 1
    QTest::mouseClick(f.dialog->okButton(), Qt::LeftButton);
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_TRUE(f.dialog->isVisible());
    EXPECT_TRUE(f.Box(1, PointsBox::Input)->hasFocus());
    EXPECT_EQ(f.Box(1, PointsBox::Input)->selectedText(), "5");

    TypeInto(f.Box(2, PointsBox::Input), "9");
    QTest::mouseClick(f.dialog->okButton(), Qt::LeftButton);
    EXPECT_FALSE(f.dialog->isVisible());
    EXPECT_EQ(f.dialog->Result().rangeMax, "50");
}

// A click selects the count and a count typed is taken at once (its rows appear without
// Enter); the plot shows the points of the page on show, cold junction included.
TEST(PointsEditorDialog, CountTakenAsTyped_ThePlotFollowsThePageOnShow) {
    EditorFixture f(true);
    f.dialog->pages()->setCurrentIndex(1);
    QLineEdit* count = f.dialog->countBox(PointsPage::ColdJunction);
    QTest::mouseClick(count, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(count->selectedText(), count->text());
    QTest::keyClicks(count, "3");
    const double cjc[3][2] = {{-0.8, -20}, {0, 0}, {1.6, 40}};
    for (int row = 0; row < 3; ++row) {
        TypeInto(f.dialog->valueBox(PointsPage::ColdJunction, row, PointsBox::Input), QString::number(cjc[row][0]));
        TypeInto(f.dialog->valueBox(PointsPage::ColdJunction, row, PointsBox::Physical), QString::number(cjc[row][1]));
    }
    const auto plotted = [&f] {
        const auto series = f.dialog->findChild<QChartView*>("PointsPlot")->chart()->series();
        return static_cast<QXYSeries*>(series.back())->points();
    };
    ASSERT_EQ(plotted().size(), 3);
    EXPECT_EQ(plotted()[2], QPointF(1.6, 40));
    f.dialog->pages()->setCurrentIndex(0);
    EXPECT_TRUE(plotted().isEmpty());  // the sensor page holds no points yet
}

TEST(PointsEditorDialog, ArrowKeysMoveBetweenRows_ValueIsRewrittenOnLeaving) {
    EditorFixture f;
    TypeInto(f.Box(0, PointsBox::Input), "01,50");
    QTest::keyClick(f.Box(0, PointsBox::Input), Qt::Key_Down);
    EXPECT_TRUE(f.Box(1, PointsBox::Input)->hasFocus());
    EXPECT_EQ(f.Box(0, PointsBox::Input)->text(), "1.5");
}

namespace {

struct TripsFixture {
    device::WorkingState working;
    ScriptedDialogs dialogs;
    ui::TripsForm form{working};
    std::unique_ptr<widgets::TripsDialog> dialog;

    TripsFixture() {
        working.SetLanguageOffset(0);
        form.Open("0", "200", "°C");
        dialog = std::make_unique<widgets::TripsDialog>(form, working, ui::TripsFormRequest{"Annulla", "0", "200", "°C"},
                                                        dialogs);
        EXPECT_TRUE(widgets::test::ShowActive(*dialog));
    }
};

}  // namespace

TEST(TripsDialog, LeavingTheBoxesAndSwitchingToMin_ComputesTheLevels) {
    TripsFixture f;
    TypeInto(f.dialog->thresholdBox(1), "150");
    TypeInto(f.dialog->hysteresisBox(1), "5");
    f.dialog->delayBox()->setFocus();
    EXPECT_EQ(f.working.TripLevels[1], 140.0f);

    QTest::mouseClick(f.dialog->minOption(1), Qt::LeftButton);  // a minimum trip: 150 is its low level
    EXPECT_EQ(f.working.TripLevels[0], 160.0f);
    EXPECT_EQ(f.working.TripLevels[1], 150.0f);

    TypeInto(f.dialog->delayBox(), "1");
    QTest::mouseClick(f.dialog->okButton(), Qt::LeftButton);
    EXPECT_FALSE(f.dialog->isVisible());
    EXPECT_EQ(f.working.TripFlags & 3, 2);  // trip 1 is a minimum trip
}

TEST(TripsDialog, BadThreshold_IsRefusedAndCancelRestoresEverything) {
    TripsFixture f;
    const device::WorkingState before = f.working;
    TypeInto(f.dialog->thresholdBox(2), "12x");
    f.dialog->delayBox()->setFocus();
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_TRUE(f.dialog->thresholdBox(2)->hasFocus());
    EXPECT_EQ(f.dialog->thresholdBox(2)->text(), ".0");  // the previous value is back

    TypeInto(f.dialog->thresholdBox(1), "100");
    TypeInto(f.dialog->delayBox(), "13");  // beyond one byte: the form stays open
    QTest::mouseClick(f.dialog->okButton(), Qt::LeftButton);
    EXPECT_TRUE(f.dialog->delayBox()->hasFocus());
    QTest::mouseClick(f.dialog->minOption(2), Qt::LeftButton);
    QTest::mouseClick(f.dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(f.working.TripLevels, before.TripLevels);
    EXPECT_EQ(f.working.TripDelayTicks, before.TripDelayTicks);
    EXPECT_EQ(f.working.TripFlags, before.TripFlags);
}

TEST(QtFileDialogs, FilterPairs_BecomeQtNameFilters) {
    EXPECT_EQ(widgets::ConvertFileFilter("File di Programmazione(*.D70)|*.D70| Tutti i files (*.*)|*.*|"),
              (QStringList{"File di Programmazione (*.D70)", "Tutti i files (*.*)"}));
    EXPECT_EQ(widgets::ConvertFileFilter("Files|*.D70;*.d70|"), (QStringList{"Files (*.D70 *.d70)"}));
    EXPECT_TRUE(widgets::ConvertFileFilter("").isEmpty());
}
