// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "device/ProgramPlan.h"
#include "device/WorkingState.h"
#include "math/LinearisationPreview.h"

// The linearisation preview of a programming plan: the sensor's curve against the table the
// plan would write, the error in the unit the range was typed in, and what stands in the
// way (a refused plan, a range narrow enough to be noisy).
namespace vantrel::device {

struct PlanPreview {
    bool available = false;          // the plan holds tables to draw
    bool customCurve = false;        // compared with the user's points, not a sensor curve
    math::LinearisationPreview curve;  // values and errors in valueUnit
    std::vector<math::PreviewSample> breakpoints;  // the table's points in the range (value, table signal)
    std::string valueUnit;           // "°C", "°F", "%", "mV", "mA", "Ohm"
    std::string signalUnit;          // unit of the signals at the converter input: "mV" or "ratio"
    bool noisy = false;              // programming would ask the noise question (text 156)
    double signalSpan = 0;           // mV the sensor signal covers over the table
    double leastQuietSpan = 0;       // mV below which programming asks
    std::string note;                // why there is no preview, or the noise warning; language of the offset
};

// `inputCode` and `optionWord` are the form's encoded input values the plan was made from;
// `working` supplies the custom point table when custom linearisation is active.
PlanPreview PreviewPlan(const ProgramPlan& plan, int inputCode, int optionWord, const WorkingState& working,
                        int languageOffset);

// The preview as CSV: value, reference signal, table signal, error (units in the header).
std::string PreviewCsv(const PlanPreview& preview);

// "Largest error: 0.123 °C (at 456.7 °C)" in the language of the offset.
std::string LargestErrorText(const PlanPreview& preview, int languageOffset);

}  // namespace vantrel::device
