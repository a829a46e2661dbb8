#pragma once

#include <memory>
#include <string>

#include "sim/Transmitter.h"

namespace vantrel::sim {

// Serves a simulated transmitter on a pseudo-terminal in raw mode. The server keeps the
// terminal's own side open too, so a program may open and close the path as often as it
// likes. Pulling the cable (a fault) closes the line for good: the program's reads and
// writes then fail as on an unplugged adapter.
class PtyServer {
public:
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Empty and an error text when no pseudo-terminal can be had.
    static std::unique_ptr<PtyServer> Open(std::string& error);

    // The path a program opens as its serial port.
    const std::string& path() const { return m_path; }

    // Runs the line until stopFd becomes readable (a signalfd for SIGTERM/SIGINT, or a
    // pipe). Replies and frames leave at their due times; between events the server sleeps.
    // Returns an error text, empty after a normal stop.
    std::string Serve(Transmitter& transmitter, int stopFd);

private:
    PtyServer() = default;
    void closeLine();

    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};

}  // namespace vantrel::sim
