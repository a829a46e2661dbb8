// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Child processes for the end-to-end tests and benchmarks: vantrel-sim serving a
// pseudo-terminal, and vantrel-cli runs with their output and exit code. Every wait is
// bounded: a child that outlives its allowance is killed and reported.
#include <QProcess>
#include <QStringList>

#include <string>
#include <vector>

namespace vantrel::test {

// Starts args[0] with the other arguments.
inline void Start(QProcess& process, const std::vector<std::string>& args) {
    QStringList arguments;
    for (std::size_t i = 1; i < args.size(); ++i) arguments << QString::fromStdString(args[i]);
    process.start(QString::fromStdString(args.at(0)), arguments);
}

struct ProcessResult {
    int exitCode = -1;  // -1: killed after the time allowance, or did not start
    std::string out;
    std::string err;
};

// Runs a program to its end (at most timeoutSeconds), collecting stdout and stderr.
inline ProcessResult RunProcess(const std::vector<std::string>& args, double timeoutSeconds) {
    QProcess process;
    Start(process, args);
    ProcessResult result;
    if (!process.waitForFinished(static_cast<int>(timeoutSeconds * 1000))) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        result.exitCode = process.exitCode();
    }
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
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
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        Start(m_process, args);
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        m_path = m_process.readLine().trimmed().toStdString();
    }
    ~SimProcess() {
        m_process.kill();
        m_process.waitForFinished();
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& path() const { return m_path; }

    // SIGTERM, then the exit code (the memory dump is written by then); -1 if it had to be killed.
    int Stop(double timeoutSeconds = 10) {
        if (m_process.state() == QProcess::NotRunning) return -1;
        m_process.terminate();
        if (!m_process.waitForFinished(static_cast<int>(timeoutSeconds * 1000))) {
            m_process.kill();
            m_process.waitForFinished();
            return -1;
        }
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
    std::string m_path;
};

}  // namespace vantrel::test
