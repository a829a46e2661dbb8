// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Recording.h"

#include "session/Session.h"

namespace vantrel::session {

namespace {

constexpr int kSerialCustomerCell = 0;
constexpr int kSerialYearOrderCell = 13;
constexpr int kSerialLowCell = 226;
constexpr int kSerialProgressiveCell = 227;

struct Names {
    const char* key;
    int textId;
};

Names OperationNames(Operation operation) {
    switch (operation) {
        case Operation::Identify: return {"identify", 2240};
        case Operation::Read: return {"read", 2241};
        case Operation::Program: return {"program", 2242};
        case Operation::ProgramVerified: return {"program-verify", 2243};
        case Operation::Compare: return {"compare", 2244};
        case Operation::SerialRead: return {"serial-read", 2245};
    }
    return {"", 0};
}

Names OutcomeNames(Outcome outcome) {
    switch (outcome) {
        case Outcome::Done: return {"done", 2250};
        case Outcome::Cancelled: return {"cancelled", 2251};
        case Outcome::CommunicationFailed: return {"communication-failed", 2252};
        case Outcome::Refused: return {"refused", 2253};
        case Outcome::Interrupted: return {"interrupted", 2254};
        case Outcome::WrittenNotConfirmed: return {"written-not-confirmed", 2255};
        case Outcome::VerifyFailed: return {"verify-failed", 2256};
        case Outcome::Different: return {"different", 2257};
    }
    return {"", 0};
}

constexpr Operation kOperations[] = {Operation::Identify, Operation::Read,    Operation::Program,
                                     Operation::ProgramVerified, Operation::Compare, Operation::SerialRead};
constexpr Outcome kOutcomes[] = {Outcome::Done,        Outcome::Cancelled,           Outcome::CommunicationFailed,
                                 Outcome::Refused,     Outcome::Interrupted,         Outcome::WrittenNotConfirmed,
                                 Outcome::VerifyFailed, Outcome::Different};

}  // namespace

const char* OperationKey(Operation operation) { return OperationNames(operation).key; }
const char* OutcomeKey(Outcome outcome) { return OutcomeNames(outcome).key; }
int OperationTextId(Operation operation) { return OperationNames(operation).textId; }
int OutcomeTextId(Outcome outcome) { return OutcomeNames(outcome).textId; }

std::optional<Operation> OperationFromKey(const std::string& key) {
    for (Operation operation : kOperations)
        if (key == OperationKey(operation)) return operation;
    return std::nullopt;
}

std::optional<Outcome> OutcomeFromKey(const std::string& key) {
    for (Outcome outcome : kOutcomes)
        if (key == OutcomeKey(outcome)) return outcome;
    return std::nullopt;
}

std::optional<device::SerialNumber> MemoryImage::Serial() const {
    if (!Has(kSerialCustomerCell) || !Has(kSerialYearOrderCell) || !Has(kSerialLowCell) ||
        !Has(kSerialProgressiveCell))
        return std::nullopt;
    device::SerialCells serialCells;
    serialCells.cell0 = cells[kSerialCustomerCell];
    serialCells.cell13 = cells[kSerialYearOrderCell];
    serialCells.cell226 = cells[kSerialLowCell];
    serialCells.cell227 = cells[kSerialProgressiveCell];
    return device::DecodeSerialNumber(serialCells);
}

OperationScope::OperationScope(Session& session, Operation operation) : m_session(session) {
    Session::RunningOperation& running = m_session.running;
    m_outermost = running.depth++ == 0;
    if (!m_outermost) return;
    running.record = OperationRecord{};
    running.record.operation = operation;
    running.record.port = m_session.port;
    if (m_session.connected()) running.record.identity = m_session.state.identity;
    running.cellsInto = &running.record.memoryBefore;
}

OperationScope::~OperationScope() {
    Session::RunningOperation& running = m_session.running;
    --running.depth;
    if (!m_outermost) return;
    running.cellsInto = nullptr;
    OperationRecord& record = running.record;
    // Programming and comparison read the serial cells without decoding them.
    if (!record.serial && record.identity) {
        record.serial = record.memoryBefore.Serial();
        if (!record.serial) record.serial = record.memoryAfter.Serial();
    }
    if (!m_session.recorder) return;
    try {
        m_session.recorder->Record(record);
    } catch (...) {
        // Recording never fails an operation.
    }
}

OperationRecord& OperationScope::record() { return m_session.running.record; }

void OperationScope::SetOutcome(Outcome outcome) { record().outcome = outcome; }

void OperationScope::SetFailed() { SetOutcome(FailureOutcome(m_session)); }

void OperationScope::CellsAfterWrites() { m_session.running.cellsInto = &record().memoryAfter; }

Outcome FailureOutcome(const Session& session) {
    return session.protocol.lineLost() ? Outcome::CommunicationFailed : Outcome::Cancelled;
}

}  // namespace vantrel::session
