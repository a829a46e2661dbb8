// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Operations.h"

#include <algorithm>

#include "device/Families.h"
#include "files/ProgramFile.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"
#include "session/Flows.h"
#include "session/Recording.h"
#include "session/Records.h"
#include "session/Running.h"

namespace vantrel::session {

namespace {

constexpr double kBeforeReadBack = 2.0;

float RangeValue(const std::string& text) {
    return static_cast<float>(resources::ParseNumber(text).value_or(0));
}

// The trim of an adjustment box in percent; the slider's position when the box holds no
// number.
double TrimPercent(const ui::Adjustment& adjustment) {
    return resources::ParseNumber(adjustment.text).value_or(adjustment.slider / 10.0);
}

void EnterNotConnectedState(Session& session) {
    session.linkStatus = LinkStatus::Failed;
    session.form.EnterNotConnectedState();
}

}  // namespace

device::PlanRequest ProgramFormValues(const Session& session, const ui::InputEncoding& encoding) {
    const ui::ProgramForm& form = session.form;
    device::PlanRequest values;
    values.InputCode = encoding.inputCode;
    values.OptionWord = encoding.optionFlags;
    values.RangeMax = RangeValue(form.inputRange().maxText());
    values.RangeMin = RangeValue(form.inputRange().minText());
    values.OutMax = RangeValue(form.outputRange().maxText());
    values.OutMin = RangeValue(form.outputRange().minText());
    values.OutputTypeIndex = form.outputTypes().selected;
    values.OutputSelect = device::OutputSelectCode(session.state.identity, values.OutputTypeIndex, values.OutMin);
    values.LinearVisible = form.linearisation().visible;
    values.LinearTicked = form.linearisation().checked;
    values.FilterTicked = form.filter().checked;
    values.BurnoutDown = form.burnoutDown();
    values.OutputDirect = form.outputDirect();
    values.AdjMax = TrimPercent(form.zeroTrim());
    values.AdjMin = TrimPercent(form.spanTrim());
    values.ZeroSlider = form.zeroTrim().slider;
    values.SpanSlider = form.spanTrim().slider;
    return values;
}

namespace {

device::ProgramResult RunProgramDevice(Session& session, const ui::InputEncoding& encoding, bool writeCells) {
    session.SyncProtocol();
    const std::uint8_t lastCell7 = session.lastRead ? static_cast<std::uint8_t>(session.lastRead->outputConfig) : 0;
    const std::array<int, 4> tripWords = session.lastRead ? session.lastRead->tripWords : std::array<int, 4>{};
    return device::ProgramDevice(session.protocol, session.state, ProgramFormValues(session, encoding), lastCell7,
                                 tripWords, writeCells);
}

}  // namespace

std::optional<device::ConfigProblem> CheckFormConfiguration(Session& session) {
    return device::CheckConfiguration(ProgramFormValues(session, session.form.EncodeInput()), session.state);
}

ProgramOutcome PlanOnly(Session& session, const ui::InputEncoding& encoding) {
    RunScope run(session, PreviewPlan(session.state.identity));
    ProgramOutcome outcome;
    outcome.result = RunProgramDevice(session, encoding, false);
    if (outcome.result.status == device::ProgramStatus::NotWritten && !session.protocol.cancelRequested())
        EnterNotConnectedState(session);
    return outcome;
}

namespace {

// A transmitter that reads back something other than what was sent has not been programmed,
// whatever the writes looked like on the way out.
void CheckReadBack(Session& session, ProgramOutcome& outcome) {
    outcome.readBackDifferences =
        device::CompareReadBack(outcome.result.request, outcome.result.plan, *session.lastRead);
    if (outcome.readBackDifferences.empty()) return;
    link::Message message;
    message.textId = resources::text::kReadBackDiffers;
    message.text = device::ReadBackDifferencesText(outcome.readBackDifferences, session.state.LanguageOffset());
    message.buttons = link::Buttons::Ok;
    message.icon = link::Icon::Critical;
    session.protocol.dialogs().Show(message);
}

}  // namespace

Outcome ProgrammingOutcome(const ProgramOutcome& outcome, bool lineLost) {
    switch (outcome.result.status) {
        case device::ProgramStatus::Done: break;
        case device::ProgramStatus::NoisyRangeRefused:
        case device::ProgramStatus::Refused:
        case device::ProgramStatus::InvalidConfiguration: return Outcome::Refused;
        case device::ProgramStatus::Interrupted:
            return outcome.NotConfirmed() ? Outcome::WrittenNotConfirmed : Outcome::Interrupted;
        case device::ProgramStatus::NotWritten: return lineLost ? Outcome::CommunicationFailed : Outcome::Cancelled;
    }
    if (outcome.verify && !outcome.verify->mismatches.empty()) return Outcome::VerifyFailed;
    if (outcome.NotConfirmed()) return Outcome::WrittenNotConfirmed;
    if (!outcome.readBackDifferences.empty()) return Outcome::VerifyFailed;
    return Outcome::Done;
}

ProgramOutcome ProgramAndReadBack(Session& session, SessionView& view, const ui::InputEncoding& encoding,
                                  const ProgramOptions& options) {
    OperationScope scope(session, options.verify ? Operation::ProgramVerified : Operation::Program);
    RunScope run(session, ProgramPlan(session, encoding, options.verify));
    // What is programmed, as Save would write it; the read-back below describes it anew.
    const files::RecordBytes programmed = files::EncodeRecord(FormRecord(session));
    scope.record().memoryBefore.Merge(session.knownMemory);
    ProgramOutcome outcome;
    outcome.result = RunProgramDevice(session, encoding, true);
    scope.CellsAfterWrites();
    switch (outcome.result.status) {
        case device::ProgramStatus::Done:
            session.protocol.EnterStep(link::Step::WaitingForRestart);
            session.protocol.Wait(kBeforeReadBack);
            if (options.verify) outcome.verify = device::VerifyWrites(session.protocol, outcome.result.plan.sent);
            outcome.readBack = ReadAndDescribe(session, view);
            if (outcome.readBack) CheckReadBack(session, outcome);
            // Stopped after the writes: what the transmitter holds is unknown.
            else if (session.protocol.cancelRequested()) EnterNotConnectedState(session);
            // The transmitter confirmed holding the edits: a read would not lose them.
            if (outcome.Confirmed()) session.state.EditedSinceLoad = false;
            break;
        case device::ProgramStatus::NotWritten:
            // Stopped before the first write: the transmitter and the form are as they were.
            if (!session.protocol.cancelRequested()) EnterNotConnectedState(session);
            break;
        case device::ProgramStatus::Interrupted:
            EnterNotConnectedState(session);
            break;
        case device::ProgramStatus::NoisyRangeRefused:
        case device::ProgramStatus::Refused:
        case device::ProgramStatus::InvalidConfiguration:
            break;
    }
    OperationRecord& record = scope.record();
    record.configuration.assign(programmed.begin(), programmed.end());
    const std::vector<device::WriteEntry>& sent = outcome.result.plan.sent;
    const std::size_t written = std::min(sent.size(), static_cast<std::size_t>(outcome.result.framesSent));
    record.writes.assign(sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(written));
    record.verify = outcome.verify;
    scope.SetOutcome(ProgrammingOutcome(outcome, session.protocol.lineLost()));
    return outcome;
}

namespace {

// The start of a measurement is the operation the progress follows: it ends with the first
// value shown.
class FirstValueRelay final : public measure::MeasureObserver {
public:
    FirstValueRelay(Session& session, measure::MeasureObserver& observer) : m_session(session), m_observer(observer) {}
    void Started(const measure::Scale& scale) override { m_observer.Started(scale); }
    void Show(const measure::Reading& reading) override {
        m_session.progress.Finish();
        m_observer.Show(reading);
    }
    void Stopped() override { m_observer.Stopped(); }

private:
    Session& m_session;
    measure::MeasureObserver& m_observer;
};

}  // namespace

measure::MeasureResult Measure(Session& session, measure::MeasureObserver& observer,
                               const std::function<bool()>& stopRequested) {
    RunScope run(session, measure::MeasureStartPlan(session.state.identity));
    FirstValueRelay relay(session, observer);
    session.SyncProtocol();
    measure::MeasureSetup setup;
    if (session.lastRead) {
        setup.flags = session.lastRead->values.flags;
        setup.inputCode = session.lastRead->values.inputCode;
    }
    // The unit of what the transmitter holds, as its summary shows it; the form's own choice
    // may have moved on since the read.
    if (session.lastRead) setup.unit = session.lastRead->Unit();
    const measure::MeasureResult result =
        measure::MeasureLoop(session.protocol, session.state.identity, setup, relay, stopRequested);
    if (result == measure::MeasureResult::CommunicationError) EnterNotConnectedState(session);
    return result;
}

}  // namespace vantrel::session
