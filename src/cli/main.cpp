#include <QGuiApplication>
#include <QCoreApplication>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/PreviewOutput.h"

namespace {

// The report lays text out in fonts and a preview picture draws a chart: both take the GUI
// classes, which a headless tool runs on the offscreen platform.
bool NeedsGui(const std::vector<std::string>& args) {
    return vantrel::cli::NeedsGuiApplication(args) || std::find(args.begin(), args.end(), "report") != args.end();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (NeedsGui(args)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        return vantrel::cli::Run(args, std::cout, std::cerr);
    }
    // Serial ports need a Qt application object; the tool runs no event loop.
    QCoreApplication application(argc, argv);
    return vantrel::cli::Run(args, std::cout, std::cerr);
}
