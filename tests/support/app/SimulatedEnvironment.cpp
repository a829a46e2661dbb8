// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SimulatedEnvironment.h"

#include "app/AppOptions.h"
#include "app/MainWindow.h"
#include "sim/DefaultProfile.h"

namespace vantrel::app {

namespace {

sim::Transmitter MakeTransmitter(const SimulatedSetup& setup) {
    const sim::Profile profile = setup.profile ? *setup.profile : sim::MakeDefaultProfile();
    sim::Transmitter transmitter(profile.identity, profile.memory);
    transmitter.setInput(profile.input);
    transmitter.faults() = profile.faults;
    if (!setup.transmitterAnswers) transmitter.faults().noReply = true;
    return transmitter;
}

}  // namespace

SimulatedEnvironment::SimulatedEnvironment(SimulatedSetup setup)
    : m_transmitter(MakeTransmitter(setup)),
      m_clock(setup.realClock ? static_cast<link::Clock&>(m_realClock) : m_virtualClock),
      m_simulatorLine(m_transmitter, m_clock),
      m_line(m_serial, &m_simulatorLine, kSimulatorPortName),
      m_dialogs(setup.fallbackAnswer),
      m_preferences(setup.appFolder / "vantrel.conf") {
    m_services.transport = &m_line;
    m_services.clock = &m_clock;
    m_services.dialogs = &m_dialogs;
    m_services.fileDialogs = &m_fileDialogs;
    m_services.fileStore = &m_store;
    m_services.installEventPump = [this](link::EventPump pump) { m_clock.setEventPump(std::move(pump)); };
    m_services.places = files::SettingsPlaces{setup.appFolder, {}};
    m_services.preferences = &m_preferences;
    m_services.listPorts = [this] { return m_systemPorts; };
    if (setup.simulatorAsPort) {
        m_services.simulatorPort = kSimulatorPortName;
        m_services.initialPort = kSimulatorPortName;
    }
    m_services.helpFolders = {setup.appFolder};
    m_services.openDocument = [this](const QString& path) {
        m_opened.push_back(path);
        return true;
    };
    m_services.beep = [this] { ++m_beeps; };
    m_services.timings = AppTimings{0, 0, 300, 500, 0};
    if (setup.historyFile) {
        history::Connection connection;
        connection.file = *setup.historyFile;
        m_services.history = history::RecorderSettings{connection, setup.historyFile->string() + ".spool.jsonl", {}};
        m_services.historyConnection = setup.historyFile->string();
    }
}

SimulatedEnvironment::~SimulatedEnvironment() { m_clock.setEventPump({}); }

std::unique_ptr<MainWindow> SimulatedEnvironment::MakeMainWindow() {
    device::WorkingState startState;
    const session::StartupResult startup = session::StartUp(m_services.places, startState);
    return std::make_unique<MainWindow>(m_services, startup, startState);
}

}  // namespace vantrel::app
