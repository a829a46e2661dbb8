// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "Fakes.h"
#include "app/AppServices.h"
#include "app/EventPump.h"
#include "app/Preferences.h"
#include "app/RoutingTransport.h"
#include "device/WorkingState.h"
#include "link/Clock.h"
#include "link/ScriptedDialogs.h"
#include "link/ScriptedTransport.h"
#include "session/Startup.h"
#include "sim/Profile.h"
#include "sim/SimTransport.h"
#include "sim/Transmitter.h"

namespace vantrel::app {

class MainWindow;

struct SimulatedSetup {
    std::filesystem::path appFolder;          // settings and new names; must exist
    std::optional<sim::Profile> profile;      // the default transmitter when empty
    bool transmitterAnswers = true;           // false: nothing answers on the line
    bool realClock = false;                   // true: the line's pauses take their real time
    // false: a machine without any serial port (the simulator is not offered either); the
    // test lists ports through systemPorts(), the simulator under its port name.
    bool simulatorAsPort = true;
    link::Answer fallbackAnswer = link::Answer::Cancel;
    // An SQLite file the history goes to (its spool beside it); no history when empty.
    std::optional<std::filesystem::path> historyFile;
};

// The main window's world without hardware or a person: the in-process simulated
// transmitter on the virtual clock (a whole load takes milliseconds), scripted message-box
// answers, queued file names, no serial ports, and the windows' timers shortened to nothing.
// The GUI tests and the screenshot tool start the program through it.
class SimulatedEnvironment {
public:
    explicit SimulatedEnvironment(SimulatedSetup setup);
    ~SimulatedEnvironment();
    SimulatedEnvironment(const SimulatedEnvironment&) = delete;
    SimulatedEnvironment& operator=(const SimulatedEnvironment&) = delete;

    // Start-up as the program runs it (settings, language, new name), then the main window
    // over the simulator as the current port.
    std::unique_ptr<MainWindow> MakeMainWindow();

    sim::Transmitter& transmitter() { return m_transmitter; }
    link::VirtualClock& virtualClock() { return m_virtualClock; }
    link::ScriptedDialogs& dialogs() { return m_dialogs; }
    ui::test::ScriptedFileDialogs& fileDialogs() { return m_fileDialogs; }
    Preferences& preferences() { return m_preferences; }
    // What the system lists as serial ports (nothing at first); the main window's port
    // watcher reads it when polled.
    std::vector<ListedPort>& systemPorts() { return m_systemPorts; }
    AppServices& services() { return m_services; }
    const files::SettingsPlaces& places() const { return m_services.places; }
    std::vector<QString>& openedDocuments() { return m_opened; }
    int beeps() const { return m_beeps; }

private:
    sim::Transmitter m_transmitter;
    link::VirtualClock m_virtualClock;
    link::RealClock m_realClock;
    PumpingClock m_clock;
    sim::SimTransport m_simulatorLine;
    link::ScriptedTransport m_serial;
    RoutingTransport m_line;
    link::ScriptedDialogs m_dialogs;
    ui::test::ScriptedFileDialogs m_fileDialogs;
    ui::DiskProgramFileStore m_store;
    Preferences m_preferences;
    std::vector<ListedPort> m_systemPorts;
    AppServices m_services;
    std::vector<QString> m_opened;
    int m_beeps = 0;
};

}  // namespace vantrel::app
