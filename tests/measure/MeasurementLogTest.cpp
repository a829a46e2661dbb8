// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement log: ISO 8601 times, the CSV row, opening and flushing the file (a row is
// in the file as soon as it is appended, so a killed program loses none).
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "TempFolder.h"
#include "link/Clock.h"
#include "measure/MeasurementLog.h"

namespace vantrel::measure {
namespace {

std::vector<std::string> FileLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        EXPECT_TRUE(!line.empty() && line.back() == '\r') << "row without CR LF: " << line;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

Reading SampleReading() {
    Reading r;
    r.output = 12.0004;
    r.value = 500.04;
    r.valueDecimals = 1;
    r.unit = vantrel::math::Unit::Celsius;
    r.trips = TripLamps{Lamp::Red, Lamp::Yellow};
    return r;
}

// A source that gives 12:00:00.000 UTC on 2024-05-03 and moves on 100 ms per call.
TimeSource Ticking() {
    return [n = std::int64_t{0}]() mutable { return Timestamp{1714737600000 + 100 * n++, 120}; };
}

TEST(IsoTime, UtcLocalOffsetsNegativeOffsetsAndDayChanges) {
    EXPECT_EQ(IsoTime({0, 0}), "1970-01-01T00:00:00.000+00:00");
    EXPECT_EQ(IsoTime({1714737600123, 120}), "2024-05-03T14:00:00.123+02:00");
    // Newfoundland: half an hour and minus; the local date is the day before.
    EXPECT_EQ(IsoTime({1714694400000, -210}), "2024-05-02T20:30:00.000-03:30");
    // Leap day, last millisecond, and the offset carrying into the next day.
    EXPECT_EQ(IsoTime({1709251199999, 0}), "2024-02-29T23:59:59.999+00:00");
    EXPECT_EQ(IsoTime({1709251199999, 60}), "2024-03-01T00:59:59.999+01:00");
    // Before 1970: milliseconds still count forward within the second.
    EXPECT_EQ(IsoTime({-500, 0}), "1969-12-31T23:59:59.500+00:00");
}

TEST(IsoTime, SystemNowHasAPlausibleOffset_AnchoredSourceFollowsTheClock) {
    const Timestamp now = SystemNow();
    EXPECT_LE(std::abs(now.utcOffsetMinutes), 14 * 60);
    link::VirtualClock clock(50);
    const TimeSource source = ClockAnchoredTimeSource(clock, {1000, 60});
    EXPECT_EQ(source().unixMilliseconds, 1000);
    clock.advance(1.25);
    const Timestamp later = source();
    EXPECT_EQ(later.unixMilliseconds, 2250);
    EXPECT_EQ(later.utcOffsetMinutes, 60);
}

TEST(LogRow, FieldsUnitsLampsAndResolution) {
    Reading r = SampleReading();
    EXPECT_EQ(LogRow(r, {1714737600000, 0}), "2024-05-03T12:00:00.000+00:00,12.000,mA,500.0,°C,0,0,red,yellow");

    // Volts, percent with two decimals, under range, no trips (model without them).
    r.outputIsVoltage = true;
    r.output = 0.5;
    r.value = -3.456;
    r.valueDecimals = 2;
    r.unit = vantrel::math::Unit::Percent;
    r.range.underRange = Lamp::Red;
    r.trips.reset();
    EXPECT_EQ(LogRow(r, {0, 0}), "1970-01-01T00:00:00.000+00:00,0.500,V,-3.46,%,1,0,,");

    // A value that rounds to zero is not written "-0".
    r.value = -0.01;
    r.valueDecimals = 1;
    r.range = {Lamp::Grey, Lamp::Red, 0};
    EXPECT_EQ(LogRow(r, {0, 0}).substr(30), "0.500,V,0.0,%,0,1,,");
}

// Another reader sees every row before the log is closed. An interrupted stream (kGapSeconds
// without a row) is marked by a row with the time alone.
TEST(MeasurementLog, HeaderThenOneFlushedRowPerAppend_AGapIsMarkedByARowWithTheTimeAlone) {
    TempFolder folder;
    const std::filesystem::path path = folder / "log.csv";
    const std::int64_t times[] = {0, 100, 5100, 5200};
    auto opened = MeasurementLog::Open(path.string(), [&times, n = 0]() mutable { return Timestamp{times[n++], 120}; });
    ASSERT_TRUE(opened.log) << opened.error;
    EXPECT_EQ(FileLines(path), std::vector<std::string>{kLogHeader});
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(opened.log->Append(SampleReading()));
    const std::vector<std::string> lines = FileLines(path);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[2].substr(0, 29), "1970-01-01T02:00:00.100+02:00");
    EXPECT_EQ(lines[3], GapRow({5100, 120}));
    EXPECT_EQ(lines[3], "1970-01-01T02:00:05.100+02:00,,,,,,,,");
    EXPECT_EQ(lines[4].substr(0, 29), "1970-01-01T02:00:05.100+02:00");
    EXPECT_EQ(opened.log->rows(), 5);
}

TEST(MeasurementLog, ReopeningEmptiesTheFile_AMissingFolderOrAFullDiskIsAClearRefusal) {
    TempFolder folder;
    const std::filesystem::path path = folder / "log.csv";
    {
        auto first = MeasurementLog::Open(path.string(), Ticking());
        ASSERT_TRUE(first.log);
        first.log->Append(SampleReading());
    }
    auto second = MeasurementLog::Open(path.string(), Ticking());
    ASSERT_TRUE(second.log);
    EXPECT_EQ(FileLines(path).size(), 1u);

    const auto missing = MeasurementLog::Open((folder / "no-such-folder" / "log.csv").string(), Ticking());
    EXPECT_FALSE(missing.log);
    EXPECT_EQ(missing.error, std::strerror(ENOENT));
    EXPECT_FALSE(std::filesystem::exists(folder / "no-such-folder"));
#ifdef __linux__
    EXPECT_EQ(MeasurementLog::Open("/dev/full", Ticking()).error, std::strerror(ENOSPC));  // a full disk
#endif
}

TEST(LoggingObserver, PassesEverythingOnAndLogsOnlyShownReadings) {
    struct Display final : MeasureObserver {
        int started = 0, shown = 0, stopped = 0;
        void Started(const Scale&) override { ++started; }
        void Show(const Reading&) override { ++shown; }
        void Stopped() override { ++stopped; }
    } display;
    TempFolder folder;
    auto opened = MeasurementLog::Open((folder / "o.csv").string(), Ticking());
    ASSERT_TRUE(opened.log);
    LoggingObserver observer(display);
    observer.Started({});
    observer.Show(SampleReading());  // no log yet
    observer.setLog(opened.log.get());
    observer.Show(SampleReading());
    observer.Show(SampleReading());
    observer.setLog(nullptr);
    observer.Show(SampleReading());
    observer.Stopped();
    EXPECT_EQ(display.started, 1);
    EXPECT_EQ(display.shown, 4);
    EXPECT_EQ(display.stopped, 1);
    EXPECT_EQ(opened.log->rows(), 2);
}

}  // namespace
}  // namespace vantrel::measure
