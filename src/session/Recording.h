// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/OperationRecord.h"

namespace vantrel::session {

class Session;

// One operation of a session, from its start to its end. The outermost scope hands the
// record to the session's recorder when it ends; scopes opened inside it (the identification
// of a load, the read-back of a programming) add to the same record, so every operation
// gives exactly one record whichever flow it started in.
class OperationScope {
public:
    OperationScope(Session& session, Operation operation);
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    OperationRecord& record();
    bool outermost() const { return m_outermost; }
    void SetOutcome(Outcome outcome);
    // The outcome of a flow that stopped early: the line went away, or a box was cancelled.
    void SetFailed();
    // Cells read from now on are the memory after the writes.
    void CellsAfterWrites();

private:
    Session& m_session;
    bool m_outermost = false;
};

// The outcome of a stopped flow on this session's line.
Outcome FailureOutcome(const Session& session);

}  // namespace vantrel::session
