// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "device/ConfigRecord.h"
#include "device/exchange/ConfigurationReader.h"
#include "device/WorkingState.h"
#include "link/Clock.h"
#include "link/Dialogs.h"
#include "link/Protocol.h"
#include "link/Transport.h"
#include "session/OperationRecord.h"
#include "ui/model/FormHost.h"
#include "ui/model/ProgramForm.h"

namespace vantrel::session {

// What the windows show while a flow runs: the connection-test window and the main window's
// status label (the progress itself is the session's ProgressMeter). The desktop program
// draws them; the command-line tool and the tests need none of it.
class SessionView {
public:
    virtual ~SessionView() = default;
    virtual void ConnectionSeriesStarted() {}
    virtual void ConnectionAttempt(int /*attempt*/) {}
    virtual void ConnectionSeriesEnded() {}
    virtual void ReadingStarted() {}
    virtual void ReadingEnded() {}
};

// Where the line stands after the last connection test, identification or exchange.
enum class LinkStatus {
    Connected,    // a transmitter answered
    NotAnswered,  // nothing answered (yet): "connect" may try again
    Failed,       // an exchange failed or the user gave up the connection test
    Cancelled,    // the user cancelled the identification or the load
};

// The line settings the programming window opens its port with ("9600,n,8,1").
link::LineSettings WorkSettings();

// One transmitter's session: the configuration record, the working state, the programming
// form, the identity and the link. Nothing of it is global, so several sessions (several
// ports) can run side by side.
class Session {
public:
    Session(link::Transport& transport, link::Clock& clock, link::Dialogs& dialogs, ui::FormHost& host);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    device::ConfigRecord record;
    device::WorkingState state;
    link::Transport& transport;
    link::Protocol protocol;
    ui::ProgramForm form;

    std::string port;                // the current port: a path or a system port name
    bool testAtStart = true;         // run the connection test while the window loads
    int modeIndex = 0;               // mode selected when the window loads
    LinkStatus linkStatus = LinkStatus::NotAnswered;
    std::optional<device::ReadConfiguration> lastRead;
    device::SerialNumber serial;
    bool serialMenuVisible = true;
    // The form has been loaded once: a cancelled load leaves it as it was (before the first
    // load there is nothing to go back to, so a cancel then is a load without transmitter).
    bool formLoaded = false;

    // The running operation's stop request and progress; the protocol checks and moves them.
    // Whoever starts an operation resets the token (the desktop program before each one).
    link::CancelToken cancel;
    link::ProgressMeter progress;

    // Every operation is handed to the recorder when it ends (the history); none by default.
    OperationRecorder* recorder = nullptr;
    // The cells last read from the connected transmitter (forgotten when it is identified anew).
    MemoryImage knownMemory;
    // The operation running now and where the cells it reads go (see OperationScope).
    struct RunningOperation {
        int depth = 0;
        OperationRecord record;
        MemoryImage* cellsInto = nullptr;
    };
    RunningOperation running;
    // Every cell a block read returns passes through here.
    void NoteCellRead(int address, std::uint8_t value);

    bool connected() const { return linkStatus == LinkStatus::Connected; }
    // Keeps the protocol's language and model in step with the working state.
    void SyncProtocol();
};

}  // namespace vantrel::session
