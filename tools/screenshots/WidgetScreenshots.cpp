// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the programming window (both languages, measure and programming mode, guided mode
// on a step) and the points editor, trips and serial-number dialogs offscreen into PNG files.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "Screenshots.h"
#include "widgets/WidgetFixture.h"
#include "ui/model/PointsEditor.h"
#include "ui/model/TripsForm.h"
#include "ui/model/Language.h"
#include "ui/model/SerialNumberWindow.h"
#include "device/PlanPreview.h"
#include "ui/widgets/PointsEditorDialog.h"
#include "ui/widgets/PreviewDialog.h"
#include "ui/widgets/ProgramWindow.h"
#include "ui/widgets/SerialNumberDialog.h"
#include "ui/widgets/TripsDialog.h"

using namespace vantrel;

namespace {

QString g_folder;
bool g_failed = false;

void Save(QWidget& widget, const char* name) {
    widget.show();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    const QString path = g_folder + "/" + name + ".png";
    if (qEnvironmentVariableIsSet("SHOTS_DEBUG"))
        std::printf("%s %dx%d min %dx%d\n", name, widget.width(), widget.height(), widget.minimumSizeHint().width(),
                    widget.minimumSizeHint().height());
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        g_failed = true;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// A type K thermocouple, 0..1200 °C, internal compensation, 4..20 mA, as a read finds it.
device::ReadValues ThermocoupleRead() {
    device::ReadValues v;
    v.inputCode = 1;
    v.flags = 1 + 128;
    v.outputFlags = 1;
    v.rangeBottom = 0;
    v.rangeTop = 1200;
    v.outputFirst = 20;
    v.outputSecond = 4;
    v.outputType = 2;
    v.tripValues = {0, 900, 880, 100, 110, 20, 0};
    v.tripFlags = 1;
    return v;
}

void ProgramWindows(int languageIndex) {
    widgets::test::FormFixture f(4, 10, languageIndex == 0 ? 0 : 300);
    f.form.SetConnected(true);
    f.form.ApplyRead(ThermocoupleRead());
    ui::ApplyLanguage(f.form);
    widgets::ProgramWindow window(f.form, f.dialogs);
    window.resize(1280, 760);
    const char* lang = languageIndex == 0 ? "it" : "en";

    // A minute of readings at one a second, the last one on the display, at fixed times so
    // the pictures do not change from run to run.
    std::int64_t now = 1'790'000'000'000;
    window.SetTimeSource([&now] { return measure::Timestamp{now, 0}; });
    measure::Scale scale;
    scale.rangeTop = 1200;
    scale.outputLow = 4;
    scale.outputHigh = 20;
    window.Started(scale);
    measure::Reading reading;
    reading.unit = math::Unit::Celsius;
    reading.rangeTop = 1200;
    reading.trips = measure::TripLamps{measure::Lamp::Green, measure::Lamp::Red};
    for (int second = 0; second <= 60; ++second) {
        now += 1000;
        const double value = 742 - 90 * std::cos(second / 9.0);
        const double output = 4 + 16 * value / 1200;
        reading.value = value;
        reading.output = output;
        reading.valueText = QString::number(value, 'f', 0).toStdString() + "  °C";
        reading.outputText = QString::number(output, 'f', 3).toStdString() + "  mA";
        reading.range.bar = value;
        window.Show(reading);
    }
    Save(window, QString("program-measure-%1").arg(lang).toUtf8().constData());

    window.Stopped();
    f.form.SetDisplay({});
    f.form.ChooseMode(ui::Mode::Programming);
    Save(window, QString("program-programming-%1").arg(lang).toUtf8().constData());

    f.form.guide().Start();
    for (int i = 0; i < 7; ++i) f.form.guide().Next();  // the input range step
    f.form.guide().Blink();
    Save(window, QString("program-guided-%1").arg(lang).toUtf8().constData());
    f.form.guide().Cancel();

    f.form.ChooseFamily(1);  // RTD: other lists, no compensation
    Save(window, QString("program-rtd-%1").arg(lang).toUtf8().constData());
}

void PointsEditor(int languageOffset) {
    device::WorkingState working;
    working.SetLanguageOffset(languageOffset);
    // Four user points and the added fifth one.
    const float input[] = {0.0f, 4.096f, 8.138f, 12.209f, 12.514f};
    const float physical[] = {0, 100, 200, 300, 307.5f};
    working.PointExtra = true;
    for (int i = 0; i < 5; ++i) {
        working.PtInput[static_cast<std::size_t>(i)] = input[i];
        working.PtPhysical[static_cast<std::size_t>(i)] = physical[i];
    }
    working.SensorPoints = 5;
    working.CjcPoints = 3;
    const float cjcIn[] = {-0.798f, 0.0f, 1.612f};
    const float cjcPh[] = {-20, 0, 40};
    for (int i = 0; i < 3; ++i) {
        working.CjcInput[static_cast<std::size_t>(i)] = cjcIn[i];
        working.CjcPhysical[static_cast<std::size_t>(i)] = cjcPh[i];
    }
    ui::PointsEditorRequest request;
    request.encoding = {2, 1};
    request.title = " (Custom) " + resources::Text(31, languageOffset) + " " + resources::Text(209, languageOffset);
    request.inputUnit = "mV";
    request.physicalUnit = "Temp";
    request.coldJunctionPage = true;
    request.coldJunctionTitle = resources::Text(165, languageOffset);
    request.cancelCaption = resources::Text(144, languageOffset);
    ui::PointsEditor editor(working, true, request.encoding.optionFlags);
    editor.Open();
    widgets::test::ScriptedDialogs dialogs;
    widgets::PointsEditorDialog dialog(editor, request, dialogs, languageOffset);
    const char* lang = languageOffset == 0 ? "it" : "en";
    Save(dialog, QString("points-editor-sensor-%1").arg(lang).toUtf8().constData());
    dialog.pages()->setCurrentIndex(1);
    Save(dialog, QString("points-editor-junction-%1").arg(lang).toUtf8().constData());
}

// The linearisation preview of a type K 0..1000 °C and of a type S 0..100 °C, too narrow to
// be quiet.
void Preview(int languageOffset) {
    const char* lang = languageOffset == 0 ? "it" : "en";
    widgets::PreviewDialog wide(widgets::test::TypeKPreview(1000, languageOffset), languageOffset);
    Save(wide, QString("preview-%1").arg(lang).toUtf8().constData());
    widgets::PreviewDialog noisy(widgets::test::TypeKPreview(100, languageOffset, 3), languageOffset);
    Save(noisy, QString("preview-noisy-%1").arg(lang).toUtf8().constData());
}

// The points editor of a resistance input with a characterised Pt100 generated from its
// Callendar-Van Dusen coefficients.
void PointsEditorGenerated(int languageOffset) {
    device::WorkingState working;
    working.SetLanguageOffset(languageOffset);
    working.identity.DeviceModel = 9;
    ui::PointsEditorRequest request;
    request.encoding = {51, 0};
    request.title = " (Custom) " + resources::Text(154, languageOffset);
    request.inputUnit = "Ohm";
    request.physicalUnit = "Temp";
    request.cancelCaption = resources::Text(144, languageOffset);
    ui::PointsEditor editor(working, false, 0);
    editor.Open();
    widgets::test::ScriptedDialogs dialogs;
    widgets::PointsEditorDialog dialog(editor, request, dialogs, languageOffset);
    dialog.Generate(math::CvdFromAlphaBetaDelta(100, 0.00385055, 0.10863, 1.4999), -50, 400, 19);
    Save(dialog, languageOffset == 0 ? "points-editor-cvd-it" : "points-editor-cvd-en");
}

void Trips(int languageOffset) {
    device::WorkingState working;
    working.SetLanguageOffset(languageOffset);
    working.TripLevels = {900, 880, 110, 100};
    working.TripFlags = 1;  // trip 2 is a minimum trip
    working.TripDelayTicks = 10;
    ui::TripsForm form(working);
    form.Open("0", "1200", "°C");
    widgets::test::ScriptedDialogs dialogs;
    widgets::TripsDialog dialog(form, working, {resources::Text(144, languageOffset), "0", "1200", "°C"}, dialogs);
    dialog.Recompute(1);
    dialog.Recompute(2);
    Save(dialog, languageOffset == 0 ? "trips-it" : "trips-en");
}

void Serial(int languageOffset) {
    device::SerialNumber stored{12, 5, 91, 528};
    ui::SerialNumberWindow model(stored);
    widgets::test::ScriptedDialogs dialogs;
    widgets::SerialNumberDialog dialog(model, dialogs, [] { return true; }, languageOffset);
    Save(dialog, languageOffset == 0 ? "serial-it" : "serial-en");
}

}  // namespace

bool vantrel::SaveWidgetScreenshots(const std::filesystem::path& folder) {
    g_folder = QString::fromStdString(folder.string());
    QDir().mkpath(g_folder);
    for (int language : {0, 1}) ProgramWindows(language);
    for (int offset : {0, 300}) {
        PointsEditor(offset);
        PointsEditorGenerated(offset);
        Preview(offset);
        Trips(offset);
        Serial(offset);
    }
    return !g_failed;
}
