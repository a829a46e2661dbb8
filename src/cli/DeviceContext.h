// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "cli/Cli.h"
#include "cli/HeadlessDialogs.h"
#include "history/Recorder.h"
#include "link/Clock.h"
#include "link/Transport.h"
#include "session/Session.h"
#include "sim/Profile.h"
#include "sim/Transmitter.h"
#include "ui/model/FormHost.h"

namespace vantrel::cli {

// Everything a device command works with: the line (a serial port, or the built-in simulator
// loaded from a device profile), the clock, the headless answers, the session and the
// history recorder its operations go to.
class DeviceContext {
public:
    // Builds the context from the global options; on failure returns empty and explains on
    // the error stream (exit code in exitCode).
    static std::unique_ptr<DeviceContext> Create(Context& context, bool acceptNoisyRange, int& exitCode);
    ~DeviceContext();

    session::Session& session() { return *m_session; }
    sim::Transmitter* simulator() { return m_transmitter.get(); }
    HeadlessDialogs& dialogs() { return *m_dialogs; }
    // Writes the simulator's memory to --save-device when asked: kExitDone, or the exit code
    // of the failure (kExitUsage without --device, kExitOutputNotWritten) after its message.
    int SaveDevice(Context& context);

private:
    DeviceContext() = default;

    std::ostream* m_err = nullptr;
    int m_languageOffset = 300;
    std::unique_ptr<history::HistoryRecorder> m_recorder;  // outlives the session that reports to it
    std::optional<sim::Profile> m_profile;
    std::unique_ptr<sim::Transmitter> m_transmitter;
    std::unique_ptr<link::Clock> m_clock;
    std::unique_ptr<link::Transport> m_transport;
    std::unique_ptr<HeadlessDialogs> m_dialogs;
    std::unique_ptr<ui::NoWindowsHost> m_host;
    std::unique_ptr<session::Session> m_session;
    const SimulatorWatch* m_watch = nullptr;
};

// How far a command needs the session: the transmitter identified, or the whole window
// loading with the configuration read and described.
enum class DeviceReach { Identified, Loaded };

// The device context with its session brought as far as asked. Empty, with the exit code,
// when the context cannot be built or no transmitter answers; the simulator's memory is then
// still saved when asked and the error stream says that no transmitter is connected.
std::unique_ptr<DeviceContext> OpenDevice(Context& context, bool acceptNoisyRange, DeviceReach reach, int& exitCode);

// Ends a device command: writes the simulator's memory when asked, then the exit code (the
// saving's own failure when the command itself succeeded).
int Finish(Context& context, DeviceContext& device, int exitCode);

}  // namespace vantrel::cli
