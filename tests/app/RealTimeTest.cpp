// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "app/MainWindow.h"
#include "app/SimulatedEnvironment.h"
#include "ui/widgets/ProgramWindow.h"

using namespace vantrel;
using namespace vantrel::app;

// A whole load on the real clock (some ten seconds of the line's pauses): the event loop keeps
// running throughout, and the summary then describes the transmitter without a message box.
TEST(RealTime, LoadingOnTheRealClock_KeepsTheWindowAliveAndDescribesTheTransmitter) {
    QTemporaryDir folder;
    SimulatedSetup setup;
    setup.appFolder = folder.path().toStdString();
    setup.realClock = true;
    SimulatedEnvironment environment(setup);
    std::unique_ptr<MainWindow> window = environment.MakeMainWindow();
    window->show();
    int ticks = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++ticks; });
    heartbeat.start(50);
    window->LoadProgramWindow();
    heartbeat.stop();

    const auto* summary = window->programWindow()->findChild<QPlainTextEdit*>("summary");
    ASSERT_NE(summary, nullptr);
    EXPECT_TRUE(summary->toPlainText().contains("Thermocouple Type K")) << summary->toPlainText().toStdString();
    EXPECT_TRUE(environment.dialogs().shown().empty());
    EXPECT_GT(ticks, 0);
    window->form().state().ConfigChanged = false;
}
