#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Serial ports need a Qt application object; the tool runs no event loop. The report lays
    // text out in fonts, which takes a GUI application: on the offscreen platform unless the
    // user chose another, so it runs without a display.
    std::unique_ptr<QCoreApplication> application;
    if (std::find(args.begin(), args.end(), "report") != args.end()) {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    return vantrel::cli::Run(args, std::cout, std::cerr);
}
