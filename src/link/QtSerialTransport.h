// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/PortTable.h"
#include "link/Transport.h"

namespace vantrel::link {

// A real serial port (or a pseudo-terminal) through QSerialPort. Works without a running
// event loop: every read first collects what the system has received. The process needs a
// QCoreApplication (or QApplication) object while a port is open, and a port belongs to a
// thread started by Qt (the main thread or a QThread: see RunOnPortThreads).
class QtSerialTransport final : public Transport {
public:
    QtSerialTransport();
    ~QtSerialTransport() override;
    QtSerialTransport(const QtSerialTransport&) = delete;
    QtSerialTransport& operator=(const QtSerialTransport&) = delete;

    OpenResult open(const std::string& port, const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    bool write(std::string_view bytes) override;
    std::string readAll() override;
    void discardInput() override;
    std::size_t bytesAvailable() override;
    bool vanished() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Runs every job on a thread of its own that can drive serial ports (a QThread, which has
// the event dispatcher a port's notifiers need) and returns when all have ended.
void RunOnPortThreads(const std::vector<std::function<void()>>& jobs);

// The serial ports the system lists, in natural name order: device paths ("/dev/ttyS0")
// on Unix, "COMn" names on Windows.
std::vector<std::string> ListSystemPorts();

// The same ports with what the system knows about each (description, manufacturer, USB ids).
std::vector<SystemPortInfo> ListSystemPortInfos();

}  // namespace vantrel::link
