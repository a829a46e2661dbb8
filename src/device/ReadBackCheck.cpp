// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ReadBackCheck.h"

#include <cmath>
#include <limits>

#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::device {

namespace {

// The output ends come back through three-byte table entries and the calibration line:
// a thousandth of the span absorbs that, while a wrong range or trim shows far beyond it.
constexpr double kOutputTolerance = 1e-3;

std::string Value(double value, int languageOffset) {
    return std::isfinite(value) ? resources::PlainText(value) : resources::Text(resources::text::kUnknownValue, languageOffset);
}

std::string Values(double low, double high, int languageOffset) {
    if (low == high) return Value(low, languageOffset);
    return Value(low, languageOffset) + resources::Text(resources::text::kRangeSeparator, languageOffset) + Value(high, languageOffset);
}

bool Near(const std::optional<float>& a, double b, double tolerance) {
    return a && std::isfinite(*a) && std::fabs(static_cast<double>(*a) - b) <= tolerance;
}

// An output end that could not be computed is shown as unknown.
double Shown(const std::optional<float>& value) { return static_cast<double>(value.value_or(std::numeric_limits<float>::quiet_NaN())); }

}  // namespace

std::vector<ReadBackDifference> CompareReadBack(const PlanRequest& request, const ProgramPlan& plan,
                                                const ReadConfiguration& read) {
    std::vector<ReadBackDifference> differences;
    const ReadValues& v = read.values;
    if (v.inputCode != request.InputCode)
        differences.push_back({ReadBackField::InputCode, 1.0 * request.InputCode, 1.0 * request.InputCode,
                               1.0 * v.inputCode, 1.0 * v.inputCode});
    if ((v.flags & 0xFF) != (plan.OptionWord & 0xFF))
        differences.push_back({ReadBackField::OptionFlags, 1.0 * (plan.OptionWord & 0xFF),
                               1.0 * (plan.OptionWord & 0xFF), 1.0 * v.flags, 1.0 * v.flags});

    // The range cells hold what the encoding of the plan's range gives, to the bit.
    if (const auto cells = RangeEncode(static_cast<double>(plan.RangeMax), static_cast<double>(plan.RangeMin))) {
        const DecodedRange asked = DecodeRange(cells->cell15, cells->cell14, cells->cell9, cells->cell8);
        if (asked.top != v.rangeTop || asked.bottom != v.rangeBottom)
            differences.push_back({ReadBackField::InputRange, asked.bottom, asked.top, v.rangeBottom, v.rangeTop});
    }

    // The output at the range's top end is the maximum of a direct output and the minimum of
    // a reverse one.
    const bool direct = request.OutputDirect;
    const double atTop = direct ? static_cast<double>(request.OutMax) : static_cast<double>(request.OutMin);
    const double atBottom = direct ? static_cast<double>(request.OutMin) : static_cast<double>(request.OutMax);
    const double tolerance = kOutputTolerance * std::fabs(static_cast<double>(request.OutMax) - static_cast<double>(request.OutMin));
    if (!Near(v.outputFirst, atTop, tolerance) || !Near(v.outputSecond, atBottom, tolerance))
        differences.push_back({ReadBackField::OutputRange, static_cast<double>(request.OutMin), static_cast<double>(request.OutMax),
                               Shown(direct ? v.outputSecond : v.outputFirst),
                               Shown(direct ? v.outputFirst : v.outputSecond)});
    return differences;
}

std::string ReadBackDifferencesText(const std::vector<ReadBackDifference>& differences, int languageOffset) {
    namespace t = resources::text;
    const auto T = [&](int id) { return resources::Text(id, languageOffset); };
    std::string text = T(t::kReadBackDiffers);
    for (const ReadBackDifference& d : differences) {
        std::string field;
        switch (d.field) {
        case ReadBackField::InputCode: field = T(t::kReadBackInputCode); break;
        case ReadBackField::OptionFlags: field = T(t::kReadBackOptions); break;
        case ReadBackField::InputRange: field = T(resources::text::kInputRange); break;
        case ReadBackField::OutputRange: field = T(resources::text::kOutputRange); break;
        }
        text += "\n" + field + ": " + T(t::kReadBackAsked) + " " + Values(d.askedLow, d.askedHigh, languageOffset) +
                ", " + T(t::kReadBackRead) + " " + Values(d.readLow, d.readHigh, languageOffset);
    }
    return text;
}

}  // namespace vantrel::device
