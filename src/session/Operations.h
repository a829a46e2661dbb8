#pragma once

#include <functional>

#include "device/ProgramDevice.h"
#include "measure/MeasureLoop.h"
#include "session/Session.h"

// What the operation window runs: programming followed by the read-back, and the live
// measurement.
namespace vantrel::session {

// The programming form's values as programming reads them, for the input encoded by
// par_pgm.
device::ProgramForm ProgramFormValues(const Session& session, const ui::InputEncoding& encoding);

struct ProgramOutcome {
    device::ProgramResult result;
    bool readBack = false;  // the configuration was read back and described
};

// Programs the transmitter and, when the writes went out, waits 2 s and reads the
// configuration back. A programming that wrote nothing because the link failed, or that
// was interrupted, leaves the form in the not-connected state.
ProgramOutcome ProgramAndReadBack(Session& session, SessionView& view, const ui::InputEncoding& encoding);

// Everything programming does before the writes (device check, calibration reads, plan,
// noise question), without writing: what would be sent.
ProgramOutcome PlanOnly(Session& session, const ui::InputEncoding& encoding);

// Runs the live measurement of the described configuration until stopRequested() is true.
measure::MeasureResult Measure(Session& session, measure::MeasureObserver& observer,
                               const std::function<bool()>& stopRequested);

}  // namespace vantrel::session
