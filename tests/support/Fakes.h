// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Scripted stand-ins for what the programming form talks to: message boxes answered from a
// queue (OK when it runs dry), a host that records what the form opened, file dialogs that
// return queued names, and an in-memory store of programming files.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "link/Dialogs.h"
#include "ui/model/FormHost.h"
#include "ui/model/ProgramFileCommands.h"
#include "ui/model/ProgramForm.h"

namespace vantrel::ui::test {

class ScriptedDialogs : public link::Dialogs {
public:
    std::deque<link::Answer> answers;
    std::vector<link::Message> shown;
    link::Answer Show(const link::Message& message) override {
        shown.push_back(message);
        if (answers.empty()) return link::Answer::Ok;
        const link::Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeHost : public FormHost {
public:
    PointsEditorResult editorResult{true, "0", "100"};
    std::vector<PointsEditorRequest> editorRequests;
    std::vector<TripsFormRequest> tripsRequests;
    std::vector<InputEncoding> programmed;
    int measurements = 0;
    std::function<void()> duringMeasurement;  // runs while the stream is on
    int stops = 0;
    PointsEditorResult OpenPointsEditor(const PointsEditorRequest& request) override {
        editorRequests.push_back(request);
        return editorResult;
    }
    void OpenTripsForm(const TripsFormRequest& request) override { tripsRequests.push_back(request); }
    void RunMeasurement() override {
        ++measurements;
        if (duringMeasurement) duringMeasurement();
    }
    void RunProgramming(const InputEncoding& encoding) override { programmed.push_back(encoding); }
    void StopMeasurement() override { ++stops; }
};

// File dialogs that answer from a queue of names (empty = cancelled) and keep the requests.
class ScriptedFileDialogs : public FileDialogs {
public:
    std::deque<std::string> names;
    std::vector<FileDialogRequest> opened;
    std::vector<FileDialogRequest> saved;
    std::string OpenFileName(const FileDialogRequest& request) override {
        opened.push_back(request);
        return Next();
    }
    std::string SaveFileName(const FileDialogRequest& request) override {
        saved.push_back(request);
        return Next();
    }

private:
    std::string Next() {
        if (names.empty()) return {};
        std::string name = names.front();
        names.pop_front();
        return name;
    }
};

class MemoryStore : public ProgramFileStore {
public:
    std::map<std::string, device::ConfigRecord> files;
    files::FileProblem readError;
    files::WriteResult writeResult;  // what every write reports; the record is kept when it is ok
    files::ReadResult Read(const std::filesystem::path& path) override {
        files::ReadResult result;
        const auto found = files.find(path.string());
        if (readError.error != files::FileError::None) {
            result.error = readError.error;
            result.systemError = readError.systemError;
        } else if (found == files.end()) {
            result.error = files::FileError::Missing;
        } else {
            result.record = found->second;
        }
        return result;
    }
    files::WriteResult Write(const std::filesystem::path& path, const device::ConfigRecord& record) override {
        if (writeResult.ok()) files[path.string()] = record;
        return writeResult;
    }
};

// A programming form loaded for a transmitter, Italian texts unless English is asked for.
struct FormFixture {
    device::WorkingState state;
    device::ConfigRecord record;
    FakeHost host;
    ScriptedDialogs dialogs;
    ProgramForm form{state, record, host, dialogs};

    explicit FormFixture(int family = 4, int model = 10, int languageOffset = 0) {
        state.SetLanguageOffset(languageOffset);
        state.SetLanguageIndex(languageOffset == 0 ? 0 : 1);
        form.Load({family, model, 0, 0});
        state.ConfigChanged = false;
    }
};

}  // namespace vantrel::ui::test
