// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/GuidedMode.h"

#include "ui/model/ProgramForm.h"

#include "device/Identify.h"

namespace vantrel::ui {

namespace {

constexpr int kLastStep = kGuideSteps - 1;
constexpr Rgb kGrey{192, 192, 192};
constexpr Rgb kBlue{0, 0, 255};

struct StepRow {
    int hintId;           // 0: the literal below
    const char* literal;
    GuideTarget focus;
    int top;
    int left;
};

// Step 13's hint depends on the mode; its row holds the programming one.
constexpr std::array<StepRow, kGuideSteps> kSteps = {{
    {187, "", GuideTarget::MeasureOption, 120, 4200},
    {188, "", GuideTarget::InputFamilies, 1980, 2520},
    {193, "", GuideTarget::UnitButton, 3500, 4500},
    {189, "", GuideTarget::InternalCjc, 3000, 4500},
    {191, "", GuideTarget::Linearisation, 2500, 4500},
    {190, "", GuideTarget::CustomCurve, 2000, 4500},
    {0, "Filter", GuideTarget::Filter, 2000, 4500},
    {196, "", GuideTarget::InputRange, 3500, 2500},
    {216, "", GuideTarget::OutputTypes, 1920, 1800},
    {195, "", GuideTarget::DirectionButton, 1920, 4000},
    {194, "", GuideTarget::BurnoutButton, 1920, 4000},
    {217, "", GuideTarget::OutputRange, 3500, 1800},
    {192, "", GuideTarget::ZeroTrim, 3500, 4000},
    {197, "", GuideTarget::ActionButton, 1200, 4020},
}};

}  // namespace

void GuidedMode::SetControlsEnabled(bool enabled) {
    form_.modeFrame_.enabled = enabled;
    form_.inputFrame_.enabled = enabled;
    // Type B has no compensation choice, whatever guided mode does with the box.
    form_.internalCjc_.enabled = enabled && form_.thermocoupleTypes_.selected != device::kThermocoupleB;
    form_.customCurve_.enabled = enabled;
    form_.linearisation_.enabled = enabled;
    form_.trimsFrame_.enabled = enabled;
    form_.inputRange_.SetEnabled(enabled);
    form_.outputRange_.SetEnabled(enabled);
    form_.outputTypeFrame_.enabled = enabled;
}

void GuidedMode::EnableStepControl(int stepToEnable) {
    switch (stepToEnable) {
    case 0: form_.modeFrame_.enabled = true; break;
    case 1: form_.inputFrame_.enabled = true; break;
    case 3: form_.internalCjc_.enabled = form_.thermocoupleTypes_.selected != device::kThermocoupleB; break;
    case 4: form_.linearisation_.enabled = true; break;
    case 5: form_.customCurve_.enabled = true; break;
    case 6: form_.filter_.enabled = true; break;
    case 7: form_.inputRange_.SetEnabled(true); break;
    case 8: form_.outputTypeFrame_.enabled = true; break;
    case 11: form_.outputRange_.SetEnabled(true); break;
    case 12: form_.trimsFrame_.enabled = true; break;
    default: break;
    }
}

void GuidedMode::SetUp(int newStep) {
    step = newStep;
    timerIntervalMs = 500;
    blinkPhase = 1;
    markers[static_cast<std::size_t>(step)].visible = true;
    const StepRow& row = kSteps[static_cast<std::size_t>(step)];
    EnableStepControl(step);
    timerRunning = true;
    if (step == kLastStep)
        hint = TextRef::Id(form_.mode_ == Mode::Measure ? resources::text::kGuideMeasureHint
                                                        : resources::text::kGuideProgramHint);
    else
        hint = row.hintId != 0 ? TextRef::Id(row.hintId) : TextRef::Literal(row.literal);
    panelTop = row.top;
    panelLeft = row.left;
    focus = row.focus;
    if (step == kLastStep && !form_.actionButton_.enabled) focus = GuideTarget::None;
    panelVisible = true;
    if (step == 0) {
        cancelCaption = TextRef::Id(resources::text::kGuideCancel);
        okCaption = TextRef::Id(resources::text::kGuideNext);
    }
    if (step == kLastStep) okCaption = TextRef::Id(resources::text::kGuideEnd);
}

void GuidedMode::Leave() {
    form_.commands_.toolbarEnabled = true;
    form_.commands_.menusEnabled = true;
    SetControlsEnabled(true);
    running = false;
    focus = GuideTarget::None;
}

void GuidedMode::Start() {
    SetControlsEnabled(false);
    form_.commands_.toolbarEnabled = false;
    form_.commands_.menusEnabled = false;
    for (GuideMarker& marker : markers) marker = GuideMarker{};
    running = true;
    SetUp(0);
    form_.Changed();
}

void GuidedMode::Next() {
    if (!running) return;
    markers[static_cast<std::size_t>(step)].visible = true;
    ++step;
    if (step == kGuideSteps) {
        Leave();
        timerRunning = false;
        markers[kLastStep].visible = false;
        panelVisible = false;
        step = 0;
        form_.Changed();
        return;
    }
    if (step == 1) {
        markers[0].visible = false;
        if (form_.mode_ == Mode::Measure) step = kLastStep;
    }
    const int family = form_.FamilyPosition();
    const bool thermocouple = family == device::family::Thermocouple;
    const bool rtd = family == device::family::Rtd;
    if (step == 3 && !thermocouple) {
        markers[2].visible = false;
        step = 4;
    }
    if (step == 4 && !thermocouple && !rtd) {
        markers[3].visible = false;
        step = 5;
    }
    if (step == 2 && !thermocouple && !rtd) {
        markers[1].visible = false;
        step = 5;
    }
    SetUp(step);
    markers[static_cast<std::size_t>(step - 1)].visible = false;
    form_.Changed();
}

void GuidedMode::Cancel() {
    panelVisible = false;
    timerRunning = false;
    markers[static_cast<std::size_t>(step)].visible = false;
    step = 0;
    Leave();
    form_.Changed();
}

void GuidedMode::Blink() {
    GuideMarker& marker = markers[static_cast<std::size_t>(step)];
    marker.colour = kGrey;
    if (blinkPhase == 1) marker.colour = kBlue;
    blinkPhase = -blinkPhase;
    form_.Changed();
}

void GuidedMode::StopForAction() {
    panelVisible = false;
    markers[static_cast<std::size_t>(step)].visible = false;
    timerRunning = false;
    step = 0;
    Leave();
}

}  // namespace vantrel::ui
