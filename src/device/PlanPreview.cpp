// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/PlanPreview.h"

#include <charconv>
#include <string>

#include "device/MemoryMap.h"
#include "math/Converter.h"
#include "math/Gain.h"
#include "math/InputCodes.h"
#include "math/SensorCurves.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::device {

namespace in = math::input;
namespace text = resources::text;

namespace {

constexpr double kNoiseFactor = 2.6;     // programming asks when 2.6 x gain multiplier > span
constexpr double kHighRangeDivider = 20; // the two widest voltage ranges compare span / 20

// A number of the CSV with "." whatever the process locale ("%.6f" or "%.9g" of the C library
// would write a decimal comma under an Italian locale, inside a comma-separated file).
std::string CsvNumber(double value, std::chars_format format, int precision) {
    char buffer[400];  // room for any fixed-point Double
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::string ValueUnit(int code, int optionWord) {
    if (in::IsTemperature(code)) return (optionWord & option::Fahrenheit) != 0 ? "°F" : "°C";
    if (in::IsPotentiometer(code)) return "%";
    if (code == in::VoltageCode) return "mV";
    if (code == in::CurrentCode) return "mA";
    return "Ohm";
}

// The tables hold °C for a range typed in °F, and a ratio for a potentiometer's percent
// range; the preview speaks the unit the user typed.
struct UnitChange {
    double factor = 1;
    double offset = 0;
};
UnitChange UnitOfUser(int code, int optionWord, bool custom) {
    if (custom) return {};
    if (in::IsTemperature(code) && (optionWord & option::Fahrenheit) != 0) return {9.0 / 5.0, 32};
    if (in::IsPotentiometer(code)) return {100, 0};
    return {};
}

void ApplyUnit(math::LinearisationPreview& curve, const UnitChange& unit) {
    for (math::PreviewSample& s : curve.samples) {
        s.value = s.value * unit.factor + unit.offset;
        s.error *= unit.factor;
    }
    curve.largestError *= unit.factor;
    curve.largestErrorAt = curve.largestErrorAt * unit.factor + unit.offset;
}

bool HasTables(const ProgramPlan& plan) {
    return plan.SegmentCount >= 1 && plan.BreakTemp.size() == static_cast<std::size_t>(plan.SegmentCount) + 1 &&
           plan.BreakSignal.size() == plan.BreakTemp.size();
}

std::string Number(double value) { return resources::Format(value, "0.000"); }

}  // namespace

PlanPreview PreviewPlan(const ProgramPlan& plan, int inputCode, int optionWord, const WorkingState& working,
                        int languageOffset) {
    PlanPreview preview;
    preview.valueUnit = ValueUnit(inputCode, optionWord);
    preview.signalUnit = in::IsPotentiometer(inputCode) ? "ratio" : "mV";
    const bool refused = plan.status != PlanStatus::Done && plan.status != PlanStatus::NoisyRangeRefused;
    if (refused || !HasTables(plan)) {
        std::string why = PlanRefusalText(plan, languageOffset);
        if (why.empty()) why = resources::Text(text::kPointsTableInvalid, languageOffset);
        preview.note = resources::Text(text::kPreviewUnavailable, languageOffset) + " " + why;
        return preview;
    }

    const int code = inputCode;
    const math::ConverterConstants constants = plan.Constants;
    math::PreviewTable table;
    table.values = plan.BreakTemp;
    table.breakSignals = plan.BreakSignal;
    const bool extra = (plan.OptionWord & option::ExtraEndPoint) != 0;
    table.segmentsInRange = plan.SegmentCount - (extra ? 1 : 0);
    preview.customCurve = working.CustomActive;
    if (preview.customCurve) {
        const auto points = static_cast<std::size_t>(plan.SegmentCount) + 1;
        const auto shape = [code, constants](double input) {
            return math::SignalAtConverter(in::IsPotentiometer(code) ? input / 100 : input, code, constants);
        };
        preview.curve = math::PreviewAgainstPoints(table, std::span<const float>(working.PtPhysical).first(points),
                                                   std::span<const float>(working.PtInput).first(points), shape);
    } else {
        const int multiplier = plan.Multiplier;
        preview.curve = math::PreviewAgainstCurve(table, [code, multiplier, constants](double value) -> std::optional<double> {
            const auto signal = math::SensorSignal(value, code, multiplier);
            if (!signal) return std::nullopt;
            return math::SignalAtConverter(*signal, code, constants);
        });
    }
    const UnitChange unit = UnitOfUser(code, optionWord, preview.customCurve);
    ApplyUnit(preview.curve, unit);
    for (int i = 0; i <= table.segmentsInRange; ++i) {
        math::PreviewSample point;
        point.value = static_cast<double>(plan.BreakTemp[static_cast<std::size_t>(i)]) * unit.factor + unit.offset;
        point.tableSignal = static_cast<double>(plan.BreakSignal[static_cast<std::size_t>(i)]);
        point.referenceSignal = point.tableSignal;
        preview.breakpoints.push_back(point);
    }
    preview.available = preview.curve.valid;
    if (!preview.available) {
        preview.note = resources::Text(text::kPreviewUnavailable, languageOffset) + " " +
                       resources::Text(text::kPointsTableInvalid, languageOffset);
        return preview;
    }

    const double first = static_cast<double>(plan.BreakSignal.front());
    const double last = static_cast<double>(plan.BreakSignal.back());
    const bool highRange = math::IsHighRangeConfig(plan.InputConfig);
    preview.noisy = math::RangeIsNoisy(code, plan.InputConfig, math::GainSignalSpan(first, last, plan.InputConfig));
    preview.signalSpan = last - first;
    preview.leastQuietSpan = kNoiseFactor * math::GainMultiplier(plan.InputConfig) * (highRange ? kHighRangeDivider : 1);
    if (preview.noisy) {
        preview.note = resources::Text(text::kPreviewNoisyRange, languageOffset) + "\n" +
                       resources::Text(text::kPreviewSignalSpan, languageOffset) + " " + Number(preview.signalSpan) +
                       " mV, " + resources::Text(text::kPreviewLeastSpan, languageOffset) + " " +
                       Number(preview.leastQuietSpan) + " mV";
    }
    return preview;
}

std::string PreviewCsv(const PlanPreview& preview) {
    const std::string& v = preview.valueUnit;
    const std::string& s = preview.signalUnit;
    std::string csv = "value (" + v + "),reference signal (" + s + "),table signal (" + s + "),error (" + v + ")\n";
    for (const math::PreviewSample& p : preview.curve.samples)
        csv += CsvNumber(p.value, std::chars_format::fixed, 6) + ',' +
               CsvNumber(p.referenceSignal, std::chars_format::general, 9) + ',' +
               CsvNumber(p.tableSignal, std::chars_format::general, 9) + ',' +
               CsvNumber(p.error, std::chars_format::fixed, 6) + '\n';
    return csv;
}

std::string LargestErrorText(const PlanPreview& preview, int languageOffset) {
    return resources::Text(text::kPreviewLargestError, languageOffset) + " " + Number(preview.curve.largestError) +
           " " + preview.valueUnit + " (" + resources::Text(text::kPreviewAt, languageOffset) + " " +
           Number(preview.curve.largestErrorAt) + " " + preview.valueUnit + ")";
}

}  // namespace vantrel::device
