// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/MeasureLoop.h"

#include <cmath>

#include "device/exchange/ConfigurationReader.h"
#include "device/exchange/DeviceCheck.h"
#include "device/MemoryMap.h"
#include "link/Frames.h"
#include "math/Units.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::measure {

namespace {

constexpr double kDisplayLimit = 1000;

struct RunScales {
    Scale scale;
    int outputType = 0;
};

std::optional<RunScales> ReadRunScales(link::Protocol& protocol, const device::Identity& identity) {
    protocol.EnterStep(link::Step::ReadingOutputCalibration);
    const link::ByteResult cell7 = protocol.ReadBlock(device::cell::OutputConfig, 1);
    if (cell7.cancelled()) return std::nullopt;
    const int outputType = cell7[1] & 3;
    const auto calibration = device::ReadOutputCalibration(protocol, identity.DeviceFamily, outputType);
    if (!calibration) return std::nullopt;  // a Cancel ends the run: no further box
    const auto outputScale = device::ReadOutputScale(protocol);
    if (!outputScale) return std::nullopt;
    return RunScales{ComputeScale(*calibration, outputScale->firstCode, outputScale->lastCode,
                                  outputScale->range.top, outputScale->range.bottom),
                     outputType};
}

// The process value in the unit shown. A potentiometer's range is held as a fraction, so
// it is shown in percent; a custom percent curve already carries its typed unit.
double DisplayValue(double value, const MeasureSetup& setup) {
    const bool custom = (setup.flags & device::option::Custom) != 0;
    if (setup.unit == math::Unit::Percent && !custom) return value * 100;
    if (setup.unit == math::Unit::Fahrenheit) return static_cast<double>(math::CelsiusToFahrenheit(static_cast<float>(value)));
    return value;
}

std::string Suffix(const MeasureSetup& setup) { return setup.unit ? math::ValueSuffix(*setup.unit) : std::string(); }

// The mark of a value without a defined result; the same in both languages.
std::string Unknown() { return resources::Text(resources::text::kUnknownValue, 0); }

// The unknown mark in place of the number of an output pattern ("##0.000  mA" gives "—  mA").
std::string UnknownWithUnit(const std::string& outputPattern) {
    const std::size_t unit = outputPattern.find(' ');
    return Unknown() + (unit == std::string::npos ? std::string() : outputPattern.substr(unit));
}

int DecimalsOf(const std::string& pattern) {
    const std::size_t point = pattern.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
}

class FrameInterpreter {
public:
    FrameInterpreter(const RunScales& run, const device::Identity& identity, const MeasureSetup& setup)
        : m_run(run), m_identity(identity), m_setup(setup) {}

    Reading Interpret(const link::ByteResult& frame, long frameNumber) {
        FrameBytes bytes{frame[1], frame[2], frame[3], frame[4], frame[5]};
        Reading r;
        r.frame = frameNumber;
        r.statusRed = (frameNumber / 5) % 2 == 1;
        if (m_identity.DeviceModel == device::kModelWithTrips) r.trips = DecodeTripLamps(bytes[4]);
        const double out = OutputValue(m_run.scale, m_filter.Step(FrameCodeTimes8(bytes)));
        const double change = std::fabs(out - m_displayedOutput);
        if (change >= m_filter.parameters().deadband && change < kDisplayLimit) m_displayedOutput = out;
        const std::string outputPattern = OutputPattern(m_identity, m_run.outputType);
        r.outputIsVoltage = OutputIsVoltage(m_identity, m_run.outputType);
        r.unit = m_setup.unit;
        const std::string pattern = ResolutionPattern(m_run.scale.span(), m_setup.unit);
        r.valueDecimals = DecimalsOf(pattern);
        // Without a defined output (an output type without calibration) nothing below has one.
        if (std::isfinite(out)) r.output = m_displayedOutput;
        r.outputText = r.output ? resources::Format(*r.output, outputPattern) : UnknownWithUnit(outputPattern);
        if (r.output) {
            const double value = ProcessValue(m_run.scale, *r.output);
            if (std::isfinite(value)) {
                r.range = IndicateRange(m_run.scale, value);
                r.value = DisplayValue(value, m_setup);
            }
        }
        r.valueText = (r.value ? resources::Format(*r.value, pattern) : Unknown()) + Suffix(m_setup);
        r.rangeBottom = DisplayValue(m_run.scale.rangeBottom, m_setup);
        r.rangeTop = DisplayValue(m_run.scale.rangeTop, m_setup);
        return r;
    }

private:
    RunScales m_run;
    device::Identity m_identity;
    MeasureSetup m_setup;
    CodeFilter m_filter;
    double m_displayedOutput = 0;
};

}  // namespace

MeasureResult MeasureLoop(link::Protocol& protocol, const device::Identity& identity, const MeasureSetup& setup,
                          MeasureObserver& observer, const std::function<bool()>& stopRequested) {
    const auto failed = [&protocol] {
        return protocol.cancelRequested() ? MeasureResult::Cancelled : MeasureResult::CommunicationError;
    };
    switch (device::CheckSameDevice(protocol, identity)) {
        case device::DeviceCheck::Same: break;
        case device::DeviceCheck::Changed: return MeasureResult::DeviceChanged;
        case device::DeviceCheck::Failed: return failed();
    }
    const auto run = ReadRunScales(protocol, identity);
    if (!run) return failed();
    protocol.EnterStep(link::Step::StartingStream);
    protocol.SendCommand(link::frames::kEndProgramming);

    protocol.SendCommand(link::frames::kStopStream);
    observer.Started(run->scale);
    protocol.SendCommand(link::frames::kStartStream);

    FrameInterpreter interpreter(*run, identity, setup);
    for (long frameNumber = 1;; ++frameNumber) {
        // A stop asked for while the last frame was shown ends the loop before another
        // frame is awaited.
        if (frameNumber > 1 && stopRequested && stopRequested()) break;
        const link::ByteResult frame = protocol.ReadMeasurementFrame();
        // A cancel while streaming is a stop: the stream ends as after the stop button.
        if (frame.cancelled() && protocol.cancelRequested()) break;
        if (frame.cancelled()) return MeasureResult::CommunicationError;
        const Reading reading = interpreter.Interpret(frame, frameNumber);
        if (stopRequested && stopRequested()) break;
        observer.Show(reading);
    }
    protocol.SendCommand(link::frames::kStopStream);
    observer.Stopped();
    return MeasureResult::Stopped;
}

link::StepPlan MeasureStartPlan(const device::Identity& identity) {
    using link::pauses::Block;
    return {{link::Step::CheckingDevice, link::pauses::Version()},
            {link::Step::ReadingOutputCalibration,
             Block(1) + device::OutputCalibrationPauses(identity.DeviceFamily) + device::OutputScalePauses()},
            {link::Step::StartingStream, 3 * link::timing::kAfterSend}};
}

}  // namespace vantrel::measure
