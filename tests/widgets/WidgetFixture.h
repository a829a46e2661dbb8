#pragma once

// A programming form for widget tests and screenshots: scripted message boxes (OK when the
// queue runs dry) and a host that records what the form opened.
#include <QApplication>

#include <deque>
#include <vector>

#include "device/ConfigRecord.h"
#include "device/WorkingState.h"
#include "link/Dialogs.h"
#include "ui/model/FormHost.h"
#include "ui/model/ProgramForm.h"

namespace vantrel::widgets::test {

class ScriptedDialogs : public link::Dialogs {
public:
    std::deque<link::Answer> answers;
    std::vector<link::Message> shown;
    // What had the focus when each message was shown, and which widget has it afterwards.
    link::Answer Show(const link::Message& message) override {
        shown.push_back(message);
        if (answers.empty()) return link::Answer::Ok;
        const link::Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

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
        state.LanguageOffset = languageOffset;
        state.LanguageIndex = languageOffset == 0 ? 0 : 1;
        form.Load({family, model, 0, 0});
        state.ConfigChanged = false;
    }
};

}  // namespace vantrel::widgets::test
