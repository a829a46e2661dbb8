// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/PreviewOutput.h"
#include "link/QtMessageFilter.h"

namespace {

// The report lays text out in fonts and a preview picture draws a chart: both take the GUI
// classes, which a headless tool runs on the offscreen platform.
bool NeedsGui(const std::vector<std::string>& args) {
    return vantrel::cli::NeedsGuiApplication(args) || std::find(args.begin(), args.end(), "report") != args.end();
}

// Qt's start-up hands the C library the user's locale; numbers in files and on the output are
// machine-readable and keep "." (the code never relies on this alone).
void KeepNumbersInTheCLocale() { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    vantrel::link::InstallQtMessageFilter();
    // The desktop program's names: both programs keep their history in the same data folder.
    QCoreApplication::setOrganizationName("Vantrel");
    QCoreApplication::setApplicationName("Vantrel");
    if (NeedsGui(args)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        KeepNumbersInTheCLocale();
        return vantrel::cli::Run(args, std::cout, std::cerr, nullptr, isatty(STDERR_FILENO) == 1);
    }
    // Serial ports need a Qt application object; the tool runs no event loop.
    QCoreApplication application(argc, argv);
    KeepNumbersInTheCLocale();
    return vantrel::cli::Run(args, std::cout, std::cerr, nullptr, isatty(STDERR_FILENO) == 1);
}
