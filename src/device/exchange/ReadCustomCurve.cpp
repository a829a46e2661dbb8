// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/exchange/ReadCustomCurve.h"

#include <algorithm>

namespace vantrel::device {

namespace {

bool ReadInto(link::Protocol& protocol, MemoryImage& cells, int start, int count) {
    constexpr int kBlock = 10;
    for (int address = start; address < start + count; address += kBlock) {
        const int n = std::min(kBlock, start + count - address);
        const link::ByteResult block = protocol.ReadBlock(address, n);
        if (block.cancelled()) return false;
        for (int i = 0; i < n; ++i) cells[static_cast<std::size_t>(address + i)] = block[static_cast<std::size_t>(i + 1)];
    }
    return true;
}


}  // namespace

CustomCurveRead ReadCustomCurve(link::Protocol& protocol, const OutputCalibration& calibration) {
    protocol.EnterStep(link::Step::ReadingCustomCurve);
    MemoryImage cells{};
    if (!ReadInto(protocol, cells, cell::CjcSensorStart, cell::RangeMaxHigh)) return {true, {}};  // cells 1..15
    const std::optional<int> tablesEnd = CustomCurveTablesEnd(cells);
    if (!tablesEnd) return {};
    if (!ReadInto(protocol, cells, cell::TablesStart, *tablesEnd - cell::TablesStart)) return {true, {}};
    if (!ReadInto(protocol, cells, cell::FactoryCalibration, cell::FactoryCalibrationSize)) return {true, {}};
    return {false, DecodeCustomCurve(cells, calibration)};
}

}  // namespace vantrel::device
