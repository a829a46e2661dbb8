// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The linearisation preview window and the points editor's sensor matching (import, export,
// generated curves, the points plot), offscreen.
#include <gtest/gtest.h>

#include <QChart>
#include <QChartView>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QPalette>
#include <QTemporaryDir>

#include "widgets/WidgetFixture.h"
#include "device/PlanPreview.h"
#include "render/Chart.h"
#include "ui/widgets/ChartWidget.h"
#include "ui/widgets/Palette.h"
#include "ui/widgets/PointsEditorDialog.h"
#include "ui/widgets/PreviewDialog.h"

using namespace vantrel;
using ui::PointsBox;
using ui::PointsPage;
using widgets::test::ScriptedDialogs;
using widgets::test::TypeKPreview;

namespace {

ui::PointsEditorRequest ResistanceRequest() {
    ui::PointsEditorRequest request;
    request.encoding = {51, 0};
    request.title = " (Custom) Resistance";
    request.inputUnit = "Ohm";
    request.physicalUnit = "Temp";
    return request;
}

struct MatchingFixture : widgets::test::EditorWindow {
    QTemporaryDir folder;

    MatchingFixture() : EditorWindow(ResistanceRequest(), 9, 300) {}
    QString Path(const char* name) const { return folder.filePath(name); }
    void WriteFile(const char* name, const QByteArray& bytes) const {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString Text(int row, PointsBox box) const { return Box(row, box)->text(); }
    int PlottedPoints() const {
        const auto series = dialog->plot()->chart()->series();
        return static_cast<int>(qobject_cast<QLineSeries*>(series.front())->count());
    }
};

}  // namespace

TEST(PreviewDialog, TypeK_StatesTheLargestErrorAndDrawsThreeCurves) {
    const device::PlanPreview preview = TypeKPreview(1000);
    widgets::PreviewDialog dialog(preview, 300);
    dialog.show();
    widgets::PreviewPanel* panel = dialog.panel();
    EXPECT_TRUE(panel->largestErrorLabel()->text().startsWith("Largest error: -0."));
    EXPECT_FALSE(panel->noteLabel()->isVisible());
    const auto& lines = panel->chart()->chart().lines;
    ASSERT_EQ(lines.size(), 4u);  // sensor curve, table, breakpoints, error
    EXPECT_EQ(lines[2].points.size(), 29);
    EXPECT_TRUE(lines[3].rightAxis);
}

TEST(PreviewDialog, NarrowRangeAndRefusal_ShowTheReason) {
    widgets::PreviewDialog noisy(TypeKPreview(100, 0, 3), 0);
    noisy.show();
    EXPECT_TRUE(noisy.panel()->noteLabel()->text().startsWith("Campo stretto"));
    EXPECT_TRUE(noisy.panel()->largestErrorLabel()->isVisible());

    device::PlanPreview refused;
    refused.note = "No preview: This input type cannot be programmed.";
    widgets::PreviewDialog none(refused, 300);
    none.show();
    EXPECT_FALSE(none.panel()->largestErrorLabel()->isVisible());
    EXPECT_EQ(none.panel()->noteLabel()->text(), QString::fromStdString(refused.note));
}

TEST(PointsEditorMatching, ExportThenImport_RoundTripsAndBadFilesChangeNothing) {
    MatchingFixture f;
    ASSERT_TRUE(f.dialog->Generate({100, 3.90802e-3, -5.802e-7, -4.2735e-12}, -50, 150, 9));
    EXPECT_EQ(f.PlottedPoints(), 9);
    ASSERT_TRUE(f.dialog->ExportTo(f.Path("rtdSensors.csv")));
    const QStringList before = {f.Text(0, PointsBox::Input), f.Text(8, PointsBox::Input), f.Text(8, PointsBox::Physical)};

    f.WriteFile("bad.csv", "input;physical\n100;0\n110;x\n");
    EXPECT_FALSE(f.dialog->ImportFrom(f.Path("bad.csv")));
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown.back().text, "Invalid CSV file at line 3\n" + f.Path("bad.csv").toStdString());
    EXPECT_FALSE(f.dialog->ImportFrom(f.Path("absent.csv")));
    EXPECT_EQ(f.dialogs.shown.back().text,
              "The file cannot be read:\n" + f.Path("absent.csv").toStdString() +
                  "\nThe file, or the folder holding it, does not exist.");
    EXPECT_EQ(f.Text(8, PointsBox::Input), before[1]);
    f.WriteFile("other.csv", "a,b\n1,10\n2,20\n3,30\n");
    ASSERT_TRUE(f.dialog->ImportFrom(f.Path("other.csv")));
    EXPECT_EQ(f.PlottedPoints(), 3);
    ASSERT_TRUE(f.dialog->ImportFrom(f.Path("rtdSensors.csv")));
    EXPECT_EQ(QStringList({f.Text(0, PointsBox::Input), f.Text(8, PointsBox::Input), f.Text(8, PointsBox::Physical)}),
              before);

    EXPECT_FALSE(f.dialog->ExportTo(f.Path("none/pt.csv")));
    EXPECT_EQ(f.dialogs.shown.back().text.rfind("The file cannot be written:", 0), 0u);
}

TEST(Palette, TheFormsSignalButtonsReadOnLightAndDarkThemes) {
    const QColor window[] = {QColor(0xef, 0xef, 0xef), QColor(0x2b, 0x2b, 0x2b)};
    for (const QColor& base : {QColor(0, 255, 255), QColor(255, 255, 0), QColor(128, 255, 128), QColor(255, 0, 0)}) {
        for (const bool dark : {false, true}) {
            const widgets::ButtonColours c = widgets::ActionButtonColours(base, dark);
            EXPECT_GE(widgets::ContrastRatio(c.text, c.background), 4.5) << base.name().toStdString() << dark;
            EXPECT_GE(widgets::ContrastRatio(c.text, c.hover), 3.0) << base.name().toStdString() << dark;
            // A dark theme gets no glaring button: it stays darker than light text.
            if (dark) {
                EXPECT_LT(c.background.lightnessF(), 0.35) << base.name().toStdString();
            }
            EXPECT_NE(c.background, window[dark ? 1 : 0]);
        }
    }
}

TEST(Palette, DarkIsToldByTheWindowColour) {
    QPalette light;
    light.setColor(QPalette::Window, QColor(0xef, 0xef, 0xef));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x31, 0x36, 0x3b));
    EXPECT_FALSE(render::IsDark(light));
    EXPECT_TRUE(render::IsDark(dark));
    EXPECT_GE(widgets::ContrastRatio(render::ChartColours::Dark().text, render::ChartColours::Dark().background), 7);
}
