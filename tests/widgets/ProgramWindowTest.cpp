// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "widgets/WidgetFixture.h"
#include "ui/model/Language.h"
#include "ui/widgets/Lamp.h"
#include "ui/widgets/ProgramWindow.h"
#include "ui/widgets/RangeControlWidget.h"

using namespace vantrel;
using widgets::ProgramWindow;
using widgets::test::FormFixture;

namespace {

struct WindowFixture : FormFixture {
    ProgramWindow window{form, dialogs};

    explicit WindowFixture(int family = 4, int model = 10) : FormFixture(family, model) {
        window.resize(1280, 760);
        EXPECT_TRUE(widgets::test::ShowActive(window));
    }
    template <typename W>
    W* Get(const char* name) {
        W* w = window.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Programming() { QTest::mouseClick(Get<QWidget>("programmingOption"), Qt::LeftButton); }
};

}  // namespace

TEST(ProgramWindow, UnitButtonAndFamilyList_UpdateTheInputRangeControl) {
    WindowFixture f;
    f.Programming();
    QTest::mouseClick(f.Get<QPushButton>("unitButton"), Qt::LeftButton);
    EXPECT_EQ(f.window.rangeIn()->maxBox()->text(), "392");  // 200 °C
    QTest::mouseClick(f.Get<QPushButton>("unitButton"), Qt::LeftButton);

    auto* family = f.Get<QComboBox>("inputFamilies");
    family->setFocus();
    QTest::keyClick(family, Qt::Key_Down);  // Termocoppia -> RTD
    EXPECT_EQ(f.window.rangeIn()->maxBox()->text(), "100");
    EXPECT_TRUE(f.Get<QComboBox>("rtdSensors")->isVisible());
    QTest::keyClick(family, Qt::Key_Down);  // Potenziometro
    EXPECT_EQ(f.window.rangeIn()->findChild<QLabel*>("LTmax")->text(), "% Max");
    EXPECT_FALSE(f.Get<QPushButton>("unitButton")->isVisible());
}

TEST(ProgramWindow, AdjustmentBox_FiltersKeysAndMovesTheSliderOnEnter) {
    WindowFixture f;
    f.Programming();
    auto* box = f.Get<QLineEdit>("zeroTrim");
    widgets::test::TypeInto(box, "2a,5");
    EXPECT_EQ(box->text(), "2,5");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(f.Get<QSlider>("zeroSlider")->value(), 25);
    f.Get<QSlider>("spanSlider")->setValue(-13);
    EXPECT_EQ(f.Get<QLineEdit>("spanTrim")->text(), "-1.3");
}

TEST(ProgramWindow, ModeDecidesWhichFramesShow) {
    WindowFixture f;
    EXPECT_TRUE(f.Get<QWidget>("displayFrame")->isVisible());
    f.Programming();
    EXPECT_TRUE(f.Get<QWidget>("inputOutputRow")->isVisible());
    EXPECT_FALSE(f.Get<QWidget>("displayFrame")->isVisible());
}

TEST(ProgramWindow, BeforeLoadingChoosesAMode_OnlyOnePageShows) {
    device::WorkingState state;
    device::ConfigRecord record;
    ui::test::FakeHost host;
    ui::test::ScriptedDialogs dialogs;
    ui::ProgramForm form{state, record, host, dialogs};
    ProgramWindow window{form, dialogs};
    window.resize(1280, 760);
    window.show();
    auto* options = window.findChild<QWidget*>("inputOutputRow");
    auto* measure = window.findChild<QWidget*>("measurePage");
    ASSERT_TRUE(options && measure);
    EXPECT_NE(options->isVisible(), measure->isVisible());
}

TEST(ProgramWindow, LeavingTheInputRange_ChecksItThroughTheForm) {
    WindowFixture f;
    f.Programming();
    auto* max = f.window.rangeIn()->maxBox();
    widgets::test::TypeInto(max, "50");
    EXPECT_TRUE(f.state.ConfigChanged);
    f.Get<QComboBox>("outputTypes")->setFocus();
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, "Valore fuori Range");
    EXPECT_TRUE(max->hasFocus());
}

