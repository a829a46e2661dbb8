// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "device/WorkingState.h"
#include "measure/MeasurementMath.h"

// The live trend: the process value and the output over the last minutes, with the range
// ends and the trip levels as reference lines, thinned out for drawing.
namespace vantrel::measure {

// Readings further apart than this belong to separate stretches: the stream was interrupted
// (a Retry box, a pulled cable) or stopped and started again. The trend breaks its line there
// and the CSV log marks it.
inline constexpr double kGapSeconds = 1.0;
// A value older than this is stale: the displays grey it rather than show it as current.
inline constexpr double kStaleSeconds = 2.0;

struct TrendSample {
    double time = 0;    // seconds (any origin; the chart uses wall-clock seconds)
    double value = 0;   // process value in the display unit
    double output = 0;  // mA or V
    bool afterGap = false;  // the line does not join this sample to the one before
};

struct TrendReferences {
    std::optional<double> rangeBottom;
    std::optional<double> rangeTop;
    std::optional<double> trip1;  // switching level of each trip, display unit
    std::optional<double> trip2;
    // The output (mA or V) at the range bottom and top: the output axis is drawn so that
    // its scale lines up with the value axis (a reverse output gives a reversed axis).
    std::optional<double> outputAtBottom;
    std::optional<double> outputAtTop;
};

// The reference lines of a run: range ends and output ends from the run's scale (process
// units; the readings bring the range ends in the display unit), trip levels from the
// working state.
TrendReferences ReferencesFor(const Scale& scale, bool reverseOutput, const device::WorkingState& state);

struct AxisExtent {
    double low = 0;
    double high = 1;
    bool reversed = false;  // high values at the bottom
};

// The switching level of each trip of the model with trips: the high level of a maximum
// trip, the low level of a minimum trip. Nothing on a model without trips.
std::pair<std::optional<double>, std::optional<double>> TripThresholds(const device::WorkingState& state);

class TrendModel {
public:
    static constexpr double kDefaultWindowSeconds = 5 * 60;
    // Ten frames a second over the window, with room to spare.
    static constexpr std::size_t kDefaultCapacity = 4096;

    explicit TrendModel(double windowSeconds = kDefaultWindowSeconds, std::size_t capacity = kDefaultCapacity);

    // Adds a sample; samples that left the window behind the newest one are dropped, and so is
    // the oldest one when the ring is full. A sample older than the newest starts afresh (a
    // clock that went back belongs to another run).
    // A sample more than kGapSeconds after the newest one starts a new stretch.
    void Add(const TrendSample& sample);
    // The next sample starts a new stretch (a frame without a defined value came between).
    void MarkGap() { m_gapPending = m_count > 0; }
    void Clear();

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    double windowSeconds() const { return m_window; }
    std::size_t capacity() const { return m_ring.size(); }
    const TrendSample& newest() const;

    // The samples in the window, oldest first.
    std::vector<TrendSample> Samples() const;
    // At most maxPoints samples for drawing: the window is cut into equal time buckets and
    // each keeps its lowest and highest value in time order, so a short spike still shows;
    // a bucket holding the start of a stretch starts one too.
    std::vector<TrendSample> Decimated(std::size_t maxPoints) const;

    void SetReferences(const TrendReferences& references) { m_references = references; }
    const TrendReferences& references() const { return m_references; }

    // Low and high ends of the value axis: the samples and every reference line, with a
    // margin; a flat trace gets a band around it.
    AxisExtent ValueExtent() const;
    // Lined up with ValueExtent through the output ends when they are known; otherwise the
    // output samples with a margin.
    AxisExtent OutputExtent() const;

private:
    const TrendSample& At(std::size_t index) const;  // 0 = oldest
    void DropOlderThan(double time);

    double m_window;
    std::vector<TrendSample> m_ring;
    std::size_t m_head = 0;  // index of the oldest sample
    std::size_t m_count = 0;
    bool m_gapPending = false;
    TrendReferences m_references;
};

}  // namespace vantrel::measure
