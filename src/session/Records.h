// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "device/ConfigRecord.h"
#include "session/Session.h"

// The configuration record of a session's form, without the file dialogs: what Save would
// write, what Open pushes, and what the connected transmitter holds.
namespace vantrel::session {

// The record as Save fills it from the form and the working state. The session's own record
// (the image of the open file) is left as it was.
device::ConfigRecord FormRecord(Session& session);

// Pushes a record into the form and the working state as Open does. False, with nothing
// changed, when the record holds list positions the identified transmitter does not offer.
bool LoadRecord(Session& session, const device::ConfigRecord& record);

// Reads the connected transmitter's configuration and decodes it into the record's fields,
// through a scratch session on the same line: the session's form keeps what the user has on
// it. Empty when the read was cancelled or nothing answers.
std::optional<device::ConfigRecord> ReadDeviceRecord(Session& session);

}  // namespace vantrel::session
