// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>

#include "device/Describe.h"
#include "device/MemoryMap.h"
#include "device/OutputCalibration.h"
#include "device/SerialNumber.h"
#include "math/Units.h"

// What reading a transmitter's configuration yields, decoded into the plain values the
// summary, the read-back check and the live measurement work from (the reading itself is
// device/exchange/ConfigurationReader).
namespace vantrel::device {

// The converter codes at the ends of the output table and the input range, read afresh.
struct OutputScale {
    double firstCode = 0;  // first output-table entry
    double lastCode = 0;   // entry of the range maximum
    DecodedRange range;
};
// Everything a full read yields.
struct ReadConfiguration {
    SerialNumber serial;
    ReadValues values;
    int outputConfig = 0;           // cell 7 as read; programming keeps its high bits
    int zeroSlider = 0;             // cell 217 - 127 (model with trips), else 0
    int spanSlider = 0;             // cell 218 - 127
    std::array<int, 4> tripWords{}; // trip 1 high, trip 1 low, trip 2 high, trip 2 low
    OutputCalibration calibration;
    OutputScale scale;
    // The unit the configuration's range is shown in (°F when the user worked in °F).
    std::optional<math::Unit> Unit() const {
        return math::InputUnit(values.inputCode, (values.flags & option::Fahrenheit) != 0);
    }
};

}  // namespace vantrel::device
