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

inline std::vector<char*> Argv(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

// Reads what is ready on fd into text; false at end of file.
inline bool Drain(int fd, std::string& text) {
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) return false;
    text.append(buffer, static_cast<std::size_t>(n));
    return true;
}

struct ProcessResult {
    int exitCode = -1;  // -1: killed after the time allowance, or did not start
    std::string out;
    std::string err;
};

// Runs a program to its end (at most timeoutSeconds), collecting stdout and stderr.
inline ProcessResult RunProcess(std::vector<std::string> args, double timeoutSeconds) {
    ProcessResult result;
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) return result;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        ::close(out[0]);
        ::close(err[0]);
        ::close(out[1]);
        ::close(err[1]);
        std::vector<char*> argv = Argv(args);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    bool outOpen = true, errOpen = true, killed = false;
    while (outOpen || errOpen) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(pid, SIGKILL);
            killed = true;
            break;
        }
        pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        if (::poll(fds, 2, static_cast<int>(left.count())) <= 0) continue;
        if (outOpen && (fds[0].revents & (POLLIN | POLLHUP))) outOpen = Drain(out[0], result.out);
        if (errOpen && (fds[1].revents & (POLLIN | POLLHUP))) errOpen = Drain(err[0], result.err);
        if (!outOpen) fds[0].fd = -1;
        if (!errOpen) fds[1].fd = -1;
    }
    ::close(out[0]);
    ::close(err[0]);
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
        int out[2];
        if (::pipe(out) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<std::string> args = {program, "--profile", profile, "--dump", dump};
            if (!log.empty()) {
                args.push_back("--log");
                args.push_back(log);
            }
            if (!link.empty()) {
                args.push_back("--link");
                args.push_back(link);
            }
            std::vector<char*> argv = Argv(args);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        m_out = ::fdopen(out[0], "r");
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
