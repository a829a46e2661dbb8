// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Flows.h"

#include "device/CustomCurve.h"
#include "device/exchange/ReadCustomCurve.h"
#include "device/Identify.h"
#include "files/ProgramFile.h"
#include "link/ConnectionTest.h"
#include "link/Frames.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"
#include "session/Recording.h"
#include "session/Records.h"
#include "session/Running.h"
#include "ui/model/ProgramFileCommands.h"

namespace vantrel::session {

namespace {


void ShowMessage(Session& session, int textId, int titleId, link::Icon icon) {
    session.protocol.dialogs().Show(
        link::TableMessage(textId, session.state.LanguageOffset(), link::Buttons::Ok, icon, titleId));
}

// A port that cannot be opened leaves the window usable without a transmitter.
bool OpenPort(Session& session) {
    // A line that refused a write (cable pulled, adapter gone) is closed and opened afresh:
    // a replugged adapter needs a new handle, and the old one never works again.
    if (session.protocol.lineLost()) {
        session.transport.close();
        session.protocol.clearLineLost();
    }
    if (session.transport.isOpen()) return true;
    // No port at all: the caller has said so (text 82); the window works without one.
    if (session.port.empty()) return false;
    const link::OpenResult result = session.transport.open(session.port, WorkSettings());
    if (result.ok()) return true;
    if (result.error == link::OpenError::NoPermission) {
        // Says which port, and how to get the right to open it.
        link::Message message = link::TableMessage(resources::text::kPortNoPermission, session.state.LanguageOffset(),
                                                   link::Buttons::Ok, link::Icon::Exclamation,
                                                   resources::text::kPortNoPermissionTitle);
        message.text += " " + session.port + "\n\n" +
                        resources::Text(resources::text::kPortNoPermissionFix, session.state.LanguageOffset());
        session.protocol.dialogs().Show(message);
    } else if (result.error == link::OpenError::PortInUse) {
        ShowMessage(session, resources::text::kPortInUse, resources::text::kPortSharingTitle, link::Icon::Exclamation);
    } else {
        ShowMessage(session, resources::text::kNoCommunication, resources::text::kCommunicationErrorTitle, link::Icon::Critical);
    }
    return false;
}

LinkStatus StatusAfterTest(link::ConnectionOutcome outcome) {
    switch (outcome) {
        case link::ConnectionOutcome::Connected: return LinkStatus::Connected;
        case link::ConnectionOutcome::Retry: return LinkStatus::NotAnswered;
        case link::ConnectionOutcome::Cancelled: break;
    }
    return LinkStatus::Failed;
}

// The connection test's verdict goes into the link status; the form is left to the
// caller, so a cancelled load can leave it untouched.
void RunConnectionTest(Session& session, SessionView& view) {
    session.linkStatus = LinkStatus::NotAnswered;
    if (session.testAtStart) {
        const link::ConnectionOutcome outcome = link::TestConnectionUntilDecided(
            session.protocol, [&] { view.ConnectionSeriesStarted(); },
            [&](int attempt) { view.ConnectionAttempt(attempt); });
        view.ConnectionSeriesEnded();
        session.linkStatus = StatusAfterTest(outcome);
    }
    session.testAtStart = true;
}

// Reads "$V" when connected; the identity defaults otherwise.
void Identify(Session& session) {
    device::Identity identity;  // family 4, model 10, firmware 0/0
    if (session.connected()) {
        session.protocol.EnterStep(link::Step::Identifying);
        const link::ByteResult version = session.protocol.ReadVersion();
        if (version.cancelled()) {
            session.linkStatus = LinkStatus::Cancelled;
        } else {
            identity.DeviceFamily = version[1];
            identity.DeviceModel = version[2];
            identity.FirmwareVersion = version[3];
            identity.FirmwareRelease = version[4];
            if (!device::IsAcceptedModel(identity.DeviceModel))
                ShowMessage(session, resources::text::kIncompatible, 0, link::Icon::Critical);
        }
    }
    session.state.identity = identity;
    session.SyncProtocol();
}

bool FailRead(Session& session, SessionView& view) {
    session.linkStatus = LinkStatus::Failed;
    session.form.EnterNotConnectedState();
    view.ReadingEnded();
    return false;
}

// Opens the port, tests the connection and identifies, without touching the form. True when
// the port opened.
bool ConnectAndIdentifyOnLine(Session& session, SessionView& view, OperationScope& scope) {
    scope.record().identity.reset();
    // Whatever answers now may be another transmitter.
    session.knownMemory = {};
    session.SyncProtocol();
    const bool opened = OpenPort(session);
    if (opened)
        RunConnectionTest(session, view);
    else
        session.linkStatus = LinkStatus::Failed;
    Identify(session);
    if (session.connected()) {
        const device::Identity& identity = session.state.identity;
        scope.record().identity = identity;
        scope.record().summary = device::IdentityLine(device::Identify(identity).modelNames, identity);
        scope.SetOutcome(Outcome::Done);
    } else {
        scope.SetOutcome(opened ? FailureOutcome(session) : Outcome::CommunicationFailed);
    }
    return opened;
}

// Everything a configuration read brings, before it is described.
struct DeviceRead {
    device::ReadConfiguration configuration;
    std::optional<device::CustomCurve> curve;
};

// The line half of a read: the configuration, the custom curve when there is one, then
// "$FPxx". Empty when it was cancelled or nothing answered; nothing of the session changes.
std::optional<DeviceRead> ReadFromDevice(Session& session, SessionView& view) {
    session.SyncProtocol();
    view.ReadingStarted();
    auto read = device::ReadConfigurationFromDevice(session.protocol, session.state.identity);
    if (!read) return std::nullopt;
    DeviceRead result{*read, std::nullopt};
    if (read->values.flags & device::option::Custom) {
        session.progress.Resize(link::Step::ReadingCustomCurve, device::CustomCurvePauses());
        const device::CustomCurveRead custom = device::ReadCustomCurve(session.protocol, read->calibration);
        if (custom.cancelled) return std::nullopt;
        result.curve = custom.curve;
    }
    session.protocol.SendCommand(link::frames::kEndProgramming);
    return result;
}

// The form half: the read described into the form, the summary and the record.
void Describe(Session& session, SessionView& view, const DeviceRead& read, OperationScope& scope) {
    session.lastRead = read.configuration;
    session.serial = read.configuration.serial;
    session.serialMenuVisible = device::SerialMenuVisible(read.configuration.serial);
    session.form.SetSliders(read.configuration.zeroSlider, read.configuration.spanSlider);
    session.form.ApplyRead(read.configuration.values, read.curve);
    session.form.SetStateLamp({255, 0, 0});
    view.ReadingEnded();
    OperationRecord& record = scope.record();
    record.serial = read.configuration.serial;
    record.summary = session.form.summary();
    const files::RecordBytes bytes = files::EncodeRecord(FormRecord(session));
    record.configuration.assign(bytes.begin(), bytes.end());
    scope.SetOutcome(Outcome::Done);
}

// What a load changes in the session besides the form: put back when it is cancelled.
struct LinkState {
    LinkStatus linkStatus = LinkStatus::NotAnswered;
    device::Identity identity;
    MemoryImage knownMemory;

