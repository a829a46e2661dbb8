// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every operation a session runs hands exactly one record to its recorder, with the outcome
// that happened: the flows against the in-process simulated transmitter on the virtual clock,
// its faults giving the failures and cancels.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <mutex>

#include "SimBench.h"
#include "SimStations.h"
#include "files/ProgramFile.h"
#include "session/ProductionLine.h"
#include "session/Records.h"
#include "session/Reports.h"

namespace {

using namespace vantrel;
using session::Operation;
using session::Outcome;
using test::SimBench;

struct ListRecorder final : session::OperationRecorder {
    std::vector<session::OperationRecord> records;
    void Record(const session::OperationRecord& record) override { records.push_back(record); }
};

using test::ExampleRecord;

// Programs the form's thermocouple K 0..500 °C on a loaded bench, the recorder attached after
// the load.
void LoadAndChoose(SimBench& b) {
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    b.ChooseThermocoupleK("0", "500");
}

// `prepare` sets the bench up; the recorder is attached just before `run` starts the operation.
using Step = std::function<void(SimBench&)>;
struct Case {
    const char* name;
    Step prepare;
    Step run;
    Operation operation;
    Outcome outcome;
};

const Step kNothing = [](SimBench&) {};
const Step kLoad = [](SimBench& b) { b.Load(); };
const Step kProgram = [](SimBench& b) { b.Program(); };
const Step kLoadedK = [](SimBench& b) { LoadAndChoose(b); };

const Case kCases[] = {
    {"LoadOnAnsweringTransmitter", kNothing, kLoad, Operation::Read, Outcome::Done},
    {"LoadOnSilentLine_CancelChosen", [](SimBench& b) { b.transmitter.faults().noReply = true; }, kLoad,
     Operation::Read, Outcome::Cancelled},
    {"LoadOnPortThatWillNotOpen",
     [](SimBench& b) { b.recorder.openFailure = link::OpenResult{link::OpenError::NoSuchPort, {}}; }, kLoad,
     Operation::Read, Outcome::CommunicationFailed},
    {"ReadFallsSilentMidway", [](SimBench& b) { b.transmitter.faults().silentAfterReplies = 1 + 6; },  // "$V", six cells
     kLoad, Operation::Read, Outcome::Cancelled},
    {"IdentifyOnly", kNothing, [](SimBench& b) { session::ConnectAndIdentify(b.session, b.view); }, Operation::Identify,
     Outcome::Done},
    {"Program", kLoadedK, kProgram, Operation::Program, Outcome::Done},
    {"ProgramVerified_BadCell",
     [](SimBench& b) {
         LoadAndChoose(b);
         b.transmitter.faults().corruptWriteAddress = 17;
     },
     [](SimBench& b) { session::ProgramAndReadBack(b.session, b.view, b.session.form.EncodeInput(), {true}); },
     Operation::ProgramVerified, Outcome::VerifyFailed},
    {"Program_CablePulledDuringTheWrites",  // 39 writes went out: unknown state
     [](SimBench& b) {
         LoadAndChoose(b);
         b.recorder.onWrite = [&b, writes = 0](const std::string& frame) mutable {
             if (frame.rfind("$W", 0) == 0 && ++writes == 40) b.transmitter.pullCable();
         };
     },
     kProgram, Operation::Program, Outcome::WrittenNotConfirmed},
    {"Program_SilentAfterTheWrites_NotConfirmed",
     [](SimBench& b) {
         LoadAndChoose(b);
         b.recorder.onWrite = [&b](const std::string& frame) {
             if (frame.rfind("$FPxx", 0) == 0) b.transmitter.faults().noReply = true;
         };
     },
     kProgram, Operation::Program, Outcome::WrittenNotConfirmed},
    {"Program_NoisyRangeDeclined",
     [](SimBench& b) {
         ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
         b.ChooseThermocoupleK("0", "5");
         b.dialogs.answer(link::Answer::No);
     },
     kProgram, Operation::Program, Outcome::Refused},
    {"CompareWithTheSameConfiguration", kLoad,
     [](SimBench& b) { session::CompareWithDevice(b.session, session::FormRecord(b.session)); }, Operation::Compare,
     Outcome::Done},
    {"CompareWithAnotherConfiguration", kLoad,
     [](SimBench& b) {
         device::ConfigRecord other = session::FormRecord(b.session);
         other.InRangeMax = 400;
         session::CompareWithDevice(b.session, other);
     },
     Operation::Compare, Outcome::Different},
    {"SerialRead", [](SimBench& b) { ASSERT_TRUE(session::ConnectAndIdentify(b.session, b.view)); },
     [](SimBench& b) { session::ReadSerial(b.session); }, Operation::SerialRead, Outcome::Done},
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class RecordedOperation : public ::testing::TestWithParam<Case> {};

TEST_P(RecordedOperation, OneRecordWithTheOutcomeThatHappened) {
    SimBench b;
    ListRecorder recorder;
    GetParam().prepare(b);
    b.session.recorder = &recorder;
    GetParam().run(b);
    ASSERT_EQ(recorder.records.size(), 1u);
    const session::OperationRecord& r = recorder.records[0];
    EXPECT_EQ(r.operation, GetParam().operation);
    EXPECT_EQ(r.outcome, GetParam().outcome);
    EXPECT_EQ(r.port, "sim");
    // What the operation could learn of the transmitter is in the record.
    const bool answered = r.outcome != Outcome::Cancelled && r.outcome != Outcome::CommunicationFailed;
    if (!answered) return;
    ASSERT_TRUE(r.identity);
    EXPECT_EQ(r.identity->DeviceModel, 10);
    if (r.operation == Operation::Identify) return;
    const device::SerialNumber expected = device::DecodeSerialNumber(
        {static_cast<std::uint8_t>(b.Cell(0)), static_cast<std::uint8_t>(b.Cell(13)), static_cast<std::uint8_t>(b.Cell(226)),
         static_cast<std::uint8_t>(b.Cell(227))});
    ASSERT_TRUE(r.serial);
    EXPECT_TRUE(*r.serial == expected) << r.serial->order << ' ' << r.serial->progressive;
    EXPECT_FALSE(r.memoryBefore.Empty());
    if (r.operation != Operation::SerialRead) {
        EXPECT_EQ(r.configuration.size(), files::kRecordSize);
    }
    const bool programming = r.operation == Operation::Program || r.operation == Operation::ProgramVerified;
    EXPECT_EQ(!r.writes.empty(), programming && r.outcome != Outcome::Refused);
    EXPECT_EQ(r.verify.has_value(), r.operation == Operation::ProgramVerified);
    const bool readAfterWrites = r.outcome == Outcome::Done || r.outcome == Outcome::VerifyFailed;
    EXPECT_EQ(!r.memoryAfter.Empty(), programming && readAfterWrites);
}

INSTANTIATE_TEST_SUITE_P(Flows, RecordedOperation, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(RecordedOperation, ProgrammingKeepsWhatWasProgrammed_AndTheCellsBeforeAndAfter) {
    SimBench b;
    LoadAndChoose(b);
    ListRecorder recorder;
    b.session.recorder = &recorder;
    const session::ProgramOutcome outcome = b.Program();
    ASSERT_EQ(recorder.records.size(), 1u);
    const session::OperationRecord& r = recorder.records[0];
    device::ConfigRecord programmed;
    ASSERT_EQ(files::DecodeRecord(r.configuration, programmed), files::FileError::None);
    EXPECT_FLOAT_EQ(programmed.InRangeMax, 500);
    EXPECT_EQ(r.writes.size(), outcome.result.plan.sent.size());
    // The cells read after the writes are the transmitter's.
    for (const device::WriteEntry& w : r.writes) {
        if (!r.memoryAfter.Has(w.address)) continue;
        EXPECT_EQ(r.memoryAfter.cells[w.address], b.Cell(w.address)) << int(w.address);
    }
    EXPECT_TRUE(r.memoryAfter.DiffersFrom(r.memoryBefore));
    EXPECT_NE(r.summary.find("0 to 500"), std::string::npos) << r.summary;
}

TEST(RecordedOperation, ProductionLine_EachStationRecordsItsLoadAndItsProgramming) {
    test::SimStations line(2);
    line.transmitters[1]->faults().noReply = true;
    // Called from both stations' threads.
    struct LockedRecorder final : session::OperationRecorder {
        std::mutex mutex;
        std::vector<session::OperationRecord> records;
        void Record(const session::OperationRecord& record) override {
            std::lock_guard lock(mutex);
            records.push_back(record);
        }
    } recorder;
    session::StationSettings settings;
    settings.recorder = &recorder;
    session::ProgramStations(line.Stations(), ExampleRecord(), settings);
    std::map<std::string, std::vector<std::pair<Operation, Outcome>>> byPort;
    for (const auto& r : recorder.records) byPort[r.port].emplace_back(r.operation, r.outcome);
    using Pairs = std::vector<std::pair<Operation, Outcome>>;
    EXPECT_EQ(byPort["sim0"], (Pairs{{Operation::Read, Outcome::Done}, {Operation::Program, Outcome::Done}}));
    EXPECT_EQ(byPort["sim1"], (Pairs{{Operation::Read, Outcome::Cancelled}}));
}

}  // namespace
