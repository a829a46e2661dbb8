// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "device/OutputCalibration.h"
#include "device/WorkingState.h"
#include "math/Units.h"

// Turning the transmitter's measurement frames into the output and process values shown at
// the bench: frame decoding, the filter, the scales, the display formats and the lamps.
namespace vantrel::measure {

// Bytes 1..5 of a frame (the characters after "A").
using FrameBytes = std::array<std::uint8_t, 5>;

// The output converter code a frame carries, times 8, as a whole number (floor).
double FrameCodeTimes8(const FrameBytes& frame);

// First-order filter of the code with a reset on large steps.
struct FilterParameters {
    double divisor = 8;            // D
    double deadband = 4.4 / 1000;  // H, output units
    double jump = 2048;            // J, code x 8 units
};

class CodeFilter {
public:
    explicit CodeFilter(FilterParameters parameters = {}) : m_p(parameters) {}
    // Feeds one code (x 8); returns the filtered value (x 8).
    double Step(double codeTimes8);
    double value() const { return m_value; }
    const FilterParameters& parameters() const { return m_p; }

private:
    FilterParameters m_p;
    double m_value = 0;
};

// The fixed scales of a run, from the calibration and the output table ends.
struct Scale {
    double outputLow = 0;
    double outputHigh = 0;
    double slope = 0;      // output units per converter code
    double firstCode = 0;
    double lastCode = 0;
    double rangeTop = 0;
    double rangeBottom = 0;
    double span() const { return rangeTop - rangeBottom; }
};
Scale ComputeScale(const device::OutputCalibration& c, double firstCode, double lastCode, double rangeTop,
                   double rangeBottom);

// Output value from the filtered code.
double OutputValue(const Scale& scale, double filteredTimes8);

// The process value (input units: °C, mV, mA, ohm, percent) that a displayed output value
// stands for. The output ends of the scale were read from the table's first and last entries,
// so they already carry the direction: a reverse output has its low end above its high one.
double ProcessValue(const Scale& scale, double displayedOutput);

enum class Lamp { Grey, Red, Green, Yellow };

// Range lamps and bar graph position for a process value (before any unit conversion).
struct RangeIndication {
    Lamp underRange = Lamp::Grey;
    Lamp overRange = Lamp::Grey;
    double bar = 0;  // between 0 and the span
};
RangeIndication IndicateRange(const Scale& scale, double processValue);

// Trip lamps from the frame's last byte (model with trips): yellow while the delay runs,
// red when the trip is active, green otherwise.
struct TripLamps {
    Lamp trip1 = Lamp::Green;
    Lamp trip2 = Lamp::Green;
};
TripLamps DecodeTripLamps(std::uint8_t tripByte);

// Display pattern of the process value: by span, fixed for percent.
std::string ResolutionPattern(double span, std::optional<math::Unit> unit);

// Display pattern and unit of the output value for the transmitter and its output type.
std::string OutputPattern(const device::Identity& identity, int outputType);
bool OutputIsVoltage(const device::Identity& identity, int outputType);

}  // namespace vantrel::measure
