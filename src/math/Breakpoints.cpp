// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "math/Breakpoints.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "math/InputCodes.h"
#include "math/SensorCurves.h"
#include "resources/NumberFormat.h"

namespace vantrel::math {

using resources::IntFloor;
using resources::ToSingle;

namespace {

constexpr std::array<double, 9> kBandsK = {-220.01, -199.8, -179.6, -157.9, -136.1, -112.9, -88, -61.6, -32.1};
constexpr std::array<double, 9> kBandsJ = {-210.01, -193.4, -175.5, -156.3, -135.6, -113.6, -90.2, -64, -35.1};
constexpr std::array<double, 5> kBandsB = {-0.1, 340, 429, 520, 584.7};
constexpr std::array<double, 11> kBandsE = {-270.01, -256.3, -241.5, -226.2, -209.8, -192.2,
                                            -173.7,  -154.2, -133.9, -112.8, -90.9};
constexpr std::array<double, 10> kBandsN = {-270.01, -245.5, -222,   -198.01, -172.96,
                                            -146.6,  -118.65, -88.33, -53.52, -8.96};

int EvenAndLimited(int n, int maxSegments) {
    if (n % 2 != 0) ++n;
    return std::min(n, maxSegments);
}

// A segment count computed from a span, held to what a table can take before it becomes an
// int (a wide span would not fit one).
int SegmentsFor(double count) {
    return static_cast<int>(std::clamp(IntFloor(count), 0.0, static_cast<double>(kMaxSegments)));
}

Breakpoints LinearProgramming(float min, float max) {
    Breakpoints b;
    b.segments = 2;
    b.temps = {min, max, ToSingle(static_cast<double>(max) + (static_cast<double>(max) - static_cast<double>(min)) / 40)};
    b.extraEndPoint = true;
    return b;
}

Breakpoints EqualSteps(const PlacementArgs& args, double step) {
    const double min = static_cast<double>(args.rangeMin);
    const double max = static_cast<double>(args.rangeMax);
    int n = 2;
    if (args.linearBoxVisible) {
        n = SegmentsFor((max - min) / step);
        if (n == 0) n = 1;
        n = EvenAndLimited(n, args.maxSegments);
    }
    Breakpoints b;
    b.segments = n;
    for (int i = 1; i <= n + 1; ++i) b.temps.push_back(ToSingle(min + (i - 1) * (max - min) / n));
    return b;
}

// Max lies inside the band list: cut the list at Max.
void CutAtMax(Breakpoints& b, double min, double max) {
    auto& t = b.temps;
    std::size_t i = 0;  // first point above Max (0-based)
    while (i < t.size() && static_cast<double>(t[i]) <= max) ++i;
    if (i == t.size()) {
        // The last band point is exactly Max: it ends the table as it is.
        b.segments = static_cast<int>(t.size()) - 1;
    } else {
        // The point before the cut keeps its relative position between its neighbours.
        // When that point is Min itself there is nothing before it to keep.
        if (i >= 2) {
            const double before = static_cast<double>(t[i - 2]);
            const double r = (static_cast<double>(t[i - 1]) - before) / (static_cast<double>(t[i]) - before);
            t[i - 1] = ToSingle(before + r * (max - before));
        }
        t[i] = static_cast<float>(max);
        t.resize(i + 1);
        b.segments = static_cast<int>(i);
    }
    if (b.segments % 2 != 0) {
        ++b.segments;
        t.push_back(ToSingle(static_cast<double>(t.back()) + (max - min) / 40));
        b.extraEndPoint = true;
    }
}

Breakpoints BandPlacement(const PlacementArgs& args, const Segmentation& seg, std::size_t band) {
    const double min = static_cast<double>(args.rangeMin);
    const double max = static_cast<double>(args.rangeMax);
    const auto& bounds = seg.boundaries;
    Breakpoints b;
    b.temps.push_back(args.rangeMin);
    const double d = bounds[band] - min;
    for (std::size_t k = band; k + 1 < bounds.size(); ++k) b.temps.push_back(ToSingle(bounds[k + 1] - d / 4));
    const int j = static_cast<int>(b.temps.size());  // 1-based index of the last filled point
    const double r = max - static_cast<double>(b.temps.back());
    if (r <= 0) {
        CutAtMax(b, min, max);
        return b;
    }
    int n = SegmentsFor(r / seg.step + j - 1);
    // At least one segment must cover the rest of the range, or the table would stop short
    // of Max.
    n = std::max(n, j);
    n = EvenAndLimited(n, args.maxSegments);
    const double last = static_cast<double>(b.temps.back());
    for (int i = j + 1; i <= n + 1; ++i) b.temps.push_back(ToSingle(last + (i - j) * r / (n - j + 1)));
    b.segments = n;
    return b;
}

}  // namespace

Segmentation SegmentationFor(int inputCode) {
    switch (inputCode) {
    case 1: return {20, kBandsK};
    case 2: return {20, kBandsJ};
    case 3:
    case 4: return {30, {}};
    case 5: return {30, kBandsB};
    case 6: return {20, kBandsE};
    case 8: return {20, kBandsN};
    case input::Pt100:
    case input::Pt1000: return {40, {}};
    case input::Ni100:
    case input::Ni1000: return {15, {}};
    default: return {20, {}};
    }
}

Breakpoints PlaceBreakpoints(const PlacementArgs& args) {
    Breakpoints b;
    if (!std::isfinite(args.rangeMin) || !std::isfinite(args.rangeMax) || !(args.rangeMax > args.rangeMin)) return b;
    if (args.linearBoxVisible && args.linearTicked) {
        b = LinearProgramming(args.rangeMin, args.rangeMax);
    } else {
        const Segmentation seg = SegmentationFor(args.inputCode);
        const double min = static_cast<double>(args.rangeMin);
        std::size_t band = seg.boundaries.size();
        for (std::size_t k = 0; k + 1 < seg.boundaries.size(); ++k) {
            if (seg.boundaries[k] < min && min <= seg.boundaries[k + 1]) {
                band = k;
                break;
            }
        }
        b = band < seg.boundaries.size() ? BandPlacement(args, seg, band) : EqualSteps(args, seg.step);
    }
    b.rangeMin = args.rangeMin;
    b.rangeMax = args.rangeMax;
    return b;
}

Breakpoints CustomBreakpoints(std::span<const float> physical, int segmentCount, bool pointExtra) {
    Breakpoints b;
    if (segmentCount < 1 || static_cast<std::size_t>(segmentCount) >= physical.size()) return b;
    b.segments = segmentCount;
    b.temps.assign(physical.begin(), physical.begin() + segmentCount + 1);
    b.extraEndPoint = pointExtra;
    b.rangeMin = b.temps.front();
    b.rangeMax = pointExtra ? b.temps[static_cast<std::size_t>(segmentCount) - 1] : b.temps.back();
    return b;
}

std::vector<float> BreakpointSignals(std::span<const float> temps, int inputCode, int multiplier,
                                     const ConverterConstants& constants) {
    std::vector<float> signals;
    signals.reserve(temps.size());
    for (float t : temps)
        signals.push_back(
            ToSingle(SignalAtConverter(SensorSignalOrZero(static_cast<double>(t), inputCode, multiplier), inputCode, constants)));
    return signals;
}

std::vector<float> CustomBreakpointSignals(std::span<const float> inputs, int segmentCount, int inputCode,
                                           const ConverterConstants& constants) {
    std::vector<float> signals;
    const int last = std::min(segmentCount, static_cast<int>(inputs.size()) - 1);
    for (int i = 0; i <= last; ++i) {
        double s = static_cast<double>(inputs[static_cast<std::size_t>(i)]);
        if (input::IsPotentiometer(inputCode)) s /= 100;
        signals.push_back(ToSingle(SignalAtConverter(s, inputCode, constants)));
    }
    return signals;
}

std::vector<float> BreakpointVolts(std::span<const float> signals, int inputConfig, const InputScale& scale,
                                   const ConverterConstants& constants, float rangeMin, float rangeMax,
                                   std::span<const float> potentiometerRatios) {
    std::vector<float> volts;
    const std::size_t count = signals.size();
    const int n = static_cast<int>(count) - 1;
    for (std::size_t i = 0; i < count; ++i) {
        double v = 0;
        if (IsPotentiometerConfig(inputConfig)) {
            v = potentiometerRatios.empty()
                    ? static_cast<double>(rangeMin) +
                          static_cast<double>(i) * (static_cast<double>(rangeMax) - static_cast<double>(rangeMin)) / n
                    : static_cast<double>(potentiometerRatios[i]);
        } else {
            v = InputConverterVolts(static_cast<double>(signals[i]), inputConfig, scale, constants);
        }
        volts.push_back(ToSingle(v));
    }
    return volts;
}

}  // namespace vantrel::math
