// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "device/ReadConfiguration.h"
#include "device/WorkingState.h"
#include "link/Protocol.h"

// Reading a transmitter's configuration, cell block by cell block, and decoding it into the
// plain values the summary and the live measurement work from. Every block read is its own
// "SM"/"PR" exchange; a Cancel in the Retry/Cancel box ends the read.
namespace vantrel::device {

// Cells 0, 13, 226 and 227. Empty when a read was cancelled.
std::optional<SerialNumber> ReadSerialNumber(link::Protocol& protocol);

// The six calibration values of an output type. Empty when a read was cancelled.
std::optional<OutputCalibration> ReadOutputCalibration(link::Protocol& protocol, int deviceFamily, int outputType);

// Empty when a read was cancelled. An entry that the table pointers place outside the memory
// (a transmitter holding no configuration) is not read and gives code 0.
std::optional<OutputScale> ReadOutputScale(link::Protocol& protocol);


// The configuration read: serial number, cells 6..15, the trip and trim cells on the model
// with trips, the output calibration and scale, decoded. Empty when a read was cancelled;
// the caller then puts the program in the not-connected state. The read leaves the
// transmitter in programming mode: the caller ends it with "$FPxx".
std::optional<ReadConfiguration> ReadConfigurationFromDevice(link::Protocol& protocol, const Identity& identity);

// The protocol's pauses of the reads above, for the progress shown: the configuration read
// of an identified transmitter step by step (its closing "$FPxx" included; a custom curve,
// found only while reading, adds ReadingCustomCurve), the output calibration of a family
// (an output type with a calibration row), the output scale, and the custom curve at its
// largest.
link::StepPlan ReadPlan(const Identity& identity);
double OutputCalibrationPauses(int deviceFamily);
double OutputScalePauses();
double CustomCurvePauses();

}  // namespace vantrel::device
