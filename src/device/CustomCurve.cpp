// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/CustomCurve.h"

#include <algorithm>
#include <cmath>

#include "device/ProgramPlan.h"
#include "math/Converter.h"
#include "math/InputCodes.h"
#include "math/Units.h"
#include "resources/NumberFormat.h"

namespace vantrel::device {

namespace {

constexpr int kMaxSegments = 28;
constexpr int kMaxCjcSegments = 6;
constexpr double kDegreesPerCjcStep = 15.6666;  // °C per 10 units of compensation-sensor signal

struct Layout {
    int segments = 0;     // N
    int cjcSegments = 0;  // M
    TableStarts starts;
};

std::optional<Layout> LayoutOf(const MemoryImage& c) {
    Layout layout;
    layout.starts = {c[cell::CjcSensorStart], c[cell::OddBreakpointsStart], c[cell::OutputTableStart],
                     c[cell::CjcEmfStart]};
    const double n = (layout.starts.T1 - 16) / 1.5;
    const double m = (layout.starts.T2 - layout.starts.T1) / 3.0 - 1;
    if (n < 1 || n > kMaxSegments || n != std::floor(n) || m < 1 || m > kMaxCjcSegments || m != std::floor(m))
        return std::nullopt;
    layout.segments = static_cast<int>(n);
    layout.cjcSegments = static_cast<int>(m);
    if (!(TableLayout(layout.segments, layout.cjcSegments) == layout.starts)) return std::nullopt;
    return layout;
}

double Entry(const MemoryImage& c, int address) {
    return Float24Decode(c[static_cast<std::size_t>(address)], c[static_cast<std::size_t>(address + 1)],
                         c[static_cast<std::size_t>(address + 2)]);
}

// Breakpoint i (1-based): odd ones from T2, even ones from 16.
double BreakVolts(const MemoryImage& c, const Layout& layout, int i) {
    return i % 2 == 1 ? Entry(c, layout.starts.T2 + 3 * ((i - 1) / 2)) : Entry(c, cell::TablesStart + 3 * (i / 2 - 1));
}

math::ConverterConstants ConstantsFrom(const MemoryImage& c, const math::ConverterCalibration& calibration) {
    std::array<std::uint8_t, cell::FactoryCalibrationSize> block{};
    std::copy(c.begin() + cell::FactoryCalibration, c.begin() + cell::FactoryCalibration + cell::FactoryCalibrationSize,
              block.begin());
    return DeriveConverterConstants(DecodeFactoryCalibration(block), calibration);
}

// The resistance s whose voltage s x k(s) is the signal: k falls on a straight line in s,
// so s solves a quadratic; the root near signal / k(100) is the physical one.
double ResistanceForSignal(double signal, const math::ConverterConstants& k) {
    const double d = (k.RtdCurrent100 - k.RtdCurrent1000) / 900;
    const double a = k.RtdCurrent100 + 100 * d;
    if (std::fabs(d) < 1e-12) return signal / k.RtdCurrent100;
    return (a - std::sqrt(a * a - 4 * d * signal)) / (2 * d);
}

// The user's input value of a breakpoint from its converter voltage.
double InputValue(double volts, int inputCode, int inputConfig, const math::InputScale& scale,
                  const math::ConverterConstants& k) {
    if (math::IsPotentiometerConfig(inputConfig)) return volts * 100;
    double signal = (volts - scale.V0) * scale.Ref / (scale.Vs - scale.V0);
    if (math::IsHighRangeConfig(inputConfig)) signal *= k.HighRangeRatio;
    if (inputCode == math::input::CurrentCode) return signal / k.InputGain46;
    if (math::input::UsesRtdCurrent(inputCode)) return ResistanceForSignal(signal, k);
    return signal;
}

// Physical values computed back carry the rounding of the range and the codes; they are
// kept as the editor shows them.
double AsShown(double value) { return resources::ParseNumber(resources::Format(value, "####0.0##")).value_or(value); }

std::vector<Point> SensorPoints(const MemoryImage& c, const Layout& layout, const math::ConverterCalibration& cal,
                                const math::ConverterConstants& k) {
    const int inputCode = c[cell::InputCode];
    const int inputConfig = c[cell::InputConfig];
    const bool extraPoint = (c[cell::OptionFlags] & option::ExtraEndPoint) != 0;
    // The range cells of a temperature typed in °F hold °C; the user's points were °F.
    const bool fahrenheit = (c[cell::OptionFlags] & option::Fahrenheit) != 0 && math::input::IsTemperature(inputCode);
    const int lastUser = extraPoint ? layout.segments : layout.segments + 1;
    const DecodedRange range = DecodeRange(c[cell::RangeMaxHigh], c[cell::RangeMaxLow], c[cell::RangeMinHigh],
                                           c[cell::RangeMinLow]);
    const double codeAtMin = Entry(c, layout.starts.T3);
    const double codeAtMax = Entry(c, layout.starts.T3 + 3 * (lastUser - 1));
    const math::InputScale scale = math::InputScaleFor(inputConfig, cal, k);
    std::vector<Point> points;
    for (int i = 1; i <= lastUser; ++i) {
        const double code = Entry(c, layout.starts.T3 + 3 * (i - 1));
        double physical = range.bottom + (code - codeAtMin) / (codeAtMax - codeAtMin) * (range.top - range.bottom);
        if (fahrenheit) physical = static_cast<double>(math::CelsiusToFahrenheit(static_cast<float>(physical)));
        points.push_back({AsShown(physical), InputValue(BreakVolts(c, layout, i), inputCode, inputConfig, scale, k)});
    }
    return points;
}

std::vector<Point> CjcPoints(const MemoryImage& c, const Layout& layout, const math::ConverterCalibration& cal,
                             const math::ConverterConstants& k) {
    const math::InputScale low = math::LowRangeScale(cal);
    const double sc = (k.CalCjcCounts - cal.InCalZero) * 20 / (cal.InCalSpan - cal.InCalZero);
    const bool fahrenheit = (c[cell::OptionFlags] & option::Fahrenheit) != 0;
    std::vector<Point> points;
    for (int j = 1; j <= layout.cjcSegments + 1; ++j) {
        const double sensorVolts = Entry(c, layout.starts.T1 + 3 * (j - 1));
        const double counts = (sensorVolts + 0.1) * 4096 / 1.1;
        const double signal = (counts - cal.InCalZero) * 20 / (cal.InCalSpan - cal.InCalZero);
        double celsius = k.CalTemperature + (signal - sc) * kDegreesPerCjcStep / 10;
        if (fahrenheit) celsius = static_cast<double>(math::CelsiusToFahrenheit(static_cast<float>(celsius)));
        const double emf = Entry(c, layout.starts.T4 + 3 * (j - 1)) * 20 / (low.Vs - low.V0);
        points.push_back({AsShown(celsius), emf});
    }
    return points;
}

bool HasCjcTables(const MemoryImage& c) {
    return math::input::IsThermocouple(c[cell::InputCode]) && (c[cell::OptionFlags] & option::InternalCjc) != 0;
}

math::ConverterCalibration ConverterOf(const OutputCalibration& calibration) {
    math::ConverterCalibration cal;
    cal.InCalSpan = static_cast<double>(calibration.CalWord250);
    cal.InCalZero = static_cast<double>(calibration.CalWord254);
    return cal;
}

}  // namespace

std::optional<CustomCurve> DecodeCustomCurve(const MemoryImage& cells, const OutputCalibration& calibration) {
    const auto layout = LayoutOf(cells);
    if (!layout) return std::nullopt;
    const math::ConverterCalibration cal = ConverterOf(calibration);
    const math::ConverterConstants k = ConstantsFrom(cells, cal);
    CustomCurve curve;
    curve.sensor = SensorPoints(cells, *layout, cal, k);
    if (HasCjcTables(cells)) curve.cjc = CjcPoints(cells, *layout, cal, k);
    return curve;
}

std::optional<int> CustomCurveTablesEnd(const MemoryImage& cells) {
    const auto layout = LayoutOf(cells);
    if (!layout) return std::nullopt;
    const int tablesEnd = layout->starts.T4 + 3 * (layout->cjcSegments + 1);
    if (tablesEnd > cell::FactoryCalibration) return std::nullopt;
    return tablesEnd;
}

}  // namespace vantrel::device