TEST(ProgramWindow, GuidedMode_PanelAndMarkersFollowNext) {
    WindowFixture f;
    f.Programming();
    f.form.guide().Start();
    auto* panel = f.Get<QWidget>("guidePanel");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(f.Get<QWidget>("guideMarker0")->isVisible());

    QTest::mouseClick(f.Get<QPushButton>("guideOk"), Qt::LeftButton);
    EXPECT_FALSE(f.Get<QWidget>("guideMarker0")->isVisible());
    auto* family = f.Get<QComboBox>("inputFamilies");
    EXPECT_TRUE(family->hasFocus());
    // The marker stands just left of its control.
    const QRect familyRect(family->mapTo(&f.window, QPoint(0, 0)), family->size());
    const QRect markerRect = f.Get<QWidget>("guideMarker1")->geometry();
    EXPECT_LE(markerRect.right(), familyRect.left());

    // Blinking alternates the marker between blue and grey.
    auto* marker = static_cast<widgets::Lamp*>(f.Get<QWidget>("guideMarker1"));
    f.form.guide().Blink();
    EXPECT_EQ(marker->colour(), QColor(0, 0, 255));
    f.form.guide().Blink();
    EXPECT_EQ(marker->colour(), QColor(192, 192, 192));

    QTest::mouseClick(f.Get<QPushButton>("guideCancel"), Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(f.Get<QWidget>("inputFrame")->isEnabled());
}

// The floating guide panel must never hide what the step is about: its control, its marker,
// the labels the steps change (unit, output type, burn-out, direction, zero and span), and on
// the range steps (where the column has room below) no control at all.
TEST(ProgramWindow, GuidePanel_StaysInsideAndLeavesTheStepsControlVisible) {
    WindowFixture f;
    f.Programming();
    f.form.guide().Start();
    auto* panel = f.Get<QWidget>("guidePanel");
    const auto rectIn = [&](const QWidget* w) { return QRect(w->mapTo(&f.window, QPoint(0, 0)), w->size()); };
    for (int guard = 0; f.form.guide().running && guard < 20; ++guard) {
        const int step = f.form.guide().step;
        SCOPED_TRACE(step);
        const QRect placed = panel->geometry();
        EXPECT_TRUE(f.window.rect().contains(placed));
        const QWidget* target = f.window.GuideTargetWidget(f.form.guide().focus);
        if (target && target->isVisible()) {
            EXPECT_FALSE(placed.intersects(rectIn(target)));
        }
        EXPECT_FALSE(placed.intersects(f.Get<QWidget>(QString("guideMarker%1").arg(step).toUtf8().constData())->geometry()));
        for (const char* name : {"unitLabel", "outputTypeLabel", "outputTypes", "burnoutLabel", "directionLabel", "Ranges"}) {
            const QWidget* label = f.Get<QWidget>(name);
            if (label->isVisible()) {
                EXPECT_FALSE(placed.intersects(rectIn(label))) << name;
            }
        }
        if (step == 7 || step == 11) {
            for (const QWidget* w : f.window.findChildren<QWidget*>()) {
                const bool control = qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
                                     qobject_cast<const QAbstractButton*>(w);
                if (control && w->isVisible() && !panel->isAncestorOf(w)) {
                    EXPECT_FALSE(placed.intersects(rectIn(w))) << w->objectName().toStdString();
                }
            }
        }
        QTest::mouseClick(f.Get<QPushButton>("guideOk"), Qt::LeftButton);
    }
    EXPECT_FALSE(f.form.guide().running);
}

TEST(ProgramWindow, LanguageSwitch_RedrawsEveryTextFromTheForm) {
    WindowFixture f;
    ui::ChooseLanguage(f.form, 1);
    EXPECT_EQ(f.Get<QGroupBox>("Input")->title().toStdString(), resources::Text(232, 300));
    EXPECT_EQ(f.Get<QCheckBox>("internalCjc")->text().toStdString(), resources::Text(91, 300));
}

TEST(ProgramWindow, Measurement_ShowsValueLampsAndClickOpensTheLargeDisplay) {
    WindowFixture f;
    int clicks = 0;
    QObject::connect(&f.window, &ProgramWindow::displayClicked, [&clicks] { ++clicks; });

    measure::Scale scale;
    scale.rangeTop = 200;
    f.window.Started(scale);
    measure::Reading reading;
    reading.valueText = "250  °C";
    reading.outputText = "20.800  mA";
    reading.range.overRange = measure::Lamp::Red;
    reading.range.bar = 200;
    f.window.Show(reading);
    EXPECT_EQ(f.Get<QLabel>("display")->text(), "250  °C");
    EXPECT_EQ(static_cast<widgets::Lamp*>(f.Get<QWidget>("overRangeLamp"))->colour(), QColor(255, 0, 0));
    QTest::mouseClick(f.Get<QLabel>("display"), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}
