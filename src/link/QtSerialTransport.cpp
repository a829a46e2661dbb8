// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/QtSerialTransport.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <QThread>

#include <memory>

#ifndef _WIN32
#include <poll.h>
#endif

#ifndef _WIN32
#include <unistd.h>

#include <cerrno>
#endif

#include "link/PortTable.h"

namespace vantrel::link {

namespace {

// A command frame is a handful of bytes; if the line cannot take them within this time
// something is wrong with it.
constexpr int kWriteTimeoutMs = 200;

QSerialPort::Parity ToQtParity(char parity) {
    switch (parity) {
        case 'E': return QSerialPort::EvenParity;
        case 'O': return QSerialPort::OddParity;
        default: return QSerialPort::NoParity;
    }
}

// A device node the user may not read and write (on Linux: not in the "dialout" group) is a
// matter of permissions, not of another program holding the port.
bool AccessDenied([[maybe_unused]] const std::string& portName) {
#ifdef _WIN32
    return false;
#else
    return ::access(portName.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
#endif
}

OpenError Classify(QSerialPort::SerialPortError error, const std::string& portName) {
    if (error == QSerialPort::PermissionError && AccessDenied(portName)) return OpenError::NoPermission;
    switch (error) {
        case QSerialPort::NoError: return OpenError::None;
        case QSerialPort::DeviceNotFoundError: return OpenError::NoSuchPort;
        // A port held by another program shows up as a permission error (lock file,
        // exclusive mode, access denied on Windows).
        case QSerialPort::PermissionError: return OpenError::PortInUse;
        default: return OpenError::Other;
    }
}

// A descriptor whose device went away reports a hang-up (an unplugged USB adapter, a
// pseudo-terminal whose other side closed): reads then return nothing and writes fail.
bool HungUp([[maybe_unused]] QSerialPort& port) {
#ifdef _WIN32
    return false;
#else
    pollfd descriptor{port.handle(), POLLIN, 0};
    if (::poll(&descriptor, 1, 0) < 0) return false;
    return (descriptor.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#endif
}

}  // namespace

struct QtSerialTransport::Impl {
    QSerialPort port;
    bool vanished = false;

    // Moves what the system has received into the port's buffer without waiting; beyond the
    // receive buffer's size the oldest bytes go.
    void collect() {
        if (!port.isOpen()) return;
        port.waitForReadyRead(0);
        dropIfLineLost();
        if (!port.isOpen()) return;
        const qint64 excess = port.bytesAvailable() - static_cast<qint64>(kReceiveBufferSize);
        if (excess > 0) port.skip(excess);
    }
    // The system reports the device gone: the handle never works again, so it is closed and
    // the loss remembered until the port is opened afresh.
    void dropIfLineLost() {
        if (!port.isOpen()) return;
        if (port.error() == QSerialPort::ResourceError || HungUp(port)) {
            vanished = true;
            port.close();
        }
    }
};

QtSerialTransport::QtSerialTransport() : m_impl(std::make_unique<Impl>()) {}

QtSerialTransport::~QtSerialTransport() { close(); }

OpenResult QtSerialTransport::open(const std::string& portName, const LineSettings& settings) {
    QSerialPort& port = m_impl->port;
    if (port.isOpen()) return {};
    m_impl->vanished = false;
    port.setPortName(QString::fromStdString(portName));
    port.setReadBufferSize(0);
    if (!port.open(QIODevice::ReadWrite)) {
        OpenResult result{Classify(port.error(), portName), port.errorString().toStdString()};
        if (result.error == OpenError::None) result.error = OpenError::Other;
        port.clearError();
        return result;
    }
    const bool configured = port.setBaudRate(settings.baudRate) &&
                            port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
                            port.setParity(ToQtParity(settings.parity)) &&
                            port.setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
                            port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        OpenResult result{OpenError::Other, port.errorString().toStdString()};
        port.close();
        port.clearError();
        return result;
    }
    return {};
}

void QtSerialTransport::close() {
    if (m_impl->port.isOpen()) m_impl->port.close();
    m_impl->port.clearError();
    m_impl->vanished = false;
}

bool QtSerialTransport::isOpen() const { return m_impl->port.isOpen(); }

bool QtSerialTransport::vanished() const { return m_impl->vanished; }

bool QtSerialTransport::write(std::string_view bytes) {
    QSerialPort& port = m_impl->port;
    m_impl->dropIfLineLost();
    if (!port.isOpen()) return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (port.write(bytes.data(), size) != size) {
        m_impl->dropIfLineLost();
        return false;
    }
    while (port.bytesToWrite() > 0) {
        if (!port.waitForBytesWritten(kWriteTimeoutMs)) {
            m_impl->dropIfLineLost();
            return false;
        }
    }
    return true;
}

std::string QtSerialTransport::readAll() {
    m_impl->collect();
    if (!m_impl->port.isOpen()) return {};
    const QByteArray data = m_impl->port.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void QtSerialTransport::discardInput() {
    m_impl->collect();
    if (!m_impl->port.isOpen()) return;
    m_impl->port.readAll();
    m_impl->port.clear(QSerialPort::Input);
}

std::size_t QtSerialTransport::bytesAvailable() {
    m_impl->collect();
    if (!m_impl->port.isOpen()) return 0;
    return static_cast<std::size_t>(m_impl->port.bytesAvailable());
}

void RunOnPortThreads(const std::vector<std::function<void()>>& jobs) {
    std::vector<std::unique_ptr<QThread>> threads;
    threads.reserve(jobs.size());
    for (const std::function<void()>& job : jobs) {
        threads.emplace_back(QThread::create(job));
        threads.back()->start();
    }
    for (const std::unique_ptr<QThread>& thread : threads) thread->wait();
}

namespace {

std::string OpenedName(const QSerialPortInfo& info) {
#ifdef _WIN32
    return info.portName().toStdString();
#else
    return info.systemLocation().toStdString();
#endif
}

}  // namespace

std::vector<std::string> ListSystemPorts() {
    std::vector<std::string> names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) names.push_back(OpenedName(info));
    return SortPortNames(std::move(names));
}

std::vector<SystemPortInfo> ListSystemPortInfos() {
    std::vector<SystemPortInfo> infos;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SystemPortInfo entry;
        entry.name = OpenedName(info);
        entry.description = info.description().trimmed().toStdString();
        entry.manufacturer = info.manufacturer().trimmed().toStdString();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
            entry.usbVendor = info.vendorIdentifier();
            entry.usbProduct = info.productIdentifier();
        }
        infos.push_back(std::move(entry));
    }
    return infos;
}

}  // namespace vantrel::link
