// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "link/Frames.h"

namespace vantrel::sim {

// What the transmitter answers to "$V".
struct DeviceIdentity {
    std::uint8_t family = 4;
    std::uint8_t model = 10;
    std::uint8_t firmwareVersion = 1;
    std::uint8_t firmwareRelease = 0;

    std::string VersionReply() const {
        return link::frames::VersionReply(firmwareVersion, firmwareRelease, family, model);
    }
    // Model 10 ends its measurement frames with a CR alone and carries trip states.
    bool hasTrips() const { return model == link::frames::kCrOnlyModel; }
};

}  // namespace vantrel::sim
