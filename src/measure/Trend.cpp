// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/Trend.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "device/Describe.h"

namespace vantrel::measure {

namespace {

constexpr double kMarginFraction = 0.05;

// Low and high ends around a set of numbers with a margin; a single value gets a band.
AxisExtent Padded(double low, double high) {
    if (!(low <= high)) return {0, 1, false};
    double pad = (high - low) * kMarginFraction;
    if (pad == 0) pad = std::max(std::fabs(high) * kMarginFraction, 0.5);
    return {low - pad, high + pad, false};
}

void Widen(double value, double& low, double& high) {
    if (!std::isfinite(value)) return;
    low = std::min(low, value);
    high = std::max(high, value);
}

}  // namespace

std::pair<std::optional<double>, std::optional<double>> TripThresholds(const device::WorkingState& state) {
    if (!state.HasTrips()) return {};
    const auto& l = state.TripLevels;
    const bool trip1Minimum = (state.TripFlags & device::kTrip1MinimumBit) != 0;
    const bool trip2Minimum = (state.TripFlags & device::kTrip2MinimumBit) != 0;
    return {static_cast<double>(trip1Minimum ? l[1] : l[0]), static_cast<double>(trip2Minimum ? l[3] : l[2])};
}

TrendReferences ReferencesFor(const Scale& scale, bool reverseOutput, const device::WorkingState& state) {
    TrendReferences r;
    r.rangeBottom = scale.rangeBottom;
    r.rangeTop = scale.rangeTop;
    // Output ends without a defined value (no calibration for the output) stay unset.
    const auto known = [](double v) { return std::isfinite(v) ? std::optional<double>(v) : std::nullopt; };
    r.outputAtBottom = known(reverseOutput ? scale.outputHigh : scale.outputLow);
    r.outputAtTop = known(reverseOutput ? scale.outputLow : scale.outputHigh);
    const auto [trip1, trip2] = TripThresholds(state);
    r.trip1 = trip1;
    r.trip2 = trip2;
    return r;
}

TrendModel::TrendModel(double windowSeconds, std::size_t capacity)
    : m_window(windowSeconds), m_ring(std::max<std::size_t>(capacity, 2)) {}

void TrendModel::Clear() {
    m_head = 0;
    m_count = 0;
    m_gapPending = false;
}

const TrendSample& TrendModel::At(std::size_t index) const { return m_ring[(m_head + index) % m_ring.size()]; }

const TrendSample& TrendModel::newest() const { return At(m_count - 1); }

void TrendModel::DropOlderThan(double time) {
    while (m_count > 0 && At(0).time < time) {
        m_head = (m_head + 1) % m_ring.size();
        --m_count;
    }
}

void TrendModel::Add(const TrendSample& sample) {
    if (!std::isfinite(sample.time)) return;
    if (m_count > 0 && sample.time < newest().time) Clear();
    TrendSample added = sample;
    added.afterGap = m_count > 0 && (m_gapPending || sample.time - newest().time > kGapSeconds);
    m_gapPending = false;
    if (m_count == m_ring.size()) {
        m_head = (m_head + 1) % m_ring.size();
        --m_count;
    }
    m_ring[(m_head + m_count) % m_ring.size()] = added;
    ++m_count;
    DropOlderThan(sample.time - m_window);
}

std::vector<TrendSample> TrendModel::Samples() const {
    std::vector<TrendSample> samples;
    samples.reserve(m_count);
    for (std::size_t i = 0; i < m_count; ++i) samples.push_back(At(i));
    return samples;
}

std::vector<TrendSample> TrendModel::Decimated(std::size_t maxPoints) const {
    if (m_count <= maxPoints || maxPoints < 2) return Samples();
    const std::size_t buckets = maxPoints / 2;
    const double start = At(0).time;
    const double width = (newest().time - start) / static_cast<double>(buckets);
    std::vector<TrendSample> out;
    out.reserve(maxPoints);
    std::size_t i = 0;
    for (std::size_t b = 0; b < buckets && i < m_count; ++b) {
        const bool last = b + 1 == buckets;
        const double end = start + width * static_cast<double>(b + 1);
        std::size_t lowest = i;
        std::size_t highest = i;
        std::size_t j = i;
        bool gap = false;
        for (; j < m_count && (last || At(j).time < end); ++j) {
            if (At(j).value < At(lowest).value) lowest = j;
            if (At(j).value > At(highest).value) highest = j;
            gap = gap || At(j).afterGap;
        }
        if (j == i) continue;  // an empty bucket (a gap in the stream)
        out.push_back(At(std::min(lowest, highest)));
        out.back().afterGap = gap;
        if (lowest != highest) {
            out.push_back(At(std::max(lowest, highest)));
            out.back().afterGap = false;
        }
        i = j;
    }
    return out;
}

AxisExtent TrendModel::ValueExtent() const {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (std::size_t i = 0; i < m_count; ++i) Widen(At(i).value, low, high);
    for (const auto& line : {m_references.rangeBottom, m_references.rangeTop, m_references.trip1, m_references.trip2})
        if (line) Widen(*line, low, high);
    return Padded(low, high);
}

AxisExtent TrendModel::OutputExtent() const {
    const TrendReferences& r = m_references;
    if (r.rangeBottom && r.rangeTop && r.outputAtBottom && r.outputAtTop && *r.rangeTop != *r.rangeBottom) {
        const double perUnit = (*r.outputAtTop - *r.outputAtBottom) / (*r.rangeTop - *r.rangeBottom);
        const AxisExtent values = ValueExtent();
        const double atLow = *r.outputAtBottom + (values.low - *r.rangeBottom) * perUnit;
        const double atHigh = *r.outputAtBottom + (values.high - *r.rangeBottom) * perUnit;
        if (std::isfinite(atLow) && std::isfinite(atHigh) && atLow != atHigh)
            return {std::min(atLow, atHigh), std::max(atLow, atHigh), atLow > atHigh};
    }
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (std::size_t i = 0; i < m_count; ++i) Widen(At(i).output, low, high);
    return Padded(low, high);
}

}  // namespace vantrel::measure
