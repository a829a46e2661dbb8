// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class QApplication;

namespace vantrel::app {

// The whole program: command line, display check, settings and language, splash, port
// probing (or the simulator), the main window and the event loop. Returns the exit code.
int RunApplication(int argc, char** argv);

// The arguments before Qt sees them: true when one of them asks Qt for a platform
// ("-platform NAME"), which makes the display check moot.
bool NamesQtPlatform(const std::vector<std::string>& args);

// The application's name and the Fusion style, the same on every desktop.
void SetUpLook(QApplication& application);

}  // namespace vantrel::app
