// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The linearisation preview of a thermocouple (input code 1 K, 3 S, ...) from 0 to top °C on
// a 4..20 mA output: what the preview chart, picture and dialog tests draw.
#include "device/PlanPreview.h"
#include "device/ProgramPlan.h"

namespace vantrel::test {

inline device::PlanPreview TypeKPreview(float top, int languageOffset = 300, int inputCode = 1) {
    device::WorkingState working;
    working.identity = {3, 9, 5, 1};
    device::PlanRequest form;
    form.InputCode = inputCode;
    form.OptionWord = 1;
    form.RangeMax = top;
    form.OutMin = 4;
    form.OutMax = 20;
    form.LinearVisible = true;
    const device::ProgramPlan plan = device::MakeProgramPlan(form, working, {}, [] { return true; });
    return device::PreviewPlan(plan, inputCode, 1, working, languageOffset);
}

}  // namespace vantrel::test
