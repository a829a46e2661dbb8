// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "device/CustomCurve.h"
#include "link/Protocol.h"

namespace vantrel::device {

// Reads the cells a custom curve needs (table pointers, tables, factory block) and rebuilds
// it. The curve is empty when the tables are not there (or a read was cancelled).
struct CustomCurveRead {
    bool cancelled = false;
    std::optional<CustomCurve> curve;
};
CustomCurveRead ReadCustomCurve(link::Protocol& protocol, const OutputCalibration& calibration);

}  // namespace vantrel::device
