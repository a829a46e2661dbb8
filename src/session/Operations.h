// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

#include "device/exchange/ProgramDevice.h"
#include "device/ReadBackCheck.h"
#include "device/exchange/VerifyWrites.h"
#include "measure/MeasureLoop.h"
#include "session/Session.h"

// What the operation window runs: programming followed by the read-back, and the live
// measurement.
namespace vantrel::session {

// The programming form's values as programming reads them, for the input encoded by
// EncodeInput.
device::PlanRequest ProgramFormValues(const Session& session, const ui::InputEncoding& encoding);

struct ProgramOutcome {
    device::ProgramResult result;
    bool readBack = false;  // the configuration was read back and described
    std::optional<device::VerifyResult> verify;  // when verification was asked for and the writes went out
    // Where the configuration read back differs from what was asked (empty: it holds it).
    std::vector<device::ReadBackDifference> readBackDifferences;
    // Written, read back, and the transmitter holds what was asked (and every cell checked,
    // when verification was asked for).
    bool Confirmed() const {
        return result.status == device::ProgramStatus::Done && readBack && readBackDifferences.empty() &&
               (!verify || verify->Verified());
    }

    // Writes went out but what the transmitter now holds is not known: the writes were cut
    // short, or the read-back (or the verification) after them failed. A failure, never
    // a success: the transmitter's configuration must be read again.
    bool NotConfirmed() const {
        return result.framesSent > 0 && (!readBack || (verify && !verify->completed));
    }
};

struct ProgramOptions {
    bool verify = false;  // read back every written cell after the programming
};

// Programs the transmitter and, when the writes went out, waits 2 s and reads the
// configuration back. A programming that wrote nothing because the link failed, or that
// was interrupted, leaves the form in the not-connected state.
// With options.verify, every cell written is read back (before the configuration read) and
// compared with what was sent.
ProgramOutcome ProgramAndReadBack(Session& session, SessionView& view, const ui::InputEncoding& encoding,
                                  const ProgramOptions& options = {});

// The configuration check of what the form holds, as programming would read it.
std::optional<device::ConfigProblem> CheckFormConfiguration(Session& session);

// The outcome a programming is recorded with. Every programming status and verification
// result is mapped here and nowhere else.
Outcome ProgrammingOutcome(const ProgramOutcome& outcome, bool lineLost);

// Everything programming does before the writes (device check, calibration reads, plan,
// noise question), without writing: what would be sent.
ProgramOutcome PlanOnly(Session& session, const ui::InputEncoding& encoding);

// Runs the live measurement of the described configuration until stopRequested() is true.
measure::MeasureResult Measure(Session& session, measure::MeasureObserver& observer,
                               const std::function<bool()>& stopRequested);

}  // namespace vantrel::session
