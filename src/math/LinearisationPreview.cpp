// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "math/LinearisationPreview.h"

#include <cmath>

namespace vantrel::math {

namespace {

double Lerp(double a, double b, double u) { return a + (b - a) * u; }

// One point of the true curve inside segment `segment` at fraction u of it.
struct TruePoint {
    double value = 0;
    std::optional<double> signal;
};
using TrueCurve = std::function<TruePoint(std::size_t segment, double u)>;

bool TableUsable(const PreviewTable& table) {
    if (table.values.size() < 2 || table.values.size() != table.breakSignals.size()) return false;
    if (table.segmentsInRange < 1 || static_cast<std::size_t>(table.segmentsInRange) >= table.values.size())
        return false;
    for (std::size_t i = 0; i < table.values.size(); ++i)
        if (!std::isfinite(table.values[i]) || !std::isfinite(table.breakSignals[i])) return false;
    return true;
}

LinearisationPreview Walk(const PreviewTable& table, const TrueCurve& curve, int samplesPerSegment) {
    LinearisationPreview preview;
    if (!TableUsable(table) || samplesPerSegment < 1) return preview;
    const auto segments = static_cast<std::size_t>(table.segmentsInRange);
    double worst = -1;
    for (std::size_t i = 0; i < segments; ++i) {
        // The first sample of every segment but the first is the previous segment's last.
        for (int k = i == 0 ? 0 : 1; k <= samplesPerSegment; ++k) {
            const double u = static_cast<double>(k) / samplesPerSegment;
            const TruePoint truth = curve(i, u);
            if (!truth.signal) continue;
            const std::optional<double> read = TableValueAt(table.values, table.breakSignals, *truth.signal);
            if (!read) return LinearisationPreview{};
            PreviewSample sample;
            sample.value = truth.value;
            sample.referenceSignal = *truth.signal;
            sample.tableSignal = Lerp(static_cast<double>(table.breakSignals[i]), static_cast<double>(table.breakSignals[i + 1]), u);
            sample.error = *read - truth.value;
            if (std::abs(sample.error) > worst) {
                worst = std::abs(sample.error);
                preview.largestError = sample.error;
                preview.largestErrorAt = sample.value;
            }
            preview.samples.push_back(sample);
        }
    }
    preview.valid = !preview.samples.empty();
    return preview;
}

}  // namespace

std::optional<double> TableValueAt(std::span<const float> values, std::span<const float> signals, double signal) {
    if (values.size() < 2 || values.size() != signals.size()) return std::nullopt;
    const std::size_t last = signals.size() - 1;
    std::optional<std::size_t> nearest;  // the end segment to extend when no segment holds it
    for (std::size_t i = 0; i < last; ++i) {
        const double s0 = static_cast<double>(signals[i]);
        const double s1 = static_cast<double>(signals[i + 1]);
        if (s0 == s1) continue;
        if ((signal - s0) * (signal - s1) <= 0) return Lerp(static_cast<double>(values[i]), static_cast<double>(values[i + 1]), (signal - s0) / (s1 - s0));
        const bool beyondStart = i == 0 && (signal - s0) * (s1 - s0) < 0;
        const bool beyondEnd = i + 1 == last && (signal - s1) * (s1 - s0) > 0;
        if (beyondStart || beyondEnd) nearest = i;
    }
    if (!nearest) {
        // A table whose end segments are flat: extend the outermost segment with a span.
        for (std::size_t i = 0; i < last && !nearest; ++i)
            if (signals[i] != signals[i + 1]) nearest = i;
        if (!nearest) return std::nullopt;
    }
    const std::size_t i = *nearest;
    const double s0 = static_cast<double>(signals[i]);
    const double s1 = static_cast<double>(signals[i + 1]);
    return Lerp(static_cast<double>(values[i]), static_cast<double>(values[i + 1]), (signal - s0) / (s1 - s0));
}

LinearisationPreview PreviewAgainstCurve(const PreviewTable& table, const ReferenceSignal& reference,
                                         int samplesPerSegment) {
    if (!reference) return {};
    return Walk(
        table,
        [&](std::size_t i, double u) {
            TruePoint p;
            p.value = Lerp(static_cast<double>(table.values[i]), static_cast<double>(table.values[i + 1]), u);
            p.signal = reference(p.value);
            return p;
        },
        samplesPerSegment);
}

LinearisationPreview PreviewAgainstPoints(const PreviewTable& table, std::span<const float> physical,
                                          std::span<const float> input, const std::function<double(double)>& shape,
                                          int samplesPerSegment) {
    if (!shape || physical.size() < table.values.size() || input.size() < table.values.size()) return {};
    return Walk(
        table,
        [&](std::size_t i, double u) {
            TruePoint p;
            p.value = Lerp(static_cast<double>(physical[i]), static_cast<double>(physical[i + 1]), u);
            p.signal = shape(Lerp(static_cast<double>(input[i]), static_cast<double>(input[i + 1]), u));
            return p;
        },
        samplesPerSegment);
}

}  // namespace vantrel::math
