// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RoutingTransport.h"

namespace vantrel::app {

link::OpenResult RoutingTransport::open(const std::string& port, const link::LineSettings& settings) {
    link::Transport* wanted = (m_simulator && port == m_simulatorName) ? m_simulator : &m_serial;
    // Opening an open line does nothing, as long as it is the line asked for.
    if (m_active && m_active->isOpen() && m_active != wanted) m_active->close();
    if (!m_simulator && port == m_simulatorName) return {link::OpenError::NoSuchPort, "no simulated transmitter"};
    m_active = wanted;
    return m_active->open(port, settings);
}

void RoutingTransport::close() {
    if (m_active) m_active->close();
}

}  // namespace vantrel::app
