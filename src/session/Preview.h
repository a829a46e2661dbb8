// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/PlanPreview.h"
#include "session/Session.h"

// The linearisation preview from the programming form: the plan programming would make,
// drawn against the sensor's curve, without writing anything.
namespace vantrel::session {

struct PreviewOutcome {
    device::PlanPreview preview;
    bool calibrationRead = false;  // computed with the transmitter's own calibration
    bool cancelled = false;        // the calibration read was stopped: no preview
};

// Connected: the device check and calibration reads that programming makes, then "$FPxx"
// (nothing is written). Not connected, or when those reads fail: the default converter
// values, which serve every input whose tables do not depend on the factory block (the
// preview says so for the others). The noise question is never asked: the preview tells it.
PreviewOutcome PreviewProgramming(Session& session, const ui::InputEncoding& encoding);

}  // namespace vantrel::session
