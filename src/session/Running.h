// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/Progress.h"
#include "session/Session.h"

// What every long operation shares: its progress, planned from the protocol's pauses, and
// the way it ends after a cancel (the transmitter back in working mode).
namespace vantrel::session {

// The operation a flow runs. The outermost one starts the session's progress with its plan
// and finishes it when it ends; after a cancel it sends "SM" and "$FPxx", so whatever the
// flow had started (a stream, programming mode) is left. Flows run inside another (the
// read-back of a programming) leave both to it.
class RunScope {
public:
    RunScope(Session& session, const link::StepPlan& plan);
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

    bool outermost() const { return m_outermost; }

private:
    Session& m_session;
    bool m_outermost = false;
};

// The plans of the long operations, step by step. Where the transmitter decides a step's
// length (its family's calibration cells, a custom curve, the number of writes) the plan
// takes the identity known so far and the flow corrects it once it knows.
link::StepPlan LoadPlan(const device::Identity& expected);
link::StepPlan ProgramPlan(Session& session, const ui::InputEncoding& encoding, bool verify);
link::StepPlan PreviewPlan(const device::Identity& identity);
link::StepPlan SerialPlan();

}  // namespace vantrel::session
