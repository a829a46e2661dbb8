#include "session/Operations.h"

#include "device/Families.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"
#include "session/Flows.h"

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
    session.connectionResult = "errore";
    session.form.Conf_Err_Comm();
}

}  // namespace

device::ProgramForm ProgramFormValues(const Session& session, const ui::InputEncoding& encoding) {
    const ui::ProgramForm& form = session.form;
    device::ProgramForm values;
    values.InputCode = encoding.inputCode;
    values.OptionWord = encoding.optionFlags;
    values.RangeMax = RangeValue(form.CtlRangeIn.TextMaxP);
    values.RangeMin = RangeValue(form.CtlRangeIn.TextMinP);
    values.OutMax = RangeValue(form.CtlRangeOut.TextMaxP);
    values.OutMin = RangeValue(form.CtlRangeOut.TextMinP);
    values.OutputTypeIndex = form.Vuscite.selected;
    values.OutputSelect = device::OutputSelectCode(session.state.identity, values.OutputTypeIndex, values.OutMin);
    values.LinearVisible = form.Linear.visible;
    values.LinearTicked = form.Linear.checked;
    values.FilterTicked = form.SmChk.checked;
    values.BurnoutDown = form.BurnoutDown;
    values.OutputDirect = form.OutputDirect;
    values.AdjMax = TrimPercent(form.zero);
    values.AdjMin = TrimPercent(form.span);
    values.ZeroSlider = form.zero.slider;
    values.SpanSlider = form.span.slider;
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
    return device::CheckConfiguration(ProgramFormValues(session, session.form.par_pgm()), session.state);
}

ProgramOutcome PlanOnly(Session& session, const ui::InputEncoding& encoding) {
    ProgramOutcome outcome;
    outcome.result = RunProgramDevice(session, encoding, false);
    if (outcome.result.status == device::ProgramStatus::NotWritten) EnterNotConnectedState(session);
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
    message.text = device::ReadBackDifferencesText(outcome.readBackDifferences, session.state.LanguageOffset);
    message.buttons = link::Buttons::Ok;
    message.icon = link::Icon::Critical;
    session.protocol.dialogs().Show(message);
}

}  // namespace

ProgramOutcome ProgramAndReadBack(Session& session, SessionView& view, const ui::InputEncoding& encoding,
                                  const ProgramOptions& options) {
    ProgramOutcome outcome;
    outcome.result = RunProgramDevice(session, encoding, true);
    switch (outcome.result.status) {
        case device::ProgramStatus::Done:
            session.protocol.Wait(kBeforeReadBack);
            if (options.verify) outcome.verify = device::VerifyWrites(session.protocol, outcome.result.plan.sent);
            outcome.readBack = ReadAndDescribe(session, view);
            if (outcome.readBack) CheckReadBack(session, outcome);
            break;
        case device::ProgramStatus::NotWritten:
        case device::ProgramStatus::Interrupted:
            EnterNotConnectedState(session);
            break;
        case device::ProgramStatus::NoisyRangeRefused:
        case device::ProgramStatus::Refused:
        case device::ProgramStatus::InvalidConfiguration:
            break;
    }
    return outcome;
}

measure::MeasureResult Measure(Session& session, measure::MeasureObserver& observer,
                               const std::function<bool()>& stopRequested) {
    session.SyncProtocol();
    measure::MeasureSetup setup;
    if (session.lastRead) {
        setup.flags = session.lastRead->values.flags;
        setup.inputCode = session.lastRead->values.inputCode;
    }
    setup.unit = session.form.measureUnit;
    const measure::MeasureResult result =
        measure::MeasureLoop(session.protocol, session.state.identity, setup, observer, stopRequested);
    if (result == measure::MeasureResult::CommunicationError) EnterNotConnectedState(session);
    return result;
}

}  // namespace vantrel::session
