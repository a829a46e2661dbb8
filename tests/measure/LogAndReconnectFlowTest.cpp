// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement log and the way back after a pulled cable, end to end on the virtual clock
// against the in-process simulated transmitter.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempFolder.h"
#include "SimBench.h"
#include "measure/MeasurementLog.h"

namespace vantrel::test {
namespace {

using link::Answer;

class Collector final : public measure::MeasureObserver {
public:
    void Show(const measure::Reading& reading) override { readings.push_back(reading); }
    std::vector<measure::Reading> readings;
};

std::vector<std::vector<std::string>> CsvRows(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> fields;
        std::stringstream split(line);
        std::string field;
        while (std::getline(split, field, ',')) fields.push_back(field);
        if (!line.empty() && line.back() == ',') fields.emplace_back();
        rows.push_back(fields);
    }
    return rows;
}

measure::MeasureResult MeasureInto(SimBench& b, measure::MeasureObserver& observer, const Collector& seen,
                                   std::size_t frames) {
    return session::Measure(b.session, observer, [&] { return seen.readings.size() >= frames; });
}

TEST(MeasurementLogFlow, SilencedTransmitter_EveryRowShownBeforeIsInTheFileInOrderAndParseable) {
    SimBench b;
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    b.transmitter.setInput({sim::Quantity::Temperature, 300, 23});
    b.transmitter.faults().silentAfterFrames = b.transmitter.framesSent() + 40;
    TempFolder folder;
    const std::filesystem::path path = folder / "silent.csv";
    auto opened = measure::MeasurementLog::Open(path.string(), measure::ClockAnchoredTimeSource(b.clock, {0, 0}));
    ASSERT_TRUE(opened.log) << opened.error;
    Collector seen;
    measure::LoggingObserver observer(seen, opened.log.get());

    EXPECT_EQ(MeasureInto(b, observer, seen, 1000), measure::MeasureResult::CommunicationError);
    EXPECT_EQ(b.dialogs.countShown(85), 1);
    ASSERT_GE(seen.readings.size(), 30u);

    // Read while the log is still open: nothing waits in a buffer.
    const auto rows = CsvRows(path);
    ASSERT_EQ(rows.size(), seen.readings.size() + 1);
    EXPECT_EQ(rows[0].size(), 9u);
    std::string previousTime;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string>& row = rows[i];
        ASSERT_EQ(row.size(), 9u) << i;
        EXPECT_GT(row[0], previousTime) << "rows out of order at " << i;
        previousTime = row[0];
        const measure::Reading& shown = seen.readings[i - 1];
        EXPECT_NEAR(std::stod(row[1]), shown.output.value(), 0.0005) << i;
        EXPECT_EQ(row[2], "mA");
        EXPECT_NEAR(std::stod(row[3]), shown.value.value(), 0.05) << i;
        EXPECT_EQ(row[4], "°C");
        EXPECT_EQ(row[5], "0");
        EXPECT_EQ(row[6], "0");
        EXPECT_FALSE(row[7].empty());
    }
    EXPECT_NEAR(std::stod(rows.back()[3]), 300, 1);
}

// The cable comes out in the middle of a measurement and goes back in 20 s later. The
// measurement ends in the not-connected state; "connect" while the cable is still out says
// so; "connect" once it is back reopens the port and the measurement runs again.
TEST(Reconnect, PulledCableThenReplugged_ConnectBringsTheSessionBack) {
    SimBench b;
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    b.transmitter.setInput({sim::Quantity::Temperature, 500, 23});
    b.transmitter.faults().closeLineAfterFrames = b.transmitter.framesSent() + 15;
    b.transmitter.faults().replugAfterSeconds = 20;

    Collector first;
    EXPECT_EQ(MeasureInto(b, first, first, 1000), measure::MeasureResult::CommunicationError);
    EXPECT_GE(first.readings.size(), 10u);
    EXPECT_FALSE(b.session.connected());
    EXPECT_TRUE(b.transmitter.lineClosed());

    // Still unplugged: the port cannot be opened, the form stays without a transmitter.
    const std::size_t boxesBefore = b.dialogs.shown().size();
    EXPECT_EQ(b.Load(), session::LoadOutcome::NotConnected);
    EXPECT_GT(b.dialogs.shown().size(), boxesBefore);
    EXPECT_FALSE(b.line.isOpen());

    b.clock.advance(20);
    EXPECT_EQ(b.Load(), session::LoadOutcome::Connected);
    EXPECT_TRUE(b.line.isOpen());
    EXPECT_FALSE(b.session.protocol.lineLost());
    Collector second;
    EXPECT_EQ(MeasureInto(b, second, second, 10), measure::MeasureResult::Stopped);
    ASSERT_EQ(second.readings.size(), 10u);
    EXPECT_NEAR(second.readings.back().value.value(), 500, 1);
}

// A pulled cable that is noticed by a refused write keeps its dead port handle until the
// next load, which closes it and opens the port again.
TEST(Reconnect, LostLineIsClosedAndOpenedAgainByTheNextLoad) {
    SimBench b;
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    b.transmitter.pullCable();
    EXPECT_FALSE(b.session.protocol.Send("SM"));
    EXPECT_TRUE(b.session.protocol.lineLost());
    b.transmitter.plugCable();
    EXPECT_EQ(b.Load(), session::LoadOutcome::Connected);
    EXPECT_FALSE(b.session.protocol.lineLost());
}

}  // namespace
}  // namespace vantrel::test
