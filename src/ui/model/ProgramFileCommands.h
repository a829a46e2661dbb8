// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "device/ConfigRecord.h"
#include "device/WorkingState.h"
#include "files/ProgramFile.h"
#include "link/Dialogs.h"

namespace vantrel::ui {

class ProgramForm;

// What a file dialog is asked for; texts already in the current language.
struct FileDialogRequest {
    std::string title;
    std::string filter;        // "description(*.D70)|*.D70| ..." pairs
    int options = 0;           // 1024 open; 2 ask before replacing an existing file
    std::string fileName;      // preset name (empty)
    std::string defaultExtension = ".D70*.*";
    std::filesystem::path initialFolder;  // the application's folder
};

// The open and save dialogs: the GUI shows Qt's, tests script them. Empty means cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::string OpenFileName(const FileDialogRequest& request) = 0;
    virtual std::string SaveFileName(const FileDialogRequest& request) = 0;
};

// Where records are read and written; the disk by default, memory in tests.
class ProgramFileStore {
public:
    virtual ~ProgramFileStore() = default;
    virtual files::ReadResult Read(const std::filesystem::path& path) = 0;
    virtual files::WriteResult Write(const std::filesystem::path& path, const device::ConfigRecord& record) = 0;
};

// The programming files on disk (files/ProgramFile).
class DiskProgramFileStore : public ProgramFileStore {
public:
    files::ReadResult Read(const std::filesystem::path& path) override;
    files::WriteResult Write(const std::filesystem::path& path, const device::ConfigRecord& record) override;
};

// The part of a path after its last separator ('\' or '/'); the whole path when there is
// none after the first character.
std::string FileTitle(const std::string& path);

// Open, Save, Save As and the question about unsaved changes, over the programming form,
// the working state and the configuration record. The window caption lands in the form's
// commands().caption.
class ProgramFileCommands {
public:
    ProgramFileCommands(ProgramForm& form, FileDialogs& fileDialogs, ProgramFileStore& store,
                        std::filesystem::path applicationFolder = {});

    // Loads a file the user chooses; a damaged or unreadable file shows text 174, the path
    // and the reason, and changes nothing. Returns true when a file was loaded.
    bool Open();
    // Open without the dialog (a recent file, a dropped file, the command line).
    bool OpenPath(const std::string& name);
    // True when nothing edited would be lost, or the user saved or discarded it when asked
    // (Save / Discard / Cancel); false on Cancel or a save that did not happen.
    bool MayReplaceConfiguration();
    // True when the file was written; false when the name dialog was cancelled, a range box
    // holds no number a file can keep (text 169), or the file could not be written (text
    // 2047, the path and the system's reason). A save written in place says so.
    bool Save();
    bool SaveAs();
    // The answers of AskSaveChanges, numbered as the message box's buttons.
    static constexpr int kNothingToAsk = 0;
    static constexpr int kSaved = 6;
    static constexpr int kDiscarded = 7;
    static constexpr int kCancelled = 2;
    // kNothingToAsk, kSaved, kDiscarded, or kCancelled (also Yes whose save did not happen).
    int AskSaveChanges();

    // The record as Save fills it from the form and the working state.
    void FillRecord();
    // Pushes a record into the form and the working state, as Open does after reading.
    void PushRecord(const device::ConfigRecord& record);
    // False when the record holds list positions the identified transmitter does not offer.
    bool FitsLists(const device::ConfigRecord& record) const;
    std::string WindowCaption() const;

private:
    bool Load(const std::string& name);
    void ShowInvalidFile();
    void ShowFileMessage(int headingId, const std::string& path, const std::string& reason, link::Icon icon);
    // The most points this model's editor takes, when the record's custom curve holds more.
    std::optional<int> CurveCountProblem(const device::ConfigRecord& record) const;
    // Text 169 naming the first range box whose text a file cannot keep; false when there is one.
    bool RangeTextsStorable();
    void SetCaption();
    FileDialogRequest DialogRequest(int titleId, const char* firstFilter, int options) const;

    ProgramForm& form_;
    FileDialogs& fileDialogs_;
    ProgramFileStore& store_;
    std::filesystem::path applicationFolder_;
};

// After a read from the transmitter the configuration is a new, unsaved one: the window no
// longer names the file opened before, and Save asks for a name.
void StartUnsavedConfiguration(device::WorkingState& state);

}  // namespace vantrel::ui
