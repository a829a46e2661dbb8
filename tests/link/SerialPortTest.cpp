// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The serial-port transport on an in-process pseudo-terminal: its receive buffer, a port
// that goes away, and the threads that may drive ports.
#include <gtest/gtest.h>

#include <QString>
#include <QtGlobal>

#include <fcntl.h>
#include <mutex>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "link/QtSerialTransport.h"

namespace vantrel::link {
namespace {

// A pseudo-terminal pair: the test writes on the master, the transport opens the slave's path.
struct Pty {
    int master = -1;
    std::string path;
    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
        path = ::ptsname(master);
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~Pty() { Close(); }
    void Close() {
        if (master >= 0) ::close(master);
        master = -1;
    }
};

std::mutex g_messagesMutex;
std::string g_messages;

void Collect(QtMsgType, const QMessageLogContext&, const QString& text) {
    const std::lock_guard<std::mutex> lock(g_messagesMutex);
    g_messages += text.toStdString() + "\n";
}

struct SerialPort : ::testing::Test {
    Pty pty;
    QtSerialTransport port;
    void SetUp() override {
        ASSERT_FALSE(pty.path.empty());
        ASSERT_TRUE(port.open(pty.path, {}).ok());
    }
};

TEST_F(SerialPort, MoreThanTheReceiveBufferArrives_TheNewestBytesAreKept) {
    std::string sent;
    for (int i = 0; i < 3 * static_cast<int>(kReceiveBufferSize); ++i) sent += static_cast<char>('A' + i % 23);
    sent += '#';  // the last byte, and only it
    std::size_t written = 0;
    for (int pass = 0; written < sent.size() && pass < 10000; ++pass) {
        const ssize_t n = ::write(pty.master, sent.data() + written, sent.size() - written);
        if (n > 0) written += static_cast<std::size_t>(n);
        EXPECT_LE(port.bytesAvailable(), kReceiveBufferSize);  // unread, the buffer never grows past it
        ::usleep(200);
    }
    ASSERT_EQ(written, sent.size());
    // Read until the last byte sent is in (a second at most).
    std::string received;
    for (int pass = 0; pass < 1000 && (received.empty() || received.back() != sent.back()); ++pass) {
        ::usleep(1000);
        AppendBounded(received, port.readAll());
    }
    EXPECT_EQ(received, sent.substr(sent.size() - kReceiveBufferSize));
}

// A port another transport holds is in use, a path that is no port does not exist; a
// transport that failed to open writes and reads nothing.
TEST_F(SerialPort, BusyAndMissingPortsAreToldApart) {
    QtSerialTransport second;
    EXPECT_EQ(second.open(pty.path, {}).error, OpenError::PortInUse);
    const OpenResult missing = second.open("/nonexistent/ttyNOPE", {});
    EXPECT_EQ(missing.error, OpenError::NoSuchPort) << missing.detail;
    EXPECT_FALSE(second.isOpen());
    EXPECT_FALSE(second.write("SM\r"));
    EXPECT_EQ(second.readAll(), "");
}

TEST_F(SerialPort, TheOtherSideGoes_ThePortHasVanishedAtOnce) {
    EXPECT_FALSE(port.vanished());
    pty.Close();  // as an unplugged adapter: the system hangs the line up
    EXPECT_EQ(port.bytesAvailable(), 0u);
    EXPECT_TRUE(port.vanished());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write("SM\r"));
    port.close();
    EXPECT_FALSE(port.vanished());
}

TEST_F(SerialPort, PortThreads_DrivePortsWithoutQtComplaining) {
    port.close();
    Pty second;
    const auto drive = [](const std::string& path) {
        QtSerialTransport line;
        EXPECT_TRUE(line.open(path, {}).ok());
        EXPECT_TRUE(line.write("SM\r"));
        line.readAll();
    };
    const QtMessageHandler previous = qInstallMessageHandler(Collect);
    RunOnPortThreads({[&] { drive(pty.path); }, [&] { drive(second.path); }});
    const std::string onPortThreads = g_messages;
    std::thread plain([&] { drive(pty.path); });
    plain.join();
    qInstallMessageHandler(previous);
    EXPECT_EQ(onPortThreads, "");
    EXPECT_NE(g_messages.find("QSocketNotifier"), std::string::npos);  // what a plain thread gets
}

}  // namespace
}  // namespace vantrel::link
