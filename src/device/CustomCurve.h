// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "device/ConfigRecord.h"
#include "device/MemoryMap.h"
#include "device/OutputCalibration.h"
#include "link/Protocol.h"

// A custom curve read back from a transmitter: the points the user entered, computed back
// from the tables programming wrote (breakpoint voltages, output codes, cold-junction
// tables), so the points editor and a saved file hold the curve the transmitter uses.
namespace vantrel::device {

struct CustomCurve {
    std::vector<Point> sensor;  // the user's points (the added end point left out), at most 29
    std::vector<Point> cjc;     // cold-junction points, thermocouple with internal compensation
};

// The cells a custom curve is rebuilt from, as read: index = address.
using MemoryImage = std::array<std::uint8_t, kMemorySize>;

// Rebuilds the curve from the cells 1..15, the tables and the factory block of the image,
// with the input converter's zero and span counts of the output calibration. Empty when the
// table pointers do not describe a table.
std::optional<CustomCurve> DecodeCustomCurve(const MemoryImage& cells, const OutputCalibration& calibration);

// Reads the cells a custom curve needs (table pointers, tables, factory block) and rebuilds
// it. The curve is empty when the tables are not there (or a read was cancelled).
struct CustomCurveRead {
    bool cancelled = false;
    std::optional<CustomCurve> curve;
};
CustomCurveRead ReadCustomCurve(link::Protocol& protocol, const OutputCalibration& calibration);

}  // namespace vantrel::device
