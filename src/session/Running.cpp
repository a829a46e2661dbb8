// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Running.h"

#include "device/exchange/ConfigurationReader.h"
#include "device/exchange/ProgramDevice.h"
#include "device/exchange/VerifyWrites.h"
#include "session/Operations.h"

namespace vantrel::session {

namespace {

// The first "MI" goes out between 0.5 and 1.5 s after the test starts (RunConnectionSeries);
// a transmitter answers it at once.
constexpr double kConnectionTestSeconds = 1.0;
constexpr double kBeforeReadBack = 2.0;

void Append(link::StepPlan& plan, const link::StepPlan& more) { plan.insert(plan.end(), more.begin(), more.end()); }

}  // namespace

RunScope::RunScope(Session& session, const link::StepPlan& plan) : m_session(session) {
    if (m_session.progress.running()) return;
    m_outermost = true;
    m_session.progress.Start(plan);
}

RunScope::~RunScope() {
    if (!m_outermost) return;
    if (m_session.protocol.cancelRequested()) m_session.protocol.ReturnToWorkingMode();
    m_session.progress.Finish();
}

link::StepPlan LoadPlan(const device::Identity& expected) {
    link::StepPlan plan{{link::Step::TestingConnection, kConnectionTestSeconds},
                        {link::Step::Identifying, link::pauses::Version()}};
    Append(plan, device::ReadPlan(expected));
    return plan;
}

link::StepPlan ProgramPlan(Session& session, const ui::InputEncoding& encoding, bool verify) {
    const device::Identity& identity = session.state.identity;
    link::StepPlan plan = device::ProgrammingDataPlan(identity);
    // The writes of the plan on nominal calibration: their number depends on the
    // configuration, not on the calibration values read later.
    const device::ProgramPlan nominal = device::MakeProgramPlan(ProgramFormValues(session, encoding), session.state,
                                                                device::ProgramDeviceData{}, [] { return true; });
    plan.push_back({link::Step::Writing, device::WritePauses(nominal.sent.size())});
    plan.push_back({link::Step::WaitingForRestart, kBeforeReadBack});
    if (verify) plan.push_back({link::Step::VerifyingWrites, device::VerifyPauses(nominal.sent)});
    Append(plan, device::ReadPlan(identity));
    if (encoding.optionFlags & device::option::Custom)
        plan.push_back({link::Step::ReadingCustomCurve, device::CustomCurvePauses()});
    return plan;
}

link::StepPlan PreviewPlan(const device::Identity& identity) {
    link::StepPlan plan = device::ProgrammingDataPlan(identity);
    plan.back().seconds += link::pauses::Closing();
    return plan;
}

link::StepPlan SerialPlan() {
    using link::pauses::Block;
    return {{link::Step::ReadingSerialNumber, Block(1) + Block(1) + Block(2) + link::pauses::Closing()}};
}

}  // namespace vantrel::session
