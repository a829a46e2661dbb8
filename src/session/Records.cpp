// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Records.h"

#include "session/Flows.h"
#include "ui/model/ProgramFileCommands.h"

namespace vantrel::session {

namespace {

// Open and Save without dialogs or disk: the record moves between the form and memory only.
class NoFileDialogs final : public ui::FileDialogs {
public:
    std::string OpenFileName(const ui::FileDialogRequest&) override { return {}; }
    std::string SaveFileName(const ui::FileDialogRequest&) override { return {}; }
};

class NoFileStore final : public ui::ProgramFileStore {
public:
    files::ReadResult Read(const std::filesystem::path&) override { return {}; }
    files::WriteResult Write(const std::filesystem::path&, const device::ConfigRecord&) override { return {}; }
};

}  // namespace

device::ConfigRecord FormRecord(Session& session) {
    NoFileDialogs dialogs;
    NoFileStore store;
    ui::ProgramFileCommands commands(session.form, dialogs, store);
    const device::ConfigRecord kept = session.record;
    commands.FillRecord();
    device::ConfigRecord filled = session.record;
    session.record = kept;
    return filled;
}

bool LoadRecord(Session& session, const device::ConfigRecord& record) {
    NoFileDialogs dialogs;
    NoFileStore store;
    ui::ProgramFileCommands commands(session.form, dialogs, store);
    if (!commands.FitsLists(record)) return false;
    session.record = record;
    commands.PushRecord(record);
    return true;
}

std::optional<device::ConfigRecord> ReadDeviceRecord(Session& session) {
    if (!session.connected()) return std::nullopt;
    ui::NoWindowsHost host;
    Session scratch(session.transport, session.protocol.clock(), session.protocol.dialogs(), host);
    scratch.port = session.port;
    scratch.state.SetLanguageOffset(session.state.LanguageOffset());
    scratch.state.SetLanguageIndex(session.state.LanguageIndex());
    scratch.state.identity = session.state.identity;
    scratch.linkStatus = LinkStatus::Connected;
    scratch.modeIndex = session.modeIndex;
    scratch.form.Load(scratch.state.identity, static_cast<ui::Mode>(scratch.modeIndex));
    // The cells read are the live session's: its operation (a comparison) keeps them, and
    // so are its stop request and progress.
    scratch.protocol.setCellObserver([&session](int address, std::uint8_t value) { session.NoteCellRead(address, value); });
    scratch.protocol.setCancelToken(&session.cancel);
    scratch.protocol.setProgressMeter(&session.progress);
    SessionView quiet;
    if (!ReadAndDescribe(scratch, quiet)) {
        // Stopped by the user: the live session stays as it was.
        if (session.protocol.cancelRequested()) return std::nullopt;
        // The transmitter stopped answering: the live session goes to the not-connected
        // state, as after any failed read.
        session.linkStatus = scratch.linkStatus;
        session.form.EnterNotConnectedState();
        return std::nullopt;
    }
    return FormRecord(scratch);
}

}  // namespace vantrel::session
