// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimTransport.h"

#include <utility>

namespace vantrel::sim {

// The line behaves as a USB adapter on the transmitter's side of the cable: while the cable
// is out the port is gone (the system says so at once), and a port that was open when it
// went stays unusable until it is closed and opened again.
link::OpenResult SimTransport::open(const std::string& /*port*/, const link::LineSettings& /*settings*/) {
    if (m_open) return {};
    m_vanished = false;
    m_transmitter.outputReady(m_clock.now());  // a replug that is due happens now
    if (m_transmitter.lineClosed()) return {link::OpenError::NoSuchPort, "the adapter is unplugged"};
    m_open = true;
    m_received.clear();
    m_transmitter.takeOutput(m_clock.now());  // what went out while the port was closed is lost
    return {};
}

void SimTransport::close() {
    m_open = false;
    m_vanished = false;
}

void SimTransport::collect() {
    if (!m_open) return;
    link::AppendBounded(m_received, m_transmitter.takeOutput(m_clock.now()));
    if (m_transmitter.lineClosed()) {
        m_open = false;
        m_vanished = true;
        m_received.clear();
    }
}

bool SimTransport::write(std::string_view bytes) {
    collect();
    if (!m_open) return false;
    m_transmitter.receive(bytes, m_clock.now());
    return true;
}

std::string SimTransport::readAll() {
    collect();
    return std::exchange(m_received, {});
}

void SimTransport::discardInput() {
    collect();
    m_received.clear();
}

std::size_t SimTransport::bytesAvailable() {
    collect();
    return m_received.size();
}

}  // namespace vantrel::sim
