#include "session/Flows.h"

#include "device/CustomCurve.h"
#include "device/Identify.h"
#include "files/ProgramFile.h"
#include "link/ConnectionTest.h"
#include "link/Frames.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"
#include "session/Recording.h"
#include "session/Records.h"

namespace vantrel::session {

namespace {

constexpr int kNoReplyTextId = 85;
constexpr int kCommunicationErrorTitleId = 145;
constexpr int kPortInUseTextId = 160;
constexpr int kPortSharingTitleId = 161;
constexpr int kIncompatibleTextId = 205;

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
        ShowMessage(session, kPortInUseTextId, kPortSharingTitleId, link::Icon::Exclamation);
    } else {
        ShowMessage(session, kNoReplyTextId, kCommunicationErrorTitleId, link::Icon::Critical);
    }
    return false;
}

void RunConnectionTest(Session& session, SessionView& view) {
    session.connectionResult = "Riprova";
    if (session.testAtStart) {
        const link::ConnectionOutcome outcome = link::TestConnectionUntilDecided(
            session.protocol, [&] { view.ConnectionSeriesStarted(); },
            [&](int attempt) { view.ConnectionAttempt(attempt); });
        view.ConnectionSeriesEnded();
        session.connectionResult = std::string(link::ConnectionResultText(outcome));
    }
    session.testAtStart = true;
    session.form.SetConnected(session.connected());
}

// Reads "$V" when connected; the identity defaults otherwise.
void Identify(Session& session) {
    device::Identity identity;  // family 4, model 10, firmware 0/0
    if (session.connected()) {
        const link::ByteResult version = session.protocol.ReadVersion();
        if (version.cancelled()) {
            session.connectionResult = "Annulla";
        } else {
            identity.DeviceFamily = version[1];
            identity.DeviceModel = version[2];
            identity.FirmwareVersion = version[3];
            identity.FirmwareRelease = version[4];
            if (!device::IsAcceptedModel(identity.DeviceModel))
                ShowMessage(session, kIncompatibleTextId, 0, link::Icon::Critical);
        }
    }
    session.state.identity = identity;
    session.SyncProtocol();
}

bool FailRead(Session& session, SessionView& view) {
    session.connectionResult = "errore";
    session.form.EnterNotConnectedState();
    view.ReadingEnded();
    return false;
}

}  // namespace

bool ConnectAndIdentify(Session& session, SessionView& view) {
    OperationScope scope(session, Operation::Identify);
    scope.record().identity.reset();
    // Whatever answers now may be another transmitter.
    session.knownMemory = {};
    session.SyncProtocol();
    const bool opened = OpenPort(session);
    if (opened) {
        RunConnectionTest(session, view);
    } else {
        session.connectionResult = "errore";
        session.form.SetConnected(false);
    }
    Identify(session);
    if (session.connected()) {
        const device::Identity& identity = session.state.identity;
        scope.record().identity = identity;
        scope.record().summary = device::IdentityLine(device::Identify(identity).modelNames, identity);
        scope.SetOutcome(Outcome::Done);
    } else {
        scope.SetOutcome(opened ? FailureOutcome(session) : Outcome::CommunicationFailed);
    }
    return session.connected();
}

LoadOutcome LoadProgramWindow(Session& session, SessionView& view) {
    OperationScope scope(session, Operation::Read);
    ConnectAndIdentify(session, view);
    session.form.Load(session.state.identity, static_cast<ui::Mode>(session.modeIndex));
    if (!session.connected()) {
        // No transmitter, a cancelled test or identification, or a port that would not
        // open: device commands off, "connect" on, "not connected" and "no data" shown.
        session.form.EnterNotConnectedState();
        return LoadOutcome::NotConnected;
    }
    return ReadAndDescribe(session, view) ? LoadOutcome::Connected : LoadOutcome::NotConnected;
}

bool ReadAndDescribe(Session& session, SessionView& view) {
    OperationScope scope(session, Operation::Read);
    session.SyncProtocol();
    session.progress = link::ProgressBarValue{};
    session.protocol.setStepProgress([&](int step) {
        session.progress.Step(step);
        view.ProgressChanged(session.progress);
    });
    view.ReadingStarted();
    const auto read = device::ReadConfigurationFromDevice(session.protocol, session.state.identity);
    session.protocol.setStepProgress({});
    if (!read) {
        scope.SetFailed();
        return FailRead(session, view);
    }
    session.lastRead = *read;
    session.serial = read->serial;
    session.serialMenuVisible = device::SerialMenuVisible(read->serial);
    session.form.SetSliders(read->zeroSlider, read->spanSlider);
    std::optional<device::CustomCurve> curve;
    if (read->values.flags & device::option::Custom) {
        const device::CustomCurveRead custom = device::ReadCustomCurve(session.protocol, read->calibration);
        if (custom.cancelled) {
            scope.SetFailed();
            return FailRead(session, view);
        }
        curve = custom.curve;
    }
    session.form.ApplyRead(read->values, curve);
    session.protocol.Send(link::frames::kEndProgramming);
    session.protocol.Wait(0.1);
    session.form.SetStateLamp({255, 0, 0});
    view.ReadingEnded();
    OperationRecord& record = scope.record();
    record.serial = read->serial;
    record.summary = session.form.summary();
    const files::RecordBytes bytes = files::EncodeRecord(FormRecord(session));
    record.configuration.assign(bytes.begin(), bytes.end());
    scope.SetOutcome(Outcome::Done);
    return true;
}

std::optional<device::SerialNumber> ReadSerial(Session& session) {
    OperationScope scope(session, Operation::SerialRead);
    session.SyncProtocol();
    const std::optional<device::SerialNumber> serial = device::ReadSerialNumber(session.protocol);
    // Leave the transmitter's programming mode that the block reads entered.
    session.protocol.Send(link::frames::kEndProgramming);
    session.protocol.Wait(0.1);
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

std::string SerialText(const device::SerialNumber& serial) {
    return std::to_string(serial.customer) + ' ' + resources::Format(serial.yearCode + device::kYearShownOffset, "00") +
           ' ' + std::to_string(serial.order) + ' ' + std::to_string(serial.progressive);
}

}  // namespace vantrel::session
