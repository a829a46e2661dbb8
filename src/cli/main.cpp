#include <QApplication>
#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/PreviewOutput.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (vantrel::cli::NeedsGuiApplication(args)) {
        // Charts are drawn with the GUI classes; a headless tool draws them off screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        return vantrel::cli::Run(args, std::cout, std::cerr);
    }
    // Serial ports need a Qt application object; the tool runs no event loop.
    QCoreApplication application(argc, argv);
    return vantrel::cli::Run(args, std::cout, std::cerr);
}
