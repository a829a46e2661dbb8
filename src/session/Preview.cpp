// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Preview.h"

#include "device/exchange/ProgramDevice.h"
#include "link/Frames.h"
#include "session/Operations.h"
#include "session/Running.h"

namespace vantrel::session {

namespace {

constexpr double kAfterCommand = 0.1;

}  // namespace

PreviewOutcome PreviewProgramming(Session& session, const ui::InputEncoding& encoding) {
    PreviewOutcome outcome;
    const device::PlanRequest form = ProgramFormValues(session, encoding);
    device::ProgramDeviceData data;
    if (session.connected()) {
        RunScope run(session, PreviewPlan(session.state.identity));
        session.SyncProtocol();
        const std::uint8_t lastCell7 =
            session.lastRead ? static_cast<std::uint8_t>(session.lastRead->outputConfig) : 0;
        const std::array<int, 4> tripWords = session.lastRead ? session.lastRead->tripWords : std::array<int, 4>{};
        if (auto read = device::ReadProgrammingData(session.protocol, session.state, form, lastCell7, tripWords)) {
            data = *read;
            outcome.calibrationRead = true;
            session.protocol.Send(link::frames::kEndProgramming);
            session.protocol.Wait(kAfterCommand);
        } else if (session.protocol.cancelRequested()) {
            outcome.cancelled = true;
            return outcome;
        }
    }
    const device::ProgramPlan plan = device::MakeProgramPlan(form, session.state, data, [] { return true; });
    outcome.preview = device::PreviewPlan(plan, encoding.inputCode, encoding.optionFlags, session.state,
                                          session.state.LanguageOffset());
    return outcome;
}

}  // namespace vantrel::session