    static LinkState Of(const Session& session) {
        return {session.linkStatus, session.state.identity, session.knownMemory};
    }
    void RestoreInto(Session& session) const {
        session.linkStatus = linkStatus;
        session.state.identity = identity;
        session.knownMemory = knownMemory;
        session.SyncProtocol();
    }
};

}  // namespace

bool ConnectAndIdentify(Session& session, SessionView& view) {
    OperationScope scope(session, Operation::Identify);
    link::StepPlan plan = LoadPlan(session.state.identity);
    plan.resize(2);  // the connection test and the identification
    RunScope run(session, plan);
    ConnectAndIdentifyOnLine(session, view, scope);
    session.form.SetConnected(session.connected());
    return session.connected();
}

LoadOutcome LoadProgramWindow(Session& session, SessionView& view) {
    OperationScope scope(session, Operation::Read);
    RunScope run(session, LoadPlan(session.state.identity));
    const LinkState before = LinkState::Of(session);
    const auto cancelled = [&] {
        if (!session.protocol.cancelRequested()) return false;
        scope.SetOutcome(Outcome::Cancelled);
        view.ReadingEnded();
        return true;
    };
    // The line first, the form after: a cancel anywhere on the line leaves the form as it was.
    std::optional<DeviceRead> read;
    {
        OperationScope identify(session, Operation::Identify);
        ConnectAndIdentifyOnLine(session, view, identify);
    }
    if (session.connected()) {
        if (run.outermost()) session.progress.SetRemaining(device::ReadPlan(session.state.identity));
        read = ReadFromDevice(session, view);
    }
    if (cancelled()) {
        if (session.formLoaded) {
            before.RestoreInto(session);
            session.form.Changed();
            return session.connected() ? LoadOutcome::Connected : LoadOutcome::NotConnected;
        }
        // Nothing to go back to: the window comes up without a transmitter.
        session.linkStatus = LinkStatus::Cancelled;
        session.state.identity = {};
        session.SyncProtocol();
    }
    const bool answered = session.connected();
    session.form.SetConnected(answered);
    session.form.Load(session.state.identity, static_cast<ui::Mode>(session.modeIndex));
    session.formLoaded = true;
    // The form now holds the transmitter's configuration (or the defaults): no file's.
    ui::StartUnsavedConfiguration(session.state);
    if (!answered) {
        // No transmitter, a cancelled test or identification, or a port that would not
        // open: device commands off, "connect" on, "not connected" and "no data" shown.
        session.form.EnterNotConnectedState();
        return LoadOutcome::NotConnected;
    }
    if (!read) {
        scope.SetFailed();
        FailRead(session, view);
        return LoadOutcome::NotConnected;
    }
    Describe(session, view, *read, scope);
    return LoadOutcome::Connected;
}

bool ReadAndDescribe(Session& session, SessionView& view) {
    OperationScope scope(session, Operation::Read);
    RunScope run(session, device::ReadPlan(session.state.identity));
    const std::optional<DeviceRead> read = ReadFromDevice(session, view);
    if (!read) {
        scope.SetFailed();
        // A cancelled read leaves the form to the caller; a failed one is the not-connected state.
        if (session.protocol.cancelRequested()) {
            view.ReadingEnded();
            return false;
        }
        return FailRead(session, view);
    }
    Describe(session, view, *read, scope);
    return true;
}

std::optional<device::SerialNumber> ReadSerial(Session& session) {
    OperationScope scope(session, Operation::SerialRead);
    RunScope run(session, SerialPlan());
    session.SyncProtocol();
    const std::optional<device::SerialNumber> serial = device::ReadSerialNumber(session.protocol);
    // Leave the transmitter's programming mode that the block reads entered (after a
    // cancel the run scope does).
    if (!session.protocol.cancelRequested()) {
        session.protocol.SendCommand(link::frames::kEndProgramming);
    }
    if (!serial) {
        scope.SetFailed();
        return std::nullopt;
    }
    session.serial = *serial;
    session.serialMenuVisible = device::SerialMenuVisible(*serial);
    scope.record().serial = *serial;
    scope.record().summary = SerialText(*serial);
    scope.SetOutcome(Outcome::Done);
    return serial;
}

std::optional<device::MemoryImage> ReadMemory(Session& session) {
    constexpr int kBlock = 8;
    constexpr int kBlocks = device::kMemorySize / kBlock;
    RunScope run(session, {{link::Step::ReadingSettings, kBlocks * link::pauses::Block(kBlock) + link::pauses::Closing()}});
    session.SyncProtocol();
    device::MemoryImage cells{};
    for (int start = 0; start < device::kMemorySize; start += kBlock) {
        const link::ByteResult block = session.protocol.ReadBlock(start, kBlock);
        if (block.cancelled()) return std::nullopt;
        for (int i = 0; i < kBlock; ++i)
            cells[static_cast<std::size_t>(start + i)] = block[static_cast<std::size_t>(i + 1)];
    }
    session.protocol.SendCommand(link::frames::kEndProgramming);
    return cells;
}

std::string SerialText(const device::SerialNumber& serial) {
    return std::to_string(serial.customer) + ' ' + resources::Format(serial.yearCode + device::kYearShownOffset, "00") +
           ' ' + std::to_string(serial.order) + ' ' + std::to_string(serial.progressive);
}

}  // namespace vantrel::session
