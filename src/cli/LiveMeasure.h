// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include "cli/Cli.h"
#include "cli/DeviceContext.h"
#include "measure/MeasureLoop.h"
#include "measure/MeasurementLog.h"
#include "session/Flows.h"

// What `measure` adds to a plain stream: the CSV log (--csv) and the way back after the
// transmitter stopped answering (--retries): the port is closed and opened afresh, the
// window loaded again, and the stream resumed into the same log.
namespace vantrel::cli {

// The pause before reconnection attempt n (1, 2, ...): 1 s, then doubling up to 16 s. A USB
// adapter that is plugged in again needs a second or two before the system offers it; a
// transmitter that is powered up again needs a few more; a longer pause only delays the log.
double ReconnectDelaySeconds(int attempt);

// Loads the programming window; when no transmitter answers, waits (ReconnectDelaySeconds)
// and tries again, at most --retries times. A connection that comes back restores the
// Retry answers for the next time-out. `interrupted` ends the waiting early.
session::LoadOutcome LoadWithRetries(Context& context, DeviceContext& device, session::SessionView& view,
                                     const std::function<bool()>& interrupted);

// Runs the measurement; when it ends on a communication error and --retries is not 0, the
// session is loaded again (LoadWithRetries) and the measurement resumes with the same
// observer. Returns the result of the last run.
measure::MeasureResult MeasureWithReconnect(Context& context, DeviceContext& device, session::SessionView& view,
                                            measure::MeasureObserver& observer, const std::function<bool()>& done);

// Opens the file of --csv when given (the log's times follow the session's clock): kExitDone,
// kExitUsage for --csv without a name, kExitOutputNotWritten (after the message naming the
// file and the reason) when the file cannot be written.
int OpenCsvLog(Context& context, link::Clock& clock, std::unique_ptr<measure::MeasurementLog>& log);

// After the run: a log that stopped writing is reported; false then.
bool ReportCsvLog(Context& context, const measure::MeasurementLog* log);

}  // namespace vantrel::cli
