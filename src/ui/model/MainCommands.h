// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vantrel::ui {

struct CommandState {
    bool enabled = true;
    bool visible = true;
    friend bool operator==(const CommandState&, const CommandState&) = default;
};

// The main window's menus and toolbar keys that the programming form switches on and off,
// plus the main-window bits the form's operations touch. The main window binds to it.
struct MainCommands {
    // Menu items.
    CommandState start;       // Action > Start
    CommandState stop;        // Action > Stop
    CommandState language;    // Options > Language
    CommandState fullscreen;  // Display measure > Full screen
    // The menus guided mode disables and leaving it enables again: File, Options, Action,
    // Display measure, Windows, Help.
    bool menusEnabled = true;

    // Toolbar: the whole bar and the keys the form addresses one by one.
    bool toolbarEnabled = true;
    CommandState toolStart;    // "start"
    CommandState toolStop;     // "stop"
    CommandState toolDisplay;  // "txrx": the enlarged display
    CommandState toolConnect;  // "connect"
    CommandState toolGuide{false, true};  // "Wiz": guided mode, enabled once the programming window has loaded

    bool busyPictureVisible = false;
    bool progressTimerRunning = false;
    std::string caption;  // window caption after a load or save
};

}  // namespace vantrel::ui
