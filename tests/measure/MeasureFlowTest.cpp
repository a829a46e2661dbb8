// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Live measurement end to end on the virtual clock: program a configuration into the
// simulated transmitter, set its input, and measure through the session's flow; the log written
// while measuring, and reconnecting after a pulled cable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>

#include "SimBench.h"
#include "TempFolder.h"
#include "link/Frames.h"
#include "measure/MeasurementLog.h"
#include "measure/Trend.h"

namespace vantrel::test {
namespace {

using link::Answer;
namespace frames = link::frames;

class Collector final : public measure::MeasureObserver {
public:
    void Started(const measure::Scale& s) override {
        ++started;
        scale = s;
    }
    void Show(const measure::Reading& reading) override { readings.push_back(reading); }
    void Stopped() override { ++stopped; }

    std::vector<measure::Reading> readings;
    measure::Scale scale;
    int started = 0;
    int stopped = 0;
};

struct MeasureRun {
    measure::MeasureResult result;
    Collector collector;
};

// Measures until `seen` showed `frames` readings; the observer may be `seen` or pass to it.
measure::MeasureResult MeasureInto(SimBench& b, measure::MeasureObserver& observer, const Collector& seen,
                                   std::size_t frames) {
    return session::Measure(b.session, observer, [&] { return seen.readings.size() >= frames; });
}

MeasureRun MeasureFrames(SimBench& b, std::size_t frames) {
    MeasureRun run;
    run.result = MeasureInto(b, run.collector, run.collector, frames);
    return run;
}

// Loads the window, programs what the form holds and checks the programming went through.
void ProgramForm(SimBench& b) {
    const session::ProgramOutcome outcome = b.Program();
    ASSERT_EQ(outcome.result.status, device::ProgramStatus::Done);
    ASSERT_TRUE(outcome.readBack);
}

// The live value follows the input and unit the transmitter was programmed with, whatever
// the output's direction and trims: the output ends read from the table already carry both.
// "MI" starts the stream, "SM" ends it.
struct LiveCase {
    const char* name;
    std::function<void(SimBench&)> configure;
    sim::SimulatedInput input;
    double value;
    math::Unit unit;
    const char* suffix;
    double output = std::numeric_limits<double>::quiet_NaN();  // mA or V, when the case checks it
};

TEST(MeasureFlow, LiveValue_InTheProgrammedUnitAndDirection_WithTrims) {
    const auto typeK = [](bool reverse, int zero, int span, bool fahrenheit) {
        return [=](SimBench& b) {
            b.ChooseThermocoupleK("0", "800");
            if (fahrenheit) b.session.form.ToggleUnit();
            if (reverse) b.session.form.ToggleDirection();
            b.session.form.MoveSlider(ui::AdjustWhich::Zero, zero);
            b.session.form.MoveSlider(ui::AdjustWhich::Span, span);
        };
    };
    const auto linear = [](int family, const char* min, const char* max) {
        return [=](SimBench& b) {
            b.session.form.ChooseFamily(family);
            b.SetInputRange(min, max);
        };
    };
    const LiveCase cases[] = {
        {"type K direct", typeK(false, 0, 0, false), {sim::Quantity::Temperature, 25, 25}, 25, math::Unit::Celsius, "  °C"},
        {"type K reverse", typeK(true, 0, 0, false), {sim::Quantity::Temperature, 25, 25}, 25, math::Unit::Celsius, "  °C"},
        {"type K direct, trims", typeK(false, 20, -10, false), {sim::Quantity::Temperature, 600, 25}, 600,
         math::Unit::Celsius, "  °C"},
        {"type K reverse, trims", typeK(true, -15, 30, false), {sim::Quantity::Temperature, 600, 25}, 600,
         math::Unit::Celsius, "  °C"},
        {"type K in °F", typeK(false, 0, 0, true), {sim::Quantity::Temperature, 25, 25}, 77, math::Unit::Fahrenheit,
         "  °F"},
        {"potentiometer", linear(device::family::Potentiometer, "0", "100"), {sim::Quantity::Fraction, 0.568, 25},
         56.8, math::Unit::Percent, " %"},
        {"voltage", linear(device::family::Voltage, "0", "500"), {sim::Quantity::Millivolts, 197.8, 25}, 197.8,
         math::Unit::Millivolt, "  mV"},
        {"Pt100 three wires",
         [](SimBench& b) {
             b.session.form.ChooseFamily(device::family::Rtd);
             b.session.form.ChooseRtdSensor(0);
             b.session.form.ChooseWiring(device::kThreeWiresIndex);
             b.SetInputRange("0", "200");
             b.session.form.ChooseOutputType(0);
             b.SetOutputRange("4", "20");
         },
         {sim::Quantity::Temperature, 100, 25}, 100, math::Unit::Celsius, "  °C", 12},
        {"type K 0..1000 °C, 4..20 mA", [](SimBench& b) { b.ChooseThermocoupleK("0", "1000"); },
         {sim::Quantity::Temperature, 500, 23}, 500, math::Unit::Celsius, "  °C", 12},
        {"type K, 0..10 V output",
         [](SimBench& b) {
             b.ChooseThermocoupleK("0", "1000");
             b.session.form.ChooseOutputType(1);  // family 4: voltage
             b.SetOutputRange("0", "10");
         },
         {sim::Quantity::Temperature, 500, 25}, 500, math::Unit::Celsius, "  °C", 5},
    };
    for (const LiveCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimBench b;
        ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
        c.configure(b);
        ProgramForm(b);
        // What the form shows next no longer matters: the value follows the transmitter.
        b.session.form.ChooseFamily(device::family::Current);
        b.transmitter.setInput(c.input);
        b.recorder.sent.clear();
        MeasureRun run = MeasureFrames(b, 30);
        EXPECT_EQ(run.result, measure::MeasureResult::Stopped);
        EXPECT_EQ(b.recorder.Count("MI"), 1);
        EXPECT_EQ(b.recorder.sent.back(), frames::kStopStream);
        EXPECT_FALSE(b.transmitter.streaming());
        EXPECT_EQ(run.collector.started + run.collector.stopped, 2);
        EXPECT_TRUE(b.dialogs.shown().empty());
        ASSERT_FALSE(run.collector.readings.empty());
        const measure::Reading& last = run.collector.readings.back();
        ASSERT_TRUE(last.value);
        EXPECT_NEAR(*last.value, c.value, std::max(0.5, std::fabs(c.value) * 0.004));
        EXPECT_EQ(last.unit, c.unit);
        EXPECT_TRUE(last.valueText.ends_with(c.suffix)) << last.valueText;
        if (!std::isnan(c.output)) {
            EXPECT_NEAR(last.output.value(), c.output, 0.01);
            EXPECT_EQ(last.outputIsVoltage, c.output < 10);
        }
    }
}

TEST(MeasureFlow, InputAboveTheRange_LightsOverRange_BelowLightsUnderRange) {
    SimBench b;
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    b.ChooseThermocoupleK("100", "600");
    ProgramForm(b);
    b.transmitter.setInput({sim::Quantity::Temperature, 650, 25});
    EXPECT_EQ(MeasureFrames(b, 3).collector.readings.back().range.overRange, measure::Lamp::Red);
    b.transmitter.setInput({sim::Quantity::Temperature, 50, 25});
    EXPECT_EQ(MeasureFrames(b, 3).collector.readings.back().range.underRange, measure::Lamp::Red);
}

// A transmitter that changed, falls silent while the calibration is read, or whose stream
// stops: one box, Cancel, and the measurement ends (not connected unless the device changed).
TEST(MeasureFlow, FailedMeasurements_OneBoxThenCancel) {
    struct Row {
        const char* name;
        std::function<void(sim::Transmitter&)> fault;
        measure::MeasureResult result;
        int textId;
        std::size_t maxReadings;
    };
    const Row rows[] = {
        {"device changed", [](sim::Transmitter& t) { t.faults().reportedModel = 9; }, measure::MeasureResult::DeviceChanged,
         219, 0},
        {"silent in the calibration read",  // "$V", cell 7, 254, 255
         [](sim::Transmitter& t) { t.faults().silentAfterReplies = t.repliesSent() + 4; },
         measure::MeasureResult::CommunicationError, 85, 0},
        // Three more frames, then silence (frames that pile up during a pause are read as one).
        {"stream falls silent", [](sim::Transmitter& t) { t.faults().silentAfterFrames = t.framesSent() + 3; },
         measure::MeasureResult::CommunicationError, 85, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SimBench b;
        ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
        row.fault(b.transmitter);
        b.recorder.sent.clear();
        MeasureRun run = MeasureFrames(b, 100);
        EXPECT_EQ(run.result, row.result);
        EXPECT_EQ(b.dialogs.countShown(row.textId), 1);
        EXPECT_LE(run.collector.readings.size(), row.maxReadings);
        EXPECT_EQ(run.collector.readings.empty(), row.maxReadings == 0);
        EXPECT_EQ(b.recorder.Count("MI"), row.maxReadings == 0 ? 0 : 1);
        EXPECT_EQ(b.session.form.deviceConnected(), row.textId == 219);
        EXPECT_EQ(b.session.state.identity.DeviceModel, 10);
    }
}

TEST(MeasureFlow, StreamFallsSilent_RetryRestartsTheStreamWithSmMi) {
    SimBench b;
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    b.transmitter.faults().silentAfterFrames = b.transmitter.framesSent() + 2;
    b.dialogs.answer(Answer::Retry);
    b.recorder.sent.clear();
    b.recorder.onWrite = [&](const std::string& frame) {
        if (frame == frames::kStartStream && b.recorder.Count("MI") == 2) b.transmitter.faults().silentAfterFrames = -1;
    };
    MeasureRun run = MeasureFrames(b, 4);
    EXPECT_EQ(run.result, measure::MeasureResult::Stopped);
    EXPECT_EQ(run.collector.readings.size(), 4u);
    // The frame wait's "$FPxx", then "SM" and "MI" start the stream again.
    const std::vector<std::string>& s = b.recorder.sent;
    const auto start = std::find(s.begin(), s.end(), std::string(frames::kStartStream));
    const auto restart = std::find(start, s.end(), std::string(frames::kEndProgramming));
    ASSERT_LE(restart + 3, s.end());
    EXPECT_EQ(*(restart + 1), frames::kStopStream);
    EXPECT_EQ(*(restart + 2), frames::kStartStream);
    EXPECT_EQ(b.dialogs.countShown(85), 1);
}

// Family 4 set to output type 0 has no calibration row: the output range and every measured
// value have no defined result. They stay unset and show as unknown everywhere, never NaN.
TEST(MeasureFlow, OutputWithoutCalibration_UnknownInSummaryDisplayLogAndTrend) {
    sim::Profile profile = sim::MakeDefaultProfile();
    profile.memory.write(7, profile.memory.read(7) & 252);
    SimBench b(profile);
    b.session.form.TypeOutputMax("20");
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    EXPECT_FALSE(b.session.lastRead->values.outputFirst);
    EXPECT_FALSE(b.session.lastRead->values.outputSecond);
    const std::string& summary = b.session.form.summary();
    EXPECT_NE(summary.find("Output Range: — to — mA"), std::string::npos) << summary;
    EXPECT_EQ(b.session.form.outputRange().maxText(), "20");  // the box keeps what it held

    MeasureRun run = MeasureFrames(b, 3);
    ASSERT_EQ(run.collector.readings.size(), 3u);
    for (const measure::Reading& r : run.collector.readings) {
        EXPECT_FALSE(r.output || r.value);
        EXPECT_EQ(r.outputText, "—  mA");
        EXPECT_EQ(r.valueText, "—  °C");
        EXPECT_EQ(r.range.underRange, measure::Lamp::Grey);
        EXPECT_EQ(r.range.overRange, measure::Lamp::Grey);
        EXPECT_NE(measure::LogRow(r, {}).find(",,mA,,°C,0,0,"), std::string::npos) << measure::LogRow(r, {});
    }
    const measure::TrendReferences lines = measure::ReferencesFor(run.collector.scale, false, b.session.state);
    EXPECT_FALSE(lines.outputAtBottom || lines.outputAtTop);
    EXPECT_TRUE(lines.rangeTop);
}

// ---- Logging and reconnecting ------------------------------------------------------------

// Every row shown is in the file, in order, as the log writes it, while the log is still
// open: nothing waits in a buffer when the transmitter falls silent.
TEST(MeasurementLogFlow, SilencedTransmitter_EveryRowShownBeforeIsInTheFileInOrder) {
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
    ASSERT_GE(seen.readings.size(), 30u);

    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), seen.readings.size() + 1);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].substr(29), measure::LogRow(seen.readings[i - 1], {0, 0}).substr(29) + "\r") << i;
        if (i > 1) { EXPECT_GT(rows[i].substr(0, 29), rows[i - 1].substr(0, 29)) << "rows out of order at " << i; }
    }
    EXPECT_NEAR(seen.readings.back().value.value(), 300, 1);
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

}  // namespace
}  // namespace vantrel::test
