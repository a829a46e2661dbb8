// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "sim/Transmitter.h"

namespace vantrel::sim {

// Serves a simulated transmitter on a pseudo-terminal in raw mode. The server keeps the
// terminal's own side open too, so a program may open and close the path as often as it
// likes. Pulling the cable (a fault) closes the line: the program's reads and writes then
// fail as on an unplugged adapter. When the cable goes back in, a new pseudo-terminal takes
// over; with a link (a fixed path pointing at the current terminal) the program finds the
// port again under the same name, as it would a replugged adapter.
class PtyServer {
public:
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Empty and an error text when no pseudo-terminal can be had.
    static std::unique_ptr<PtyServer> Open(std::string& error);

    // The path a program opens as its serial port: the link when there is one.
    const std::string& path() const { return m_link.empty() ? m_path : m_link; }
    // Makes `link` a symbolic link to the terminal, now and after every replug. Empty on
    // success, else the reason.
    std::string SetLink(const std::string& link);

    // Runs the line until stopFd becomes readable (a signalfd for SIGTERM/SIGINT, or a
    // pipe). Replies and frames leave at their due times; between events the server sleeps.
    // Returns an error text, empty after a normal stop.
    std::string Serve(Transmitter& transmitter, int stopFd);

private:
    PtyServer() = default;
    // A fresh terminal pair in raw mode at 9600 baud; empty on success, else the reason.
    std::string openLine();
    void closeLine();
    std::string relink();

    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
    std::string m_link;
};

}  // namespace vantrel::sim
