// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace vantrel::app {

class MainWindow;

// The last steps of start-up: the main window comes up with the splash over it, modal, and
// the programming window starts loading at once (port, connection test, identification,
// read), so the line's pauses run while the splash shows instead of after it. The splash
// closes on its own timer; a connection-test window waits for it. `afterLoad` runs when the
// loading has ended (a file named on the command line is opened then).
void StartMainWindow(MainWindow& window, int languageOffset, int splashMs, std::function<void()> afterLoad = {});

}  // namespace vantrel::app
