// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Verified programming, the comparison of a transmitter with a file, the configuration
// report and the production line, against in-process simulated transmitters on the virtual
// clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "SimBench.h"
#include "SimStations.h"
#include "device/VerifyWrites.h"
#include "files/ProgramFile.h"
#include "session/ProductionLine.h"
#include "session/Records.h"
#include "resources/StringTable.h"
#include "session/Reports.h"

namespace {

using namespace vantrel;
using test::SimBench;

using test::ExampleRecord;

// Loads the bench, pushes the record and programs it.
session::ProgramOutcome ProgramRecord(SimBench& b, const device::ConfigRecord& record, bool verify) {
    EXPECT_EQ(b.Load(), session::LoadOutcome::Connected);
    EXPECT_TRUE(session::LoadRecord(b.session, record));
    return session::ProgramAndReadBack(b.session, b.view, b.session.form.EncodeInput(), {verify});
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
    const device::ConfigRecord record = ExampleRecord();
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    ASSERT_TRUE(session::LoadRecord(b.session, record));
    // Answers stop once the writes are out: the first read of the check gets nothing.
    b.recorder.onWrite = [&](const std::string& frame) {
        if (frame.rfind("$FPxx", 0) == 0) b.transmitter.faults().noReply = true;
    };
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

TEST(Compare, OtherInputFamily_SensorRowsMarkedWhereOnlyOneSideHasThem) {
    const device::ConfigRecord thermocouple = ExampleRecord();
    device::ConfigRecord rtd = thermocouple;
    rtd.InputType = device::family::Rtd;
    const ui::Comparison c = ui::CompareConfigurations(thermocouple, rtd, {300, {}});
    using F = ui::RecordField;
    const std::vector<F> differing = DifferingFields(c);
    for (F f : {F::InputType, F::TcType, F::RtdSensor, F::Wires, F::CjcInternal})
        EXPECT_NE(std::find(differing.begin(), differing.end(), f), differing.end()) << static_cast<int>(f);
    EXPECT_EQ(std::find(differing.begin(), differing.end(), F::PotRange), differing.end());
}

TEST(Compare, RangeEndWithinTransmitterResolution_Equal_BeyondIt_Differs) {
    device::ConfigRecord a = ExampleRecord();
    device::ConfigRecord b = a;
    b.InRangeMax = a.InRangeMax + 0.2f;  // 1000 °C holds in steps of about 0.5 °C
    EXPECT_TRUE(ui::CompareConfigurations(a, b, {300, {}}).Equal());
    b.InRangeMax = a.InRangeMax + 2;
    EXPECT_FALSE(ui::CompareConfigurations(a, b, {300, {}}).Equal());
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

TEST(Report, ModelWithoutTrips_NoTripsOrTrimsSection) {
    ui::ReportInput input;
    input.record = ExampleRecord();
    input.identity.DeviceModel = 9;
    const ui::ConfigReport report = ui::MakeConfigReport(input);
    EXPECT_FALSE(report.Find(ui::ReportSectionKind::Trips));
    EXPECT_FALSE(report.Find(ui::ReportSectionKind::Trims));
    EXPECT_EQ(report.Find(ui::ReportSectionKind::Breakpoints)->note, "No table for this configuration");
}

TEST(Report, Html_EscapesTexts) {
    ui::ReportInput input;
    input.record = ExampleRecord();
    input.fileName = "a<b>&c.D70";
    const std::string html = ui::ReportHtml(ui::MakeConfigReport(input));
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
    const auto results = session::ProgramStations(line.Stations(), record, {true, 1});
    ASSERT_EQ(results.size(), 4u);
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

}  // namespace
