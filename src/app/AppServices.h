// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/PortWatcher.h"
#include "files/Settings.h"
#include "history/Recorder.h"
#include "link/Clock.h"
#include "link/Dialogs.h"
#include "link/PortTable.h"
#include "link/Transport.h"
#include "ui/model/ProgramFileCommands.h"

namespace vantrel::app {

// The timers of the windows, in milliseconds. Tests shorten them to nothing; the program
// uses the values the windows have always had.
struct AppTimings {
    int splashMs = 1000;
    int dispatchMs = 100;           // operation window: from showing to starting the work
    int operationAnimationMs = 300;
    int languageAnimationMs = 500;
    int portPollMs = 2000;          // how often the system's port list is looked at; 0: never
};

class Preferences;

// Everything the main window works with and does not own. The program builds the real ones
// (serial ports or the simulator on the real clock, Qt's message boxes and file dialogs);
// tests build the main window over the in-process simulator on the virtual clock, with
// scripted answers.
struct AppServices {
    link::Transport* transport = nullptr;  // the current port's line
    link::Clock* clock = nullptr;
    link::Dialogs* dialogs = nullptr;
    ui::FileDialogs* fileDialogs = nullptr;
    ui::ProgramFileStore* fileStore = nullptr;
    // Installs the pause function that keeps the windows alive during exchanges.
    std::function<void(link::EventPump)> installEventPump;

    files::SettingsPlaces places;
    Preferences* preferences = nullptr;  // geometry, recent files, last folder, the port's path
    // The system's serial ports, listed without opening any; none when empty.
    PortLister listPorts;
    link::PortTable ports;            // the listed ports, numbered 1..16
    std::string simulatorPort;        // the simulator's port name; empty without one
    std::string initialPort;          // the current port at start; empty: no port at all
    // Where file dialogs start when no folder was used yet.
    std::filesystem::path documentsFolder;
    // Qt's own texts (standard buttons, file dialogs) in the language: 0 Italian, 1 English.
    std::function<void(int languageIndex)> setQtLanguage;

    // Where the help documents are looked for, in order.
    std::vector<std::filesystem::path> helpFolders;
    // Opens a document with the system's default handler; false when that failed.
    std::function<bool(const QString& path)> openDocument;
    std::function<void()> beep;

    AppTimings timings;

    // The history every operation is recorded in (none: nothing is recorded), the connection as
    // the user typed it in the options (empty: the local SQLite file), and how a new one is
    // kept for the next start.
    std::optional<history::RecorderSettings> history;
    std::string historyConnection;
    std::function<void(const std::string& connection)> saveHistoryConnection;
};

}  // namespace vantrel::app
