#include "ui/model/GuidedMode.h"

#include "ui/model/ProgramForm.h"

namespace vantrel::ui {

namespace {

constexpr int kTypeB = 4;
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
    {187, "", GuideTarget::Modo, 120, 4200},
    {188, "", GuideTarget::Strumento, 1980, 2520},
    {193, "", GuideTarget::umis, 3500, 4500},
    {189, "", GuideTarget::Giunto, 3000, 4500},
    {191, "", GuideTarget::Linear, 2500, 4500},
    {190, "", GuideTarget::Custom, 2000, 4500},
    {0, "Filter", GuideTarget::SmChk, 2000, 4500},
    {196, "", GuideTarget::CtlRangeIn, 3500, 2500},
    {216, "", GuideTarget::Vuscite, 1920, 1800},
    {195, "", GuideTarget::ExitVers, 1920, 4000},
    {194, "", GuideTarget::BrkOnOff, 1920, 4000},
    {217, "", GuideTarget::CtlRangeOut, 3500, 1800},
    {192, "", GuideTarget::AdjMax, 3500, 4000},
    {197, "", GuideTarget::Command1, 1200, 4020},
}};

}  // namespace

void GuidedMode::SetControlsEnabled(bool enabled) {
    form_.modeFrame.enabled = enabled;
    form_.inputFrame.enabled = enabled;
    // Type B has no compensation choice, whatever guided mode does with the box.
    form_.Giunto.enabled = enabled && form_.Tipo.selected != kTypeB;
    form_.Custom.enabled = enabled;
    form_.Linear.enabled = enabled;
    form_.Ranges.enabled = enabled;
    form_.CtlRangeIn.Enabled = enabled;
    form_.CtlRangeOut.Enabled = enabled;
    form_.VusciteF.enabled = enabled;
}

void GuidedMode::EnableStepControl(int step) {
    switch (step) {
    case 0: form_.modeFrame.enabled = true; break;
    case 1: form_.inputFrame.enabled = true; break;
    case 3: form_.Giunto.enabled = form_.Tipo.selected != kTypeB; break;
    case 4: form_.Linear.enabled = true; break;
    case 5: form_.Custom.enabled = true; break;
    case 6: form_.SmChk.enabled = true; break;
    case 7: form_.CtlRangeIn.Enabled = true; break;
    case 8: form_.VusciteF.enabled = true; break;
    case 11: form_.CtlRangeOut.Enabled = true; break;
    case 12: form_.Ranges.enabled = true; break;
    default: break;
    }
}

void GuidedMode::SetUp(int step) {
    WizardStep = step;
    timerIntervalMs = 500;
    BlinkPhase = 1;
    SelWiz[static_cast<std::size_t>(step)].visible = true;
    const StepRow& row = kSteps[static_cast<std::size_t>(step)];
    EnableStepControl(step);
    timerRunning = true;
    if (step == kLastStep)
        hint = TextRef::Id(form_.mode == Mode::Measure ? 198 : 197);
    else
        hint = row.hintId != 0 ? TextRef::Id(row.hintId) : TextRef::Literal(row.literal);
    panelTop = row.top;
    panelLeft = row.left;
    focus = row.focus;
    if (step == kLastStep && !form_.Command1.enabled) focus = GuideTarget::None;
    panelVisible = true;
    if (step == 0) {
        cancelCaption = TextRef::Id(200);
        okCaption = TextRef::Id(185);
    }
    if (step == kLastStep) okCaption = TextRef::Id(199);
}

void GuidedMode::Leave() {
    form_.main.toolbarEnabled = true;
    form_.main.menusEnabled = true;
    SetControlsEnabled(true);
    running = false;
    focus = GuideTarget::None;
}

void GuidedMode::Start() {
    SetControlsEnabled(false);
    form_.main.toolbarEnabled = false;
    form_.main.menusEnabled = false;
    for (GuideMarker& marker : SelWiz) marker = GuideMarker{};
    running = true;
    SetUp(0);
    form_.Changed();
}

void GuidedMode::Next() {
    if (!running) return;
    SelWiz[static_cast<std::size_t>(WizardStep)].visible = true;
    ++WizardStep;
    if (WizardStep == kGuideSteps) {
        Leave();
        timerRunning = false;
        SelWiz[kLastStep].visible = false;
        panelVisible = false;
        WizardStep = 0;
        form_.Changed();
        return;
    }
    if (WizardStep == 1) {
        SelWiz[0].visible = false;
        if (form_.mode == Mode::Measure) WizardStep = kLastStep;
    }
    const int family = form_.FamilyPosition();
    const bool thermocouple = family == 0;
    const bool rtd = family == 1;
    if (WizardStep == 3 && !thermocouple) {
        SelWiz[2].visible = false;
        WizardStep = 4;
    }
    if (WizardStep == 4 && !thermocouple && !rtd) {
        SelWiz[3].visible = false;
        WizardStep = 5;
    }
    if (WizardStep == 2 && !thermocouple && !rtd) {
        SelWiz[1].visible = false;
        WizardStep = 5;
    }
    SetUp(WizardStep);
    SelWiz[static_cast<std::size_t>(WizardStep - 1)].visible = false;
    form_.Changed();
}

void GuidedMode::Cancel() {
    panelVisible = false;
    timerRunning = false;
    SelWiz[static_cast<std::size_t>(WizardStep)].visible = false;
    WizardStep = 0;
    Leave();
    form_.Changed();
}

void GuidedMode::Blink() {
    GuideMarker& marker = SelWiz[static_cast<std::size_t>(WizardStep)];
    marker.colour = kGrey;
    if (BlinkPhase == 1) marker.colour = kBlue;
    BlinkPhase = -BlinkPhase;
    form_.Changed();
}

void GuidedMode::StopForAction() {
    panelVisible = false;
    SelWiz[static_cast<std::size_t>(WizardStep)].visible = false;
    timerRunning = false;
    WizardStep = 0;
    Leave();
}

}  // namespace vantrel::ui
