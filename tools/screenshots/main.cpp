// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// vantrel-screenshots [FOLDER]: a picture of every window of the desktop application, drawn
// offscreen from a run on the simulated transmitter, into FOLDER (docs/screenshots by default).
#include <QApplication>

#include <clocale>

#include "Screenshots.h"
#include "app/Application.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    vantrel::app::SetUpLook(application);
    const std::filesystem::path folder = argc > 1 ? argv[1] : "docs/screenshots";
    const bool windows = vantrel::app::SaveMainWindowScreenshots(folder);
    const bool widgets = vantrel::SaveWidgetScreenshots(folder);
    return windows && widgets ? 0 : 1;
}
