// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/Transport.h"

namespace vantrel::app {

// One line for the session whatever the current port is: the port named `simulatorName`
// goes to the built-in simulated transmitter, every other name to the serial ports. The
// port-selection window can so move between the simulator and a real port at run time.
class RoutingTransport final : public link::Transport {
public:
    RoutingTransport(link::Transport& serial, link::Transport* simulator, std::string simulatorName)
        : m_serial(serial), m_simulator(simulator), m_simulatorName(std::move(simulatorName)) {}

    link::OpenResult open(const std::string& port, const link::LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return m_active && m_active->isOpen(); }
    bool write(std::string_view bytes) override { return m_active && m_active->write(bytes); }
    std::string readAll() override { return m_active ? m_active->readAll() : std::string(); }
    void discardInput() override {
        if (m_active) m_active->discardInput();
    }
    std::size_t bytesAvailable() override { return m_active ? m_active->bytesAvailable() : 0; }
    bool vanished() const override { return m_active && m_active->vanished(); }

private:
    link::Transport& m_serial;
    link::Transport* m_simulator;
    std::string m_simulatorName;
    link::Transport* m_active = nullptr;
};

}  // namespace vantrel::app
