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

// A custom curve rebuilt from a transmitter's memory: the points the user entered, computed back
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

// Where the tables the pointers of cells 1..15 describe end (one past the last cell); empty
// when they describe no table that ends before the factory block.
std::optional<int> CustomCurveTablesEnd(const MemoryImage& cells);

}  // namespace vantrel::device
