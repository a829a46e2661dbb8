// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/TableMap.h"

#include <cmath>

namespace vantrel::sim {

namespace {

constexpr int kMaxSegments = 28;
constexpr int kMaxCjcSegments = 6;

double Interpolate(double x0, double y0, double x1, double y1, double x) {
    if (x1 == x0) return y0;
    return y0 + (x - x0) * (y1 - y0) / (x1 - x0);
}

double ReadFloat24(const Memory& memory, int address) {
    const auto a = static_cast<std::uint8_t>(address);
    return device::Float24Decode(memory.read(a), memory.read(static_cast<std::uint8_t>(a + 1)),
                                 memory.read(static_cast<std::uint8_t>(a + 2)));
}

}  // namespace

double PiecewiseLinear::operator()(double value) const {
    const std::size_t n = std::min(x.size(), y.size());
    if (n == 0) return 0;
    if (n == 1) return y[0];
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if ((value - x[i]) * (value - x[i + 1]) <= 0) return Interpolate(x[i], y[i], x[i + 1], y[i + 1], value);
    }
    // Outside the table: extend the segment at the nearer end.
    const bool nearFirst = std::fabs(value - x[0]) < std::fabs(value - x[n - 1]);
    if (nearFirst) return Interpolate(x[0], y[0], x[1], y[1], value);
    return Interpolate(x[n - 2], y[n - 2], x[n - 1], y[n - 1], value);
}

std::optional<ProgrammedTables> ReadProgrammedTables(const Memory& memory) {
    const int t1 = memory.read(device::cell::CjcSensorStart);
    const int t2 = memory.read(device::cell::OddBreakpointsStart);
    const int t3 = memory.read(device::cell::OutputTableStart);
    const int t4 = memory.read(device::cell::CjcEmfStart);
    // T4 = T3 + 3N + 3 and T2 = T1 + 3(M + 1).
    if ((t4 - t3) % 3 != 0 || (t2 - t1) % 3 != 0) return std::nullopt;
    const int n = (t4 - t3 - 3) / 3;
    const int m = (t2 - t1) / 3 - 1;
    if (n < 1 || n > kMaxSegments || m < 1 || m > kMaxCjcSegments) return std::nullopt;
    if (t1 < device::cell::TablesStart || t3 <= t2 || t4 + 3 * m + 2 > 255) return std::nullopt;

    ProgrammedTables tables;
    tables.segments = n;
    tables.cjcSegments = m;
    for (int i = 1; i <= n + 1; ++i) {
        // Breakpoints 2, 4, ... sit from cell 16; 1, 3, ... from T2.
        const int address = i % 2 == 0 ? device::cell::TablesStart + 3 * (i / 2 - 1) : t2 + 3 * ((i - 1) / 2);
        tables.breakpoints.x.push_back(ReadFloat24(memory, address));
        tables.breakpoints.y.push_back(ReadFloat24(memory, t3 + 3 * (i - 1)));
    }
    for (int j = 1; j <= m + 1; ++j) {
        tables.coldJunction.x.push_back(ReadFloat24(memory, t1 + 3 * (j - 1)));
        tables.coldJunction.y.push_back(ReadFloat24(memory, t4 + 3 * (j - 1)));
    }
    return tables;
}

}  // namespace vantrel::sim
