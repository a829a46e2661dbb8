// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/Clock.h"
#include "link/Transport.h"
#include "sim/Transmitter.h"

namespace vantrel::sim {

// The serial line to an in-process simulated transmitter. It reads the time from the clock
// the protocol uses: on the virtual clock a whole session runs in milliseconds, on the real
// clock with true timings. Any port name opens (the line goes to the one transmitter).
class SimTransport final : public link::Transport {
public:
    SimTransport(Transmitter& transmitter, link::Clock& clock) : m_transmitter(transmitter), m_clock(clock) {}

    link::OpenResult open(const std::string& port, const link::LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(std::string_view bytes) override;
    std::string readAll() override;
    void discardInput() override;
    std::size_t bytesAvailable() override;
    bool vanished() const override { return m_vanished; }

private:
    // Moves what has reached the line into the receive buffer.
    void collect();

    Transmitter& m_transmitter;
    link::Clock& m_clock;
    std::string m_received;
    bool m_open = false;
    bool m_vanished = false;
};

}  // namespace vantrel::sim
