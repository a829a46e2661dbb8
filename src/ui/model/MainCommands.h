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
    CommandState stoppa;      // Action > Stop
    CommandState lingua;      // Options > Language
    CommandState fullscreen;  // Display measure > Full screen
    // Menus guided mode disables and leaving it enables again: f, opzioni, azioni, visual,
    // finestre, help.
    bool menusEnabled = true;

    // Toolbar: the whole bar and the keys the form addresses one by one.
    bool toolbarEnabled = true;
    CommandState toolStart;    // "start"
    CommandState toolStop;     // "stop"
    CommandState toolTxRx;     // "txrx"
    CommandState toolConnect;  // "connect"
    CommandState toolWiz{false, true};  // "Wiz": enabled once the programming window has loaded

    bool busyPictureVisible = false;
    bool progressTimerRunning = false;
    std::string caption;  // window caption after a load or save
};

}  // namespace vantrel::ui
