// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/AxisTicks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vantrel::render {

namespace {

// More ticks than this means a nonsensical extent: the axis is drawn without them.
constexpr long long kMostTicks = 200;

void Label(AxisTicks& ticks, long long first, long long last) {
    for (long long k = first; k <= last && k - first <= kMostTicks; ++k) {
        const double value = static_cast<double>(k) * ticks.step;
        ticks.values.push_back(value);
        ticks.labels.push_back(k == 0 ? std::string("0") : TickLabel(value, ticks.decimals));
    }
}

}  // namespace

double TickStep(double span, int intervals) {
    span = std::fabs(span);
    if (!(span > 0) || !std::isfinite(span) || intervals < 1) return 1;
    const double raw = span / intervals;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 2.5, 5.0})
        if (factor * power >= raw * (1 - 1e-9)) return factor * power;
    return 10 * power;
}

int TickDecimals(double step) {
    int decimals = 0;
    while (decimals < 12) {
        const double scaled = step * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled)) break;
        ++decimals;
    }
    return decimals;
}

std::string TickLabel(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", std::clamp(decimals, 0, 12), value);
    std::string label = text;
    // Only zero itself may print as zero; "-0.00" is a rounding residue.
    if (label.find_first_of("123456789") == std::string::npos) return "0";
    return label;
}

AxisTicks RoundTicks(double low, double high, int intervals, bool symmetric) {
    AxisTicks ticks;
    if (!std::isfinite(low) || !std::isfinite(high) || low > high) return RoundTicks(0, 1, intervals);
    if (symmetric) {
        const double m = std::max(std::fabs(low), std::fabs(high));
        low = -m;
        high = m;
    }
    const double magnitude = std::max(std::fabs(low), std::fabs(high));
    if (!(high - low > magnitude * 1e-9) || !(high - low > 1e-12)) {
        const double pad = std::max(magnitude * 0.01, 1e-6);
        low -= pad;
        high += pad;
    }
    ticks.step = TickStep(high - low, intervals);
    ticks.decimals = TickDecimals(ticks.step);
    const auto first = static_cast<long long>(std::floor(low / ticks.step + 1e-9));
    const auto last = static_cast<long long>(std::ceil(high / ticks.step - 1e-9));
    ticks.low = static_cast<double>(first) * ticks.step;
    ticks.high = static_cast<double>(last) * ticks.step;
    Label(ticks, first, last);
    return ticks;
}

AxisTicks InnerTicks(double low, double high, int intervals) {
    AxisTicks ticks;
    ticks.low = low;
    ticks.high = high;
    if (!std::isfinite(low) || !std::isfinite(high) || !(high > low)) return ticks;
    ticks.step = TickStep(high - low, intervals);
    ticks.decimals = TickDecimals(ticks.step);
    const auto first = static_cast<long long>(std::ceil(low / ticks.step - 1e-9));
    const auto last = static_cast<long long>(std::floor(high / ticks.step + 1e-9));
    Label(ticks, first, last);
    return ticks;
}

}  // namespace vantrel::render
