// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "device/CustomCurve.h"
#include "session/Session.h"

// The flows the desktop program and the command-line tool share: loading the programming
// window (port, connection test, identification, defaults, read), reading and describing a
// configuration, programming with its read-back, and measuring. Each flow hands one record
// of what it did to the session's recorder (see Recording.h).
namespace vantrel::session {

enum class LoadOutcome {
    Connected,     // a transmitter answered and its configuration is described
    NotConnected,  // no transmitter, or the user cancelled: the form works without one
};

// The first half of the loading: opens the port, runs the connection test until a byte
// answers or the user cancels, and identifies the transmitter (the defaults without one).
// True when a transmitter answered and identified itself.
bool ConnectAndIdentify(Session& session, SessionView& view);

// Opens the port, runs the connection test until a byte answers or the user cancels,
// identifies the transmitter, sets the form's defaults and, when connected, reads and
// describes the configuration.
LoadOutcome LoadProgramWindow(Session& session, SessionView& view);

// Reads the configuration and describes it into the form and the summary. False when the
// read was cancelled: the form is then in the not-connected state.
bool ReadAndDescribe(Session& session, SessionView& view);

// Reads the serial-number cells afresh (the serial-number window's read button, `vantrel-cli
// serial`) and ends the transmitter's programming mode. Empty when the read was cancelled.
std::optional<device::SerialNumber> ReadSerial(Session& session);

// Reads every cell of the transmitter's memory (`vantrel-cli dump`) in blocks and ends its
// programming mode. Empty when the read was cancelled.
std::optional<device::MemoryImage> ReadMemory(Session& session);

// "12 10 91 528": customer, year as shown (two digits), order, progressive.
std::string SerialText(const device::SerialNumber& serial);

}  // namespace vantrel::session
