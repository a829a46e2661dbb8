// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "device/ProgramPlan.h"
#include "device/WorkingState.h"
#include "link/Protocol.h"

// Programming a transmitter: confirm it is the identified one, read its calibration, compute
// the plan, ask about a noisy range, then write every cell with one "$W" frame and close
// with "$FPxx" twice. Nothing is written until every value has been computed.
namespace vantrel::device {

enum class ProgramStatus {
    Done = 0,
    NotWritten = 1,         // a read was cancelled, the transmitter changed, or nothing answers
    NoisyRangeRefused = 3,  // the user said No to the noisy-range question
    Refused = 4,            // the configuration cannot be programmed (see the plan's status)
    Interrupted = 5,        // the line went away, or the user stopped, during the writes
    InvalidConfiguration = 6,  // the configuration check refused it before anything was sent
};

struct ProgramResult {
    ProgramStatus status = ProgramStatus::NotWritten;
    PlanRequest request;    // what the plan was asked for
    ProgramPlan plan;       // valid from the calibration reads on
    int framesSent = 0;     // "$W" frames handed to the line
};

// form: the programming form's values (input code and option word as the form encodes them, ranges,
// output selection, trims...). lastCell7: cell 7 as last read. previousTripWords: the trip
// words as last read, kept when a trip level lies outside the range. With writeCells false
// everything up to the writes happens (device check, calibration reads, plan, noise
// question) and the transmitter is left unchanged: a dry run. A cancel (the protocol's
// token) ends it with NotWritten before the first write, Interrupted after it.
ProgramResult ProgramDevice(link::Protocol& protocol, const WorkingState& working, const PlanRequest& form,
                            std::uint8_t lastCell7, const std::array<int, 4>& previousTripWords,
                            bool writeCells = true);

// What programming learns from the transmitter before it computes the plan (the device
// check, then the output and factory calibration reads), without writing anything. Empty
// when the transmitter changed, does not answer or a read was cancelled.
std::optional<ProgramDeviceData> ReadProgrammingData(link::Protocol& protocol, const WorkingState& working,
                                                     const PlanRequest& form, std::uint8_t lastCell7,
                                                     const std::array<int, 4>& previousTripWords);

// The protocol's pauses, for the progress shown: the writes ("PR", a pause after each "$W",
// the two closing "$FPxx"), and the steps before them (device check, output and factory
// calibration reads).
double WritePauses(std::size_t writes);
link::StepPlan ProgrammingDataPlan(const Identity& identity);

}  // namespace vantrel::device
