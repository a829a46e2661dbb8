// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Child processes for the end-to-end tests and benchmarks: vantrel-sim serving a
// pseudo-terminal, and vantrel-cli runs with their output and exit code. Every wait is
// bounded: a child that outlives its allowance is killed and reported.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace vantrel::test {

// Starts args[0] with its stdout (and stderr, when errFd is given) on the write ends of the
// pipes; returns the child's id, the read ends in outFd and errFd.
inline pid_t Spawn(std::vector<std::string> args, int& outFd, int* errFd = nullptr) {
    int out[2], err[2] = {-1, -1};
    if (::pipe(out) != 0 || (errFd && ::pipe(err) != 0)) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        if (errFd) ::dup2(err[1], STDERR_FILENO);
        for (int fd : {out[0], out[1], err[0], err[1]})
            if (fd >= 0) ::close(fd);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    outFd = out[0];
    if (errFd) {
        ::close(err[1]);
        *errFd = err[0];
    }
    return pid;
}

struct ProcessResult {
    int exitCode = -1;  // -1: killed after the time allowance, or did not start
    std::string out;
    std::string err;
};

// Runs a program to its end (at most timeoutSeconds), collecting stdout and stderr.
inline ProcessResult RunProcess(std::vector<std::string> args, double timeoutSeconds) {
    ProcessResult result;
    int fds[2] = {-1, -1};
    const pid_t pid = Spawn(std::move(args), fds[0], &fds[1]);
    if (pid < 0) return result;
    std::string* texts[2] = {&result.out, &result.err};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    bool killed = false;
    pollfd polled[2] = {{fds[0], POLLIN, 0}, {fds[1], POLLIN, 0}};
    while (polled[0].fd >= 0 || polled[1].fd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(pid, SIGKILL);
            killed = true;
            break;
        }
        if (::poll(polled, 2, static_cast<int>(left.count())) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (polled[i].fd < 0 || !(polled[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            const ssize_t n = ::read(polled[i].fd, buffer, sizeof buffer);
            if (n > 0) texts[i]->append(buffer, static_cast<std::size_t>(n));
            else polled[i].fd = -1;  // end of file
        }
    }
    ::close(fds[0]);
    ::close(fds[1]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!killed && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

// A running vantrel-sim. The pseudo-terminal's path is its first line of output.
class SimProcess {
public:
    // link: when not empty, the port is served under this fixed path (vantrel-sim --link).
    SimProcess(const std::string& program, const std::string& profile, const std::string& dump, const std::string& log,
               const std::string& link = "") {
        std::vector<std::string> args = {program, "--profile", profile, "--dump", dump};
        if (!log.empty()) args.insert(args.end(), {"--log", log});
        if (!link.empty()) args.insert(args.end(), {"--link", link});
        int out = -1;
        m_pid = Spawn(std::move(args), out);
        if (m_pid < 0) return;
        m_out = ::fdopen(out, "r");
        char line[256] = {};
        if (m_out && std::fgets(line, sizeof line, m_out)) {
            m_path = line;
            while (!m_path.empty() && (m_path.back() == '\n' || m_path.back() == '\r')) m_path.pop_back();
        }
    }
    ~SimProcess() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out) std::fclose(m_out);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& path() const { return m_path; }
    pid_t pid() const { return m_pid; }

    // SIGTERM, then the exit code (the memory dump is written by then); -1 if it had to be killed.
    int Stop(double timeoutSeconds = 10) {
        if (m_pid <= 0) return -1;
        ::kill(m_pid, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
        int status = 0;
        while (::waitpid(m_pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, &status, 0);
                m_pid = -1;
                return -1;
            }
            ::usleep(10000);
        }
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    std::FILE* m_out = nullptr;
    std::string m_path;
};

}  // namespace vantrel::test
