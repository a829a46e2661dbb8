// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement's arithmetic (frames, filter, scale, lamps, display patterns), the trend model
// and the measurement log: ISO 8601 times, the CSV row, opening and flushing the file (a row is
// in the file as soon as it is appended, so a killed program loses none).
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "TempFolder.h"
#include "device/Describe.h"
#include "device/MemoryMap.h"
#include "link/Clock.h"
#include "measure/MeasurementLog.h"
#include "measure/MeasurementMath.h"
#include "measure/Trend.h"

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

// ---- Arithmetic ------------------------------------------------------------------------------

FrameBytes FrameFor(double code, std::uint8_t trips = 0) {
    const auto b = device::Float24Encode(code);
    return {0, b[1], b[0], b[2], trips};
}

// Family 4 current output calibration: 4 mA at code 808, 20 mA at 3392 (16 codes per 0.1 mA).
device::OutputCalibration Current() {
    device::OutputCalibration c;
    c.CalCodeLow = 808;
    c.CalCodeHigh = 3392;
    c.CalValueLow = 4;
    c.CalValueHigh = 20;
    return c;
}

TEST(FrameDecoding, TheWordIsHighByteFirstAndTheCodeIsFlooredTimesEight) {
    EXPECT_EQ(FrameCodeTimes8(FrameFor(2100)), 8 * 2100);
    EXPECT_EQ(FrameCodeTimes8(FrameFor(2100.5)), 16804);
    EXPECT_EQ(FrameCodeTimes8(FrameFor(2100.0625)), 16800);  // 16800.5 floored
    // A word with the sign bit set reads as -(1 + (65536 - W) / 32768) x 2^E.
    EXPECT_EQ(FrameCodeTimes8({0, 0xC0, 0x00, 127, 0}), -12);
}

TEST(CodeFilter, SmallStepsSettleWithTheDivisorAndLargeStepsResetAtOnce) {
    CodeFilter filter;
    EXPECT_EQ(filter.Step(8 * 1000), 8 * 1000);  // from 0: a jump larger than J
    EXPECT_DOUBLE_EQ(filter.Step(8 * 1000 + 800), 8 * 1000 + 100);
    EXPECT_DOUBLE_EQ(filter.Step(8 * 1000 + 800), 8 * 1000 + 100 + 700.0 / 8);
    CodeFilter jumping;
    jumping.Step(8000);
    // The comparison is made after the filter step, so a step resets only when 7/8 of it
    // still exceeds J: about 293 codes.
    EXPECT_EQ(jumping.Step(8000 + 8 * 300), 8000 + 8 * 300);
    EXPECT_LT(jumping.Step(8000 + 8 * 300 + 8 * 290), 8000 + 8 * 300 + 8 * 290);
}

TEST(Scale, OutputAndProcessValuesFollowTheCalibrationAndDirection) {
    const Scale scale = ComputeScale(Current(), 808, 3392, 1000, 0);
    EXPECT_NEAR(scale.outputLow, 4, 1e-6);
    EXPECT_NEAR(scale.outputHigh, 20, 1e-6);
    EXPECT_NEAR(OutputValue(scale, 8 * 2100), 12, 1e-6);
    EXPECT_NEAR(ProcessValue(scale, 12), 500, 1e-4);
    EXPECT_NEAR(ProcessValue(scale, 16), 750, 1e-4);
}

TEST(Scale, RangeLampsAndBarFollowTheValueRelativeToTheBottom) {
    const Scale scale = ComputeScale(Current(), 808, 3392, 200, -100);
    RangeIndication in = IndicateRange(scale, 50);
    EXPECT_EQ(in.underRange, Lamp::Grey);
    EXPECT_EQ(in.overRange, Lamp::Grey);
    EXPECT_DOUBLE_EQ(in.bar, 150);
    RangeIndication below = IndicateRange(scale, -101);
    EXPECT_EQ(below.underRange, Lamp::Red);
    EXPECT_EQ(below.overRange, Lamp::Grey);
    EXPECT_EQ(below.bar, 0);
    RangeIndication above = IndicateRange(scale, 201);
    EXPECT_EQ(above.overRange, Lamp::Red);
    EXPECT_EQ(above.bar, 300);
}

