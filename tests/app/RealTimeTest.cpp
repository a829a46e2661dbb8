// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "app/AppOptions.h"
#include "app/MainWindow.h"
#include "app/RoutingTransport.h"
#include "link/Clock.h"
#include "link/ScriptedDialogs.h"
#include "link/ScriptedTransport.h"
#include "sim/DefaultProfile.h"
#include "sim/SimTransport.h"
#include "sim/Transmitter.h"
#include "ui/widgets/ProgramWindow.h"

using namespace vantrel;
using namespace vantrel::app;

namespace {

class NoFileDialogs final : public ui::FileDialogs {
public:
    std::string OpenFileName(const ui::FileDialogRequest&) override { return {}; }
    std::string SaveFileName(const ui::FileDialogRequest&) override { return {}; }
};

}  // namespace

// The program as `vantrel --simulator` runs it: the simulated transmitter on the real clock,
// the windows kept alive by the clock's event pump. While the loading waits for the
// transmitter, timers still fire (the window repaints); at the end the configuration is on
// screen.
TEST(RealTime, LoadingOnTheRealClock_KeepsTheWindowAliveAndDescribesTheTransmitter) {
    QTemporaryDir folder;
    const sim::Profile profile = sim::MakeDefaultProfile();
    sim::Transmitter transmitter(profile.identity, profile.memory);
    transmitter.setInput(profile.input);
    link::RealClock clock;
    sim::SimTransport simulatorLine(transmitter, clock);
    link::ScriptedTransport serial;
    RoutingTransport line(serial, &simulatorLine, kSimulatorPortName);
    link::ScriptedDialogs dialogs;
    NoFileDialogs fileDialogs;
    ui::DiskProgramFileStore store;

    AppServices services;
    services.transport = &line;
    services.clock = &clock;
    services.dialogs = &dialogs;
    services.fileDialogs = &fileDialogs;
    services.fileStore = &store;
    services.installEventPump = [&clock](link::EventPump pump) { clock.setEventPump(std::move(pump)); };
    services.places = {folder.path().toStdString(), {}};
    services.initialPort = kSimulatorPortName;
    services.simulatorPort = kSimulatorPortName;

    device::WorkingState startState;
    const session::StartupResult startup = session::StartUp(services.places, startState);
    int ticks = 0;
    {
        MainWindow window(services, startup, startState);
        window.show();
        QTimer heartbeat;
        QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++ticks; });
        heartbeat.start(50);
        window.LoadProgramWindow();
        heartbeat.stop();

        const auto* summary = window.programWindow()->findChild<QPlainTextEdit*>("summary");
        ASSERT_NE(summary, nullptr);
        EXPECT_TRUE(summary->toPlainText().contains("Thermocouple Type K")) << summary->toPlainText().toStdString();
        EXPECT_EQ(dialogs.shown().size(), 0u);
        window.form().state().ConfigChanged = false;
    }
    clock.setEventPump({});
    EXPECT_GT(ticks, 0);
}
