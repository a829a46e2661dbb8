// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Decoded read values of a transmitter with a 20..4 mA output range as the read reports it.
#include "device/Describe.h"

namespace vantrel::test {

inline device::ReadValues ReadValuesOf(int code, int flags, double bottom, double top) {
    device::ReadValues v;
    v.inputCode = code;
    v.flags = flags;
    v.rangeBottom = bottom;
    v.rangeTop = top;
    v.outputFirst = 20;
    v.outputSecond = 4;
    v.outputType = 2;
    return v;
}

}  // namespace vantrel::test