TEST(TripLamps, DelayWinsOverActiveAndEachTripHasItsBits) {
    EXPECT_EQ(DecodeTripLamps(0).trip1, Lamp::Green);
    EXPECT_EQ(DecodeTripLamps(1).trip1, Lamp::Red);
    EXPECT_EQ(DecodeTripLamps(17).trip1, Lamp::Yellow);
    EXPECT_EQ(DecodeTripLamps(2).trip2, Lamp::Red);
    EXPECT_EQ(DecodeTripLamps(2).trip1, Lamp::Green);
    EXPECT_EQ(DecodeTripLamps(32 + 2).trip2, Lamp::Yellow);
}

TEST(DisplayPatterns, ResolutionFollowsTheSpanAndOutputTheFamily) {
    using vantrel::math::Unit;
    EXPECT_EQ(ResolutionPattern(1200, Unit::Celsius), "##0");
    EXPECT_EQ(ResolutionPattern(1000, Unit::Celsius), "##0.0");
    EXPECT_EQ(ResolutionPattern(50, Unit::Millivolt), "##0.00");
    EXPECT_EQ(ResolutionPattern(10, Unit::Milliamp), "##0.000");
    EXPECT_EQ(ResolutionPattern(1200, Unit::Percent), "##0.00");
    EXPECT_EQ(OutputPattern({4, 10, 0, 0}, 1), "##0.000   V");
    EXPECT_EQ(OutputPattern({4, 10, 0, 0}, 2), "##0.000  mA");
    EXPECT_EQ(OutputPattern({3, 9, 0, 0}, 2), "##0.000   V");
    EXPECT_EQ(OutputPattern({3, 9, 0, 0}, 1), "##0.000  mA");
    EXPECT_EQ(OutputPattern({2, 9, 0, 0}, 1), "##0.000  mA");
}

// ---- Trend -----------------------------------------------------------------------------------

// Ten samples a second from t0, value = index (a ramp), output = index / 10.
void AddRamp(TrendModel& model, int count, double t0 = 1000) {
    for (int i = 0; i < count; ++i) model.Add({t0 + i * 0.1, static_cast<double>(i), i / 10.0});
}

// Only the last window behind the newest sample is kept, in time order; a full ring drops the
// oldest, and a clock going back starts afresh.
TEST(TrendModel, KeepsTheLastWindow_AFullRingDropsTheOldest_AClockGoingBackStartsAfresh) {
    TrendModel model(60, 4096);
    AddRamp(model, 1200);  // two minutes
    const std::vector<TrendSample> samples = model.Samples();
    EXPECT_DOUBLE_EQ(samples.back().value, 1199);
    EXPECT_GE(samples.front().time, samples.back().time - 60 - 1e-9);
    EXPECT_NEAR(static_cast<double>(samples.size()), 601, 1);
    EXPECT_TRUE(std::is_sorted(samples.begin(), samples.end(),
                               [](const TrendSample& a, const TrendSample& b) { return a.time < b.time; }));
    TrendModel ring(3600, 100);
    AddRamp(ring, 150);
    EXPECT_EQ(ring.size(), 100u);
    EXPECT_DOUBLE_EQ(ring.Samples().front().value, 50);
    ring.Add({10, -1, 0});  // earlier than everything held
    ASSERT_EQ(ring.size(), 1u);
    EXPECT_DOUBLE_EQ(ring.newest().value, -1);
}

TEST(TrendModel, Decimation_BoundedInTimeOrderAndKeepsExtremes) {
    TrendModel model(300, 4096);
    for (int i = 0; i < 3000; ++i) {
        double value = 100;
        if (i == 1234) value = 900;  // one frame's spike
        if (i == 2345) value = -50;  // and one dip
        model.Add({i * 0.1, value, 4});
    }
    const std::vector<TrendSample> drawn = model.Decimated(200);
    EXPECT_LE(drawn.size(), 200u);
    EXPECT_GE(drawn.size(), 100u);
    EXPECT_TRUE(std::is_sorted(drawn.begin(), drawn.end(),
                               [](const TrendSample& a, const TrendSample& b) { return a.time < b.time; }));
    const auto [low, high] = std::minmax_element(drawn.begin(), drawn.end(),
                                                 [](const TrendSample& a, const TrendSample& b) { return a.value < b.value; });
    EXPECT_DOUBLE_EQ(low->value, -50);
    EXPECT_DOUBLE_EQ(high->value, 900);
    EXPECT_DOUBLE_EQ(drawn.front().time, model.Samples().front().time);

    // Fewer samples than points: all of them, untouched.
    TrendModel small;
    AddRamp(small, 30);
    EXPECT_EQ(small.Decimated(200).size(), 30u);
}

