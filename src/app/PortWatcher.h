// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "link/PortTable.h"

class QTimer;

// The serial ports the system lists, without opening any of them: opening a port toggles its
// control lines, which disturbs whatever device hangs on it. Numbered 1..16 as the port table
// always was, described in the system's words and, for USB adapters, by their stable
// /dev/serial/by-id name; watched while the program runs, so adapters plugged in or out show.
namespace vantrel::app {

// One port as listed: what the system says, and its /dev/serial/by-id link when there is one.
struct ListedPort {
    link::SystemPortInfo info;
    std::string byIdPath;  // "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10KX3ZQ-if00-port0"
    friend bool operator==(const ListedPort& a, const ListedPort& b) {
        return a.info.name == b.info.name && a.byIdPath == b.byIdPath;
    }
};

using PortLister = std::function<std::vector<ListedPort>()>;

// The device each link of a /dev/serial/by-id style folder points to: device path -> link.
std::map<std::string, std::string> StableNames(const std::filesystem::path& folder = "/dev/serial/by-id");

// The system's ports (QSerialPortInfo) with their stable names.
std::vector<ListedPort> SystemPorts();

// The port table of the listed ports without opening any: ports 1..16 in natural name order;
// the current one is the port remembered by its path (device or by-id path) when it is
// listed, else the saved port number when that names a listed port, else the first one.
// `anyOpened` says whether any port is listed at all.
link::PortTable ListedPortTable(const std::vector<ListedPort>& ports, const std::string& rememberedPath,
                                int savedPort);

// The path to remember for a port: its by-id link when it has one (it survives replugging
// into another socket), else its device path.
std::string RememberedPath(const std::vector<ListedPort>& ports, const std::string& deviceName);

// Polls the system's list every `intervalMs` and says when it changed.
class PortWatcher : public QObject {
    Q_OBJECT
public:
    PortWatcher(PortLister lister, int intervalMs, QObject* parent = nullptr);

    const std::vector<ListedPort>& ports() const { return m_ports; }
    // Lists the ports again; true (and `changed` emitted) when the list differs.
    bool Poll();

signals:
    void changed();

private:
    PortLister m_lister;
    std::vector<ListedPort> m_ports;
    QTimer* m_timer = nullptr;
};

}  // namespace vantrel::app
