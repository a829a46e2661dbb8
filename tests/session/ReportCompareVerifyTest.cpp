// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Verified programming, the comparison of a transmitter with a file, the configuration
// report, the production line, and the record every operation hands to its recorder, against
// in-process simulated transmitters on the virtual clock (their faults giving the failures).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <mutex>

#include "SimBench.h"
#include "SimStations.h"
#include "device/exchange/VerifyWrites.h"
#include "files/ProgramFile.h"
#include "session/ProductionLine.h"
#include "session/Records.h"
#include "resources/StringTable.h"
#include "session/Reports.h"

namespace {

using namespace vantrel;
using session::Operation;
using session::Outcome;
using test::SimBench;

// Called from the production line's threads too.
struct ListRecorder final : session::OperationRecorder {
    std::mutex mutex;
    std::vector<session::OperationRecord> records;
    void Record(const session::OperationRecord& record) override {
        std::lock_guard lock(mutex);
        records.push_back(record);
    }
};

using test::ExampleRecord;

// Loads the bench, pushes the record and programs it.
session::ProgramOutcome ProgramRecord(SimBench& b, const device::ConfigRecord& record, bool verify) {
    EXPECT_EQ(b.Load(), session::LoadOutcome::Connected);
    EXPECT_TRUE(session::LoadRecord(b.session, record));
    return session::ProgramAndReadBack(b.session, b.view, b.session.form.EncodeInput(), {verify});
}

// The transmitter stops answering once the writes are out.
void SilentAfterTheWrites(SimBench& b) {
    b.recorder.onWrite = [&b](const std::string& frame) {
        if (frame.rfind("$FPxx", 0) == 0) b.transmitter.faults().noReply = true;
    };
}

std::vector<ui::RecordField> DifferingFields(const ui::Comparison& comparison) {
    std::vector<ui::RecordField> fields;
    for (const ui::CompareRow& row : comparison.rows)
        if (row.differs) fields.push_back(row.field);
    return fields;
}

// ---- Verified programming ------------------------------------------------------------

TEST(ExpectedCells, RepeatedAddress_LastValueWins_InAddressOrder) {
    const std::vector<device::WriteEntry> sent = {{20, 1}, {5, 7}, {20, 9}, {6, 3}};
    const std::vector<device::WriteEntry> expected = {{5, 7}, {6, 3}, {20, 9}};
    EXPECT_EQ(device::ExpectedCells(sent), expected);
}

// A clean transmitter: every written cell checked once. A bad cell: reported with its address,
// what was sent and what it holds. Without the option no cell is checked.
TEST(VerifiedProgramming, CleanTransmitter_BadCell_AndWithoutTheOption) {
    for (const int bad : {-1, 17}) {
        for (const bool verify : {true, false}) {
            SCOPED_TRACE(std::to_string(bad) + (verify ? " verified" : ""));
            SimBench b;
            b.transmitter.faults().corruptWriteAddress = bad;
            const session::ProgramOutcome outcome = ProgramRecord(b, ExampleRecord(), verify);
            ASSERT_EQ(outcome.result.status, device::ProgramStatus::Done);
            EXPECT_TRUE(outcome.readBack);
            ASSERT_EQ(outcome.verify.has_value(), verify);
            if (!verify) continue;
            EXPECT_TRUE(outcome.verify->completed);
            EXPECT_EQ(outcome.verify->cellsChecked, static_cast<int>(device::ExpectedCells(outcome.result.plan.sent).size()));
            EXPECT_FALSE(b.transmitter.programmingMode());  // the check ends its exchange
            ASSERT_EQ(outcome.verify->mismatches.size(), bad < 0 ? 0u : 1u);
            if (bad < 0) continue;
            const device::CellMismatch& m = outcome.verify->mismatches[0];
            const auto sent = std::find_if(outcome.result.plan.sent.rbegin(), outcome.result.plan.sent.rend(),
                                           [](const device::WriteEntry& w) { return w.address == 17; });
            EXPECT_EQ(m.address, 17);
            EXPECT_EQ(m.expected, sent->value);
            EXPECT_EQ(m.read, static_cast<std::uint8_t>(~sent->value));
            EXPECT_EQ(m.read, b.Cell(17));
        }
    }
}

// Without the cell check, the configuration read back after the writes still has to be the
// one asked for: a cell that did not take its byte shows in the field it belongs to.
TEST(ReadBackCheck, ACellThatDidNotTakeItsByte_FailsTheProgrammingNamingTheField) {
    SimBench clean;
    const session::ProgramOutcome good = ProgramRecord(clean, ExampleRecord(), false);
    ASSERT_EQ(good.result.status, device::ProgramStatus::Done);
    EXPECT_TRUE(good.Confirmed());
    EXPECT_EQ(clean.dialogs.countShown(resources::text::kReadBackDiffers), 0);
    const int outputTableHigh = good.result.plan.Layout.T3 + 1;  // sign and mantissa of the first code

    const std::pair<int, device::ReadBackField> cases[] = {{device::cell::InputCode, device::ReadBackField::InputCode},
                                                           {device::cell::OptionFlags, device::ReadBackField::OptionFlags},
                                                           {device::cell::RangeMaxHigh, device::ReadBackField::InputRange},
                                                           {outputTableHigh, device::ReadBackField::OutputRange}};
    for (const auto& [address, field] : cases) {
        SimBench b;
        b.transmitter.faults().corruptWriteAddress = address;
        const session::ProgramOutcome outcome = ProgramRecord(b, ExampleRecord(), false);
        SCOPED_TRACE(address);
        EXPECT_EQ(outcome.result.status, device::ProgramStatus::Done);
        EXPECT_TRUE(outcome.readBack);
        EXPECT_FALSE(outcome.Confirmed());
        ASSERT_FALSE(outcome.readBackDifferences.empty());
        EXPECT_EQ(outcome.readBackDifferences.front().field, field);
        EXPECT_EQ(b.dialogs.countShown(resources::text::kReadBackDiffers), 1);
    }
}

TEST(VerifiedProgramming, TransmitterSilentDuringCheck_ReportedIncompleteNotVerified) {
    SimBench b;
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    ASSERT_TRUE(session::LoadRecord(b.session, ExampleRecord()));
    SilentAfterTheWrites(b);  // the first read of the check gets nothing
    const session::ProgramOutcome outcome =
        session::ProgramAndReadBack(b.session, b.view, b.session.form.EncodeInput(), {true});
    ASSERT_TRUE(outcome.verify);
    EXPECT_FALSE(outcome.verify->completed);
    EXPECT_FALSE(outcome.verify->Verified());
}

// ---- Compare ---------------------------------------------------------------------------

// Right after programming no field differs; changed fields are exactly those marked; the
// read leaves what the user typed in the form alone.
TEST(Compare, RightAfterProgramming_ExactlyTheChangedFieldsDiffer_TheFormIsKept) {
    SimBench b;
    const device::ConfigRecord record = ExampleRecord();
    ProgramRecord(b, record, false);
    const auto same = session::CompareWithDevice(b.session, record);
    ASSERT_TRUE(same);
    EXPECT_TRUE(same->Equal()) << DifferingFields(*same).size();

    b.SetInputRange("0", "700");
    device::ConfigRecord file = record;
    file.InRangeMax = 800;
    file.FilterOn = device::ToFlag(!device::FromFlag(record.FilterOn));
    file.Trip2High = record.Trip2High + 50;
    file.OutputDirect = device::ToFlag(!device::FromFlag(record.OutputDirect));
    file.ZeroAdjust = 12;
    const auto comparison = session::CompareWithDevice(b.session, file);
    ASSERT_TRUE(comparison);
    using F = ui::RecordField;
    EXPECT_EQ(DifferingFields(*comparison),
              (std::vector<F>{F::InRangeMax, F::ZeroAdjust, F::OutputDirect, F::FilterOn, F::Trip2High}));
    const auto row = std::find_if(comparison->rows.begin(), comparison->rows.end(),
                                  [](const ui::CompareRow& r) { return r.field == F::InRangeMax; });
    EXPECT_EQ(row->deviceValue, "1000 °C");
    EXPECT_EQ(row->fileValue, "800 °C");
    EXPECT_EQ(b.session.form.inputRange().maxText(), "700");
}

// Another input family: the sensor rows are marked where only one side has them. A range end
// within the transmitter's resolution (about 0.5 °C at 1000 °C) is equal, beyond it differs.
TEST(Compare, OtherInputFamily_RangeEndsWithinTheResolution) {
    const device::ConfigRecord thermocouple = ExampleRecord();
    device::ConfigRecord other = thermocouple;
    other.InputType = device::family::Rtd;
    using F = ui::RecordField;
    const std::vector<F> differing = DifferingFields(ui::CompareConfigurations(thermocouple, other, {300, {}}));
    for (F f : {F::InputType, F::TcType, F::RtdSensor, F::Wires, F::CjcInternal})
        EXPECT_NE(std::find(differing.begin(), differing.end(), f), differing.end()) << static_cast<int>(f);
    EXPECT_EQ(std::find(differing.begin(), differing.end(), F::PotRange), differing.end());

    other = thermocouple;
    other.InRangeMax = thermocouple.InRangeMax + 0.2f;
    EXPECT_TRUE(ui::CompareConfigurations(thermocouple, other, {300, {}}).Equal());
    other.InRangeMax = thermocouple.InRangeMax + 2;
    EXPECT_FALSE(ui::CompareConfigurations(thermocouple, other, {300, {}}).Equal());
}

TEST(Compare, NothingConnected_NoComparison) {
    SimBench b;
    b.transmitter.faults().noReply = true;
    b.Load();
    EXPECT_FALSE(session::CompareWithDevice(b.session, ExampleRecord()));
}

// ---- Report ------------------------------------------------------------------------------

TEST(Report, FromFile_SectionsAndBreakpointTable) {
    SimBench b;  // not loaded: no transmitter, the default identity (model with trips)
    b.session.form.Load(b.session.state.identity, ui::Mode::Programming);
    ASSERT_TRUE(session::LoadRecord(b.session, ExampleRecord()));
    b.session.state.CurrentFile = "/data/TC_K_0-1000C_4-20mA.D70";
    const ui::ConfigReport report = session::SessionReport(b.session, false, "2024-05-17 10:42");
    EXPECT_EQ(report.title, "Configuration report");
    using K = ui::ReportSectionKind;
    for (K kind : {K::Identification, K::Input, K::Ranges, K::Output, K::Trims, K::Filter, K::Trips, K::Breakpoints})
        EXPECT_TRUE(report.Find(kind)) << static_cast<int>(kind);
    const ui::ReportSection& id = *report.Find(K::Identification);
    EXPECT_EQ(id.rows.front().value, "TC_K_0-1000C_4-20mA.D70");
    EXPECT_EQ(id.rows.back().value, "2024-05-17 10:42");
    EXPECT_EQ(id.rows.size(), 2u);  // no model or serial number without a transmitter
    EXPECT_EQ(report.Find(K::Ranges)->rows[0].value, "0 to 1000 °C");
    EXPECT_EQ(report.Find(K::Ranges)->rows[1].value, "4 to 20 mA");
    const ui::ReportSection& table = *report.Find(K::Breakpoints);
    ASSERT_TRUE(table.table);
    ASSERT_GE(table.table->rows.size(), 3u);
    EXPECT_EQ(table.table->rows.front()[1], "0.0");
    EXPECT_EQ(table.table->rows.front()[2], "4.000");
    EXPECT_EQ(table.table->rows.back()[1], "1000.0");
    EXPECT_EQ(table.table->rows.back()[2], "20.000");
}

TEST(Report, FromTransmitter_IdentityAndSerialInItalian) {
    SimBench b(sim::MakeDefaultProfile(), 0);
    ProgramRecord(b, ExampleRecord(), false);
    const ui::ConfigReport report = session::SessionReport(b.session, true, "2024-05-17");
    EXPECT_EQ(report.title, "Rapporto di configurazione");
    const ui::ReportSection& id = *report.Find(ui::ReportSectionKind::Identification);
    EXPECT_EQ(id.rows[0].value, "Trasmettitore collegato");
    const auto serial = std::find_if(id.rows.begin(), id.rows.end(),
                                     [](const ui::ReportRow& r) { return r.label == "Numero di serie"; });
    ASSERT_NE(serial, id.rows.end());
    EXPECT_EQ(serial->value, std::to_string(b.session.serial.customer) + " " +
                                 std::to_string(b.session.serial.yearCode + 5) + " " +
                                 std::to_string(b.session.serial.order) + " " +
                                 std::to_string(b.session.serial.progressive));
    EXPECT_TRUE(report.Find(ui::ReportSectionKind::Trips));
}

// A model without trips has no trips or trims section; texts are escaped in the HTML.
TEST(Report, ModelWithoutTrips_NoTripsOrTrims_HtmlEscapesTexts) {
    ui::ReportInput input;
    input.record = ExampleRecord();
    input.identity.DeviceModel = 9;
    input.fileName = "a<b>&c.D70";
    const ui::ConfigReport report = ui::MakeConfigReport(input);
    EXPECT_FALSE(report.Find(ui::ReportSectionKind::Trips));
    EXPECT_FALSE(report.Find(ui::ReportSectionKind::Trims));
    EXPECT_EQ(report.Find(ui::ReportSectionKind::Breakpoints)->note, "No table for this configuration");
    const std::string html = ui::ReportHtml(report);
    EXPECT_NE(html.find("a&lt;b&gt;&amp;c.D70"), std::string::npos);
    EXPECT_EQ(html.find("a<b>"), std::string::npos);
}

// ---- Production line ---------------------------------------------------------------------

// Four stations, one silent and one with a bad cell: the others programmed and verified, each
// holding what the same programming leaves in a transmitter alone.
TEST(ProductionLine, OneSilentOneCorrupt_OthersProgrammedAndVerified) {
    test::SimStations line(4);
    line.transmitters[1]->faults().noReply = true;
    line.transmitters[2]->faults().corruptWriteAddress = 30;
    const device::ConfigRecord record = ExampleRecord();
    ListRecorder recorder;
    session::StationSettings settings{true, 1};
    settings.recorder = &recorder;
    const auto results = session::ProgramStations(line.Stations(), record, settings);
    ASSERT_EQ(results.size(), 4u);
    // Each station records its load and its programming.
    std::map<std::string, std::vector<std::pair<Operation, Outcome>>> byPort;
    for (const auto& r : recorder.records) byPort[r.port].emplace_back(r.operation, r.outcome);
    using Pairs = std::vector<std::pair<Operation, Outcome>>;
    EXPECT_EQ(byPort["sim0"], (Pairs{{Operation::Read, Outcome::Done}, {Operation::ProgramVerified, Outcome::Done}}));
    EXPECT_EQ(byPort["sim1"], (Pairs{{Operation::Read, Outcome::Cancelled}}));
    EXPECT_EQ(byPort["sim2"], (Pairs{{Operation::Read, Outcome::Done}, {Operation::ProgramVerified, Outcome::VerifyFailed}}));
    EXPECT_EQ(results[1].status, session::StationStatus::NotConnected);
    EXPECT_FALSE(results[1].serial);
    EXPECT_EQ(results[2].status, session::StationStatus::VerifyFailed);
    ASSERT_TRUE(results[2].verify);
    ASSERT_EQ(results[2].verify->mismatches.size(), 1u);
    EXPECT_EQ(results[2].verify->mismatches[0].address, 30);
    SimBench reference;
    const session::ProgramOutcome alone = ProgramRecord(reference, record, false);
    for (std::size_t i : {0u, 3u}) {
        EXPECT_EQ(results[i].port, "sim" + std::to_string(i));
        EXPECT_EQ(results[i].status, session::StationStatus::Programmed) << i;
        ASSERT_TRUE(results[i].verify);
        EXPECT_TRUE(results[i].verify->Verified());
        EXPECT_TRUE(results[i].serial);
        for (const device::WriteEntry& w : device::ExpectedCells(alone.result.plan.sent))
            EXPECT_EQ(line.transmitters[i]->memory().read(w.address), w.value) << i << " cell " << int(w.address);
    }
}

// ---- Records ---------------------------------------------------------------------------

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
const Step kProgramVerified = [](SimBench& b) {
    session::ProgramAndReadBack(b.session, b.view, b.session.form.EncodeInput(), {true});
};
// A loaded bench with the form set to a type K thermocouple 0..max °C, then `then`.
Step LoadedK(const char* max = "500", const Step& then = kNothing) {
    return [=](SimBench& b) {
        ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
        b.ChooseThermocoupleK("0", max);
        then(b);
    };
}
const Step kPullAfter40Writes = [](SimBench& b) {  // the writes are left in an unknown state
    b.recorder.onWrite = [&b, writes = 0](const std::string& frame) mutable {
        if (frame.rfind("$W", 0) == 0 && ++writes == 40) b.transmitter.pullCable();
    };
};

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
    {"Program", LoadedK(), kProgram, Operation::Program, Outcome::Done},
    {"ProgramVerified_BadCell", LoadedK("500", [](SimBench& b) { b.transmitter.faults().corruptWriteAddress = 17; }),
     kProgramVerified, Operation::ProgramVerified, Outcome::VerifyFailed},
    {"Program_CablePulledDuringTheWrites", LoadedK("500", kPullAfter40Writes), kProgram, Operation::Program,
     Outcome::WrittenNotConfirmed},
    {"Program_SilentAfterTheWrites_NotConfirmed", LoadedK("500", SilentAfterTheWrites), kProgram, Operation::Program,
     Outcome::WrittenNotConfirmed},
    {"Program_NoisyRangeDeclined", LoadedK("5", [](SimBench& b) { b.dialogs.answer(link::Answer::No); }), kProgram,
     Operation::Program, Outcome::Refused},
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
    LoadedK()(b);
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

}  // namespace
