// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "device/ConfigRecord.h"
#include "device/exchange/ProgramDevice.h"
#include "device/SerialNumber.h"
#include "device/exchange/VerifyWrites.h"
#include "link/Clock.h"
#include "link/Dialogs.h"
#include "link/Transport.h"
#include "session/OperationRecord.h"

// The production line: one configuration programmed into several transmitters at once, one
// port each. Every station is a session of its own (line, clock, message boxes, form,
// working state) on a thread of its own; stations share nothing but the record they program,
// which they copy, so one station failing never touches another.
namespace vantrel::session {

// What a station's session talks through. Made inside the station's thread: a serial port
// belongs to the thread that opens it.
struct StationLink {
    std::unique_ptr<link::Clock> clock;
    std::unique_ptr<link::Transport> transport;   // may refer to the clock: declared after it
    std::unique_ptr<std::ostringstream> log;      // what the station's message boxes said
    std::unique_ptr<link::Dialogs> dialogs;       // may write to the log
};

struct Station {
    std::string port;
    std::function<StationLink()> makeLink;
};

struct StationSettings {
    bool verify = false;
    int languageIndex = 1;
    // Every station's operations are recorded here (called from the stations' threads).
    OperationRecorder* recorder = nullptr;
};

enum class StationStatus {
    Programmed,      // written and read back (and verified when asked)
    NotConnected,    // nothing answered, the port would not open, or the first read failed
    FileDoesNotFit,  // the configuration holds choices the identified transmitter lacks
    Refused,         // noisy range refused, or the configuration cannot be programmed
    NotWritten,      // calibration read cancelled, or the transmitter changed
    Interrupted,     // the line went away before the first write
    NotConfirmed,    // writes went out, but the writes were cut short or the read-back failed
    VerifyFailed,    // written, but a cell holds something else
};

struct StationResult {
    std::string port;
    StationStatus status = StationStatus::NotConnected;
    std::optional<device::SerialNumber> serial;
    device::ProgramStatus programStatus = device::ProgramStatus::NotWritten;
    int writes = 0;  // "$W" frames sent
    std::optional<device::VerifyResult> verify;
    std::string messages;  // the message boxes the station answered, one per line
};

// One station, start to end: load (connect, identify, read), push the record, program with
// its read-back, verify when asked.
StationResult ProgramStation(const Station& station, const device::ConfigRecord& record,
                             const StationSettings& settings);

// Runs every job on a thread of its own and returns when all have ended.
using ThreadRunner = std::function<void(const std::vector<std::function<void()>>& jobs)>;
// Plain standard threads: enough for stations whose lines need no event dispatcher.
void RunOnStandardThreads(const std::vector<std::function<void()>>& jobs);

// Every station on its own thread (serial ports want threads started by Qt: pass
// link::RunOnPortThreads); the results in the order of the stations.
std::vector<StationResult> ProgramStations(const std::vector<Station>& stations, const device::ConfigRecord& record,
                                           const StationSettings& settings,
                                           const ThreadRunner& runThreads = RunOnStandardThreads);

// "programmed", "not connected", ... (for result lines and logs).
const char* StationStatusName(StationStatus status);

}  // namespace vantrel::session
