// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartupSequence.h"

#include <QTimer>

#include "app/MainWindow.h"
#include "app/Windows.h"

namespace vantrel::app {

void StartMainWindow(MainWindow& window, int languageOffset, int splashMs, std::function<void()> afterLoad) {
    window.show();
    auto* splash = new SplashWindow(languageOffset, splashMs, {}, &window);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->setWindowModality(Qt::ApplicationModal);
    window.SetSplash(splash);
    splash->show();
    // Queued: the loading pauses run the event loop, and the splash's timer with it.
    QTimer::singleShot(0, &window, [&window, after = std::move(afterLoad)] {
        window.LoadProgramWindow();
        if (after) after();
    });
}

}  // namespace vantrel::app
