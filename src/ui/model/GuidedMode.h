// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "ui/model/TextRef.h"

namespace vantrel::ui {

class ProgramForm;

// Controls a guided step points at and puts the focus on.
enum class GuideTarget {
    None, MeasureOption, InputFamilies, UnitButton, InternalCjc, Linearisation, CustomCurve, Filter, InputRange,
    OutputTypes, DirectionButton, BurnoutButton, OutputRange, ZeroTrim, ActionButton
};

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct GuideMarker {
    bool visible = false;
    Rgb colour{192, 192, 192};
};

inline constexpr int kGuideSteps = 14;

// Guided mode: walks the programming form one choice at a time, skipping what the chosen
// input family does not have. The view shows the panel at (panelTop, panelLeft) in twips,
// the hint, the markers, and moves the focus to `focus`; a 500 ms timer calls Blink.
class GuidedMode {
public:
    explicit GuidedMode(ProgramForm& form) : form_(form) {}

    int step = 0;  // 0 also when not running
    int blinkPhase = 1;
    bool running = false;
    bool panelVisible = false;
    bool timerRunning = false;
    int timerIntervalMs = 500;
    TextRef hint;
    TextRef okCaption = TextRef::Id(resources::text::kGuideNext);
    TextRef cancelCaption = TextRef::Id(resources::text::kGuideCancel);
    int panelTop = 0;
    int panelLeft = 0;
    GuideTarget focus = GuideTarget::None;
    std::array<GuideMarker, kGuideSteps> markers{};

    // The guide key: everything the walk enables step by step is disabled, then step 0.
    void Start();
    void Next();    // the panel's Next button
    void Cancel();  // the panel's Cancel button
    void Blink();   // the blink timer
    // Ends the walk from the action button: panel and marker hidden, timer stopped.
    void StopForAction();

private:
    void SetUp(int newStep);
    void Leave();
    void EnableStepControl(int stepToEnable);
    void SetControlsEnabled(bool enabled);

    ProgramForm& form_;
};

}  // namespace vantrel::ui
