// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A programming form for widget tests and screenshots: scripted message boxes and a host
// that records what the form opened.
#include <QApplication>

#include <deque>
#include <vector>

#include "device/ConfigRecord.h"
#include "device/PlanPreview.h"
#include "device/ProgramPlan.h"
#include "device/WorkingState.h"
#include "link/Dialogs.h"
#include "ui/model/FormHost.h"
#include "ui/model/ProgramForm.h"

#include "Fakes.h"

namespace vantrel::widgets::test {

// Message boxes answered from a queue, OK when it runs dry (shared with the form-model tests).
using ScriptedDialogs = ui::test::ScriptedDialogs;

class RecordingHost : public ui::FormHost {
public:
    std::vector<ui::PointsEditorRequest> editorRequests;
    ui::PointsEditorResult editorResult{false, {}, {}};
    ui::PointsEditorResult OpenPointsEditor(const ui::PointsEditorRequest& request) override {
        editorRequests.push_back(request);
        return editorResult;
    }
    void OpenTripsForm(const ui::TripsFormRequest&) override {}
    void RunMeasurement() override {}
    void RunProgramming(const ui::InputEncoding&) override {}
    void StopMeasurement() override {}
};

struct FormFixture {
    device::WorkingState state;
    device::ConfigRecord record;
    RecordingHost host;
    ScriptedDialogs dialogs;
    ui::ProgramForm form{state, record, host, dialogs};

    explicit FormFixture(int family = 4, int model = 10, int languageOffset = 0) {
        state.SetLanguageOffset(languageOffset);
        state.SetLanguageIndex(languageOffset == 0 ? 0 : 1);
        form.Load({family, model, 0, 0});
        state.ConfigChanged = false;
    }
};

// The linearisation preview of a thermocouple (input code 1 K, 3 S, ...) from 0 to top °C on
// a 4..20 mA output.
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

}  // namespace vantrel::widgets::test
