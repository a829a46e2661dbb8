// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "link/PortTable.h"
#include "link/ScriptedTransport.h"

namespace vantrel::link {
namespace {

const std::vector<std::string> kWindowsList;  // names come from the number

TEST(PortTable, BusyFirstTwoPorts_ThirdBecomesCurrentUnlessASavedPortOpens) {
    ScriptedTransport line;
    line.failOpen("COM1", OpenError::PortInUse);
    line.failOpen("COM2", OpenError::PortInUse);
    for (int n = 4; n <= 16; ++n)
        if (n != 5) line.failOpen("COM" + std::to_string(n), OpenError::NoSuchPort);
    const PortTable table = ProbePorts(line, kWindowsList, 0, true);
    EXPECT_TRUE(table.anyOpened);
    EXPECT_EQ(table.currentPort, 3);
    EXPECT_TRUE(table.find(2)->busy && table.find(2)->exists);
    EXPECT_FALSE(table.find(3)->busy);
    EXPECT_TRUE(table.find(3)->selected);
    EXPECT_FALSE(table.find(4)->exists);
    EXPECT_EQ(table.entries.size(), 16u);
    EXPECT_FALSE(line.isOpen());  // every probed port is closed again
    // A saved port wins over the first free one.
    const PortTable saved = ProbePorts(line, kWindowsList, 5, true);
    EXPECT_EQ(saved.currentPort, 5);
    EXPECT_TRUE(saved.find(5)->selected);
}

TEST(PortTable, NoPortOpens_ReportsNoneAndNoCurrentPort) {
    ScriptedTransport line;
    for (int n = 1; n <= 16; ++n) line.failOpen("COM" + std::to_string(n), n % 2 ? OpenError::NoSuchPort : OpenError::PortInUse);
    const PortTable table = ProbePorts(line, kWindowsList, 5, true);
    EXPECT_FALSE(table.anyOpened);
    EXPECT_EQ(table.currentPort, 0);  // the saved port is not taken when nothing was found
}

TEST(PortTable, UnixPortsAreTheSystemListInNaturalOrder) {
    const std::vector<std::string> listed =
        SortPortNames({"/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyS2", "/dev/ttyS1", "/dev/ttyACM0"});
    const std::vector<std::string> expected{"/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0"};
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(PortNameFor(3, listed, false), "/dev/ttyS2");
    EXPECT_EQ(PortNameFor(6, listed, false) + PortNameFor(0, listed, false), "");

    ScriptedTransport line;
    const PortTable table = ProbePorts(line, listed, 0, false);
    EXPECT_EQ(table.currentPort, 1);
    EXPECT_FALSE(table.find(6)->exists);  // beyond the list
    EXPECT_EQ(line.openedPorts().size(), 5u);
}

TEST(PortTable, PortsCanBeNamedByNumberOrByPath) {
    const std::vector<std::string> listed{"/dev/ttyS0", "/dev/ttyS1"};
    EXPECT_EQ(ResolvePortName("2", listed, false), "/dev/ttyS1");
    EXPECT_EQ(ResolvePortName("9", listed, false), "");
    EXPECT_EQ(ResolvePortName("/dev/pts/7", listed, false), "/dev/pts/7");
    EXPECT_EQ(ResolvePortName("12", listed, true), "COM12");
    EXPECT_EQ(ResolvePortName("COM4", listed, true), "COM4");
}

TEST(PortTable, DescriptionsNameTheAdapter_ManufacturerOnceUsbIdsWhenNothingElse) {
    EXPECT_EQ(PortDescription({"/dev/ttyUSB0", "USB-Serial Controller", "Prolific", 0x067B, 0x2303}),
              "USB-Serial Controller (Prolific)");
    EXPECT_EQ(PortDescription({"COM5", "FTDI USB Serial Port", "FTDI", 0x0403, 0x6001}), "FTDI USB Serial Port");
    EXPECT_EQ(PortDescription({"/dev/ttyACM0", "", "", 0x2341, 0x43}), "USB 2341:0043");
    EXPECT_EQ(PortDescription({"/dev/ttyS0", "", "", -1, -1}), "");

    const std::vector<std::string> listed{"/dev/ttyS0", "/dev/ttyUSB0"};
    ScriptedTransport line;
    PortTable table = ProbePorts(line, listed, 0, false);
    DescribePorts(table, {{"/dev/ttyUSB0", "CP2102 USB to UART Bridge Controller", "Silicon Labs", 0x10C4, 0xEA60},
                          {"/dev/ttyS9", "not in the table", "", -1, -1}});
    EXPECT_EQ(table.find(1)->description, "");
    EXPECT_EQ(table.find(2)->description, "CP2102 USB to UART Bridge Controller (Silicon Labs)");
}

}  // namespace
}  // namespace vantrel::link
