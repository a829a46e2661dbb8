// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "link/Clock.h"

namespace vantrel::sim {

namespace {

// Longest sleep between looks at the line when nothing is due.
constexpr double kIdleSeconds = 0.5;
// Output that the other side does not read is dropped beyond this, as a full buffer would.
constexpr std::size_t kMaxUnsent = 4096;

std::string SystemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

PtyServer::~PtyServer() {
    closeLine();
    if (m_slave >= 0) ::close(m_slave);
    if (!m_link.empty()) ::unlink(m_link.c_str());
}

void PtyServer::closeLine() {
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
}

std::string PtyServer::openLine() {
    closeLine();
    if (m_slave >= 0) ::close(m_slave);
    m_slave = -1;
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) return SystemError("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return SystemError("grantpt/unlockpt");
    const char* name = ::ptsname(m_master);
    if (!name) return SystemError("ptsname");
    m_path = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) return SystemError("open pseudo-terminal");
    termios raw{};
    if (::tcgetattr(m_slave, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::cfsetispeed(&raw, B9600);
        ::cfsetospeed(&raw, B9600);
        ::tcsetattr(m_slave, TCSANOW, &raw);
    }
    const int flags = ::fcntl(m_master, F_GETFL);
    ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
    return {};
}

// The link is replaced in one step (a new link renamed over it), so a program never finds
// the name missing.
std::string PtyServer::relink() {
    if (m_link.empty()) return {};
    const std::string fresh = m_link + ".new";
    ::unlink(fresh.c_str());
    if (::symlink(m_path.c_str(), fresh.c_str()) != 0) return SystemError("symlink");
    if (::rename(fresh.c_str(), m_link.c_str()) != 0) return SystemError("rename link");
    return {};
}

std::string PtyServer::SetLink(const std::string& link) {
    m_link = link;
    return relink();
}

std::unique_ptr<PtyServer> PtyServer::Open(std::string& error) {
    std::unique_ptr<PtyServer> server(new PtyServer());
    error = server->openLine();
    if (!error.empty()) return nullptr;
    return server;
}

std::string PtyServer::Serve(Transmitter& transmitter, int stopFd) {
    link::RealClock clock;
    std::string unsent;
    for (;;) {
        const double now = clock.now();
        if (m_master >= 0) {
            unsent += transmitter.takeOutput(now);
            if (unsent.size() > kMaxUnsent) unsent.erase(0, unsent.size() - kMaxUnsent);
            if (!unsent.empty()) {
                const ssize_t n = ::write(m_master, unsent.data(), unsent.size());
                if (n > 0) unsent.erase(0, static_cast<std::size_t>(n));
            }
            if (transmitter.lineClosed()) closeLine();
        } else {
            transmitter.outputReady(now);  // a replug that is due happens now
            if (!transmitter.lineClosed()) {
                unsent.clear();
                std::string error = openLine();
                if (error.empty()) error = relink();
                if (!error.empty()) return error;
            }
        }

        const double next = transmitter.nextOutputTime();
        const double sleep = std::clamp(next - clock.now(), 0.0, kIdleSeconds);
        timespec timeout{};
        timeout.tv_sec = static_cast<time_t>(sleep);
        timeout.tv_nsec = static_cast<long>((sleep - std::floor(sleep)) * 1e9);

        pollfd fds[2] = {{stopFd, POLLIN, 0}, {m_master, POLLIN, 0}};
        if (m_master >= 0 && !unsent.empty()) fds[1].events |= POLLOUT;
        const nfds_t count = m_master >= 0 ? 2 : 1;
        const int ready = ::ppoll(fds, count, &timeout, nullptr);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return SystemError("poll");
        }
        if (fds[0].revents & POLLIN) return {};
        if (count == 2 && (fds[1].revents & POLLIN)) {
            char buffer[512];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0) transmitter.receive(std::string_view(buffer, static_cast<std::size_t>(n)), clock.now());
        }
    }
}

}  // namespace vantrel::sim
