// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "device/WorkingState.h"
#include "link/Protocol.h"
#include "math/Units.h"
#include "measure/MeasurementMath.h"

// The live measurement: checks that the identified transmitter is still there, reads its
// output calibration and scale, starts the stream with "MI" and turns every frame into the
// output and process values until a stop is requested, then stops the stream with "SM".
namespace vantrel::measure {

// One displayed frame.
// A value whose computation has no defined result (no calibration for the output, a zero
// span) stays unset and its text shows it as unknown, never as NaN or infinity.
struct Reading {
    long frame = 0;
    std::optional<double> output; // the displayed output value (mA or V)
    std::string outputText;       // "12.000  mA"
    bool outputIsVoltage = false;
    std::optional<double> value;  // process value in the display unit
    std::string valueText;        // value with the resolution pattern and the unit
    std::optional<math::Unit> unit;  // the unit of the value (the text after it in valueText)
    int valueDecimals = 0;        // decimals of the display resolution
    double rangeBottom = 0;       // the range ends in the display unit (for the trend's lines)
    double rangeTop = 0;
    RangeIndication range;
    std::optional<TripLamps> trips;  // model with trips only
    bool statusRed = false;       // the status indicator blinks every fifth frame
};

// What the measurement needs to know about the configuration being measured.
struct MeasureSetup {
    int flags = 0;            // option flags of the last read: reverse output, custom input
    int inputCode = 0;
    std::optional<math::Unit> unit;  // the unit the described configuration shows its range in
};

class MeasureObserver {
public:
    virtual ~MeasureObserver() = default;
    // The stream is about to start: the bar graph spans 0..|span|.
    virtual void Started(const Scale& /*scale*/) {}
    virtual void Show(const Reading& reading) = 0;
    // The stream stopped normally: bar to its minimum, range lamps grey.
    virtual void Stopped() {}
};

enum class MeasureResult {
    Stopped = 1,              // the user stopped it
    CommunicationError = -1,  // a read or a frame was cancelled: not-connected state
    DeviceChanged = 0,        // a different transmitter answered and the user cancelled
    Cancelled = 2,            // stopped before the stream started (the protocol's token)
};

// Runs until stopRequested() returns true (checked after every frame, as the stop button is
// handled while the loop yields) or the communication fails.
// A cancel (the protocol's token) before the stream starts gives Cancelled, with the
// transmitter left as the read left it (the caller returns it to working mode); while
// streaming it is a stop.
MeasureResult MeasureLoop(link::Protocol& protocol, const device::Identity& identity, const MeasureSetup& setup,
                          MeasureObserver& observer, const std::function<bool()>& stopRequested);

// The protocol's pauses from the start to the first frame (device check, calibration and
// scale reads, "$FPxx", "SM", "MI"), for the progress shown.
link::StepPlan MeasureStartPlan(const device::Identity& identity);

}  // namespace vantrel::measure
