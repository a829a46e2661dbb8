// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "session/Session.h"
#include "ui/model/ConfigCompare.h"
#include "ui/model/ConfigReport.h"

// The report and the comparison of what a session holds.
namespace vantrel::session {

// The report of the configuration on the session's form (a file pushed into it, or a
// transmitter's read described into it), with the breakpoint table programming would write.
// fromTransmitter adds the identity and serial number of the connected transmitter.
ui::ConfigReport SessionReport(Session& session, bool fromTransmitter, const std::string& date);

// The transmitter's configuration (read through a scratch session, the form untouched) next
// to a file's record. Empty when the read failed.
std::optional<ui::Comparison> CompareWithDevice(Session& session, const device::ConfigRecord& file);

}  // namespace vantrel::session
