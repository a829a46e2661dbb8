#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    // Serial ports need a Qt application object; the tool runs no event loop.
    QCoreApplication application(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vantrel::cli::Run(args, std::cout, std::cerr);
}