TEST(TrendModel, DecimationAcrossAGapInTheStream) {
    TrendModel model(300, 4096);
    AddRamp(model, 500, 0);      // 0 .. 50 s
    AddRamp(model, 500, 200);    // 200 .. 250 s, after a silent stretch
    const std::vector<TrendSample> drawn = model.Decimated(100);
    EXPECT_LE(drawn.size(), 100u);
    EXPECT_DOUBLE_EQ(drawn.back().value, 499);
    EXPECT_TRUE(std::none_of(drawn.begin(), drawn.end(),
                             [](const TrendSample& s) { return s.time > 50 && s.time < 200; }));
    // The line breaks once, at the first sample drawn after the silence.
    const auto gaps = std::count_if(drawn.begin(), drawn.end(), [](const TrendSample& s) { return s.afterGap; });
    EXPECT_EQ(gaps, 1);
    EXPECT_GE(std::find_if(drawn.begin(), drawn.end(), [](const TrendSample& s) { return s.afterGap; })->time, 200);

    // A frame without a defined value between two samples breaks the line too.
    TrendModel marked;
    marked.Add({0, 1, 4});
    marked.MarkGap();
    marked.Add({0.1, 2, 5});
    marked.Add({0.2, 3, 6});
    const std::vector<TrendSample> samples = marked.Samples();
    EXPECT_EQ((std::vector<bool>{samples[0].afterGap, samples[1].afterGap, samples[2].afterGap}),
              (std::vector<bool>{false, true, false}));
}

TEST(TrendModel, ValueAxisCoversSamplesAndReferences_OutputAxisLinesUp) {
    TrendModel model;
    // A flat trace alone still gets a band around it.
    model.Add({0, 250, 8});
    AxisExtent flat = model.ValueExtent();
    EXPECT_LT(flat.low, 250);
    EXPECT_GT(flat.high, 250);

    TrendReferences r;
    r.rangeBottom = 0;
    r.rangeTop = 1000;
    r.trip1 = 1100;  // a trip level beyond the range is still on the chart
    r.outputAtBottom = 4;
    r.outputAtTop = 20;
    model.SetReferences(r);
    const AxisExtent values = model.ValueExtent();
    EXPECT_LT(values.low, 0);
    EXPECT_GT(values.high, 1100);
    const AxisExtent output = model.OutputExtent();
    EXPECT_FALSE(output.reversed);
    EXPECT_NEAR(output.low, 4 + values.low * 0.016, 1e-9);
    EXPECT_NEAR(output.high, 4 + values.high * 0.016, 1e-9);

    // Reverse output: 20 mA at the bottom of the range, the output axis runs downwards.
    r.outputAtBottom = 20;
    r.outputAtTop = 4;
    model.SetReferences(r);
    const AxisExtent reversed = model.OutputExtent();
    EXPECT_TRUE(reversed.reversed);
    EXPECT_NEAR(reversed.high, 20 - values.low * 0.016, 1e-9);
}

TEST(TrendReferences, FromTheScaleAndTheTripsOfTheWorkingState) {
    Scale scale;
    scale.outputLow = 4;
    scale.outputHigh = 20;
    scale.rangeBottom = -50;
    scale.rangeTop = 150;
    device::WorkingState state;
    state.identity.DeviceModel = 10;
    state.TripLevels = {120, 117, 10, 12};  // trip 1 high/low, trip 2 high/low
    state.TripFlags = device::kTrip2MinimumBit;
    TrendReferences r = ReferencesFor(scale, false, state);
    EXPECT_EQ(r.rangeBottom, -50);
    EXPECT_EQ(r.outputAtBottom, 4);
    EXPECT_EQ(r.trip1, 120);  // a maximum trip switches at its high level
    EXPECT_EQ(r.trip2, 12);   // a minimum trip at its low level
    EXPECT_EQ(ReferencesFor(scale, true, state).outputAtBottom, 20);

    state.identity.DeviceModel = 9;  // no trips on this model
    r = ReferencesFor(scale, false, state);
    EXPECT_FALSE(r.trip1);
    EXPECT_FALSE(r.trip2);
}

}  // namespace
}  // namespace vantrel::measure
