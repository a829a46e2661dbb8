// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/WorkingState.h"
#include "link/Protocol.h"

namespace vantrel::device {

enum class DeviceCheck {
    Same,     // the transmitter answers with the identified family and model
    Changed,  // another transmitter answers and the user cancelled message 219
    Failed,   // the version read was cancelled: nobody confirmed the transmitter
};

// Before measuring or programming: reads "$V" and compares the family, then the model, with
// the identified ones; on a difference message 219 "Device changed" offers OK (check again,
// after connecting the right transmitter) or Cancel. The identity is never overwritten.
DeviceCheck CheckSameDevice(link::Protocol& protocol, const Identity& identity);

}  // namespace vantrel::device
