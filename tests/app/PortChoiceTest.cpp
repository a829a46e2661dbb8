// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/PortChoice.h"
#include "app/PortWatcher.h"
#include "app/RoutingTransport.h"
#include "link/ScriptedTransport.h"

using namespace vantrel;
using namespace vantrel::app;

namespace {

link::PortTable ThreePorts() {
    link::PortTable table;
    for (int n = 1; n <= 4; ++n) {
        link::PortEntry entry;
        entry.number = n;
        entry.name = "/dev/ttyS" + std::to_string(n - 1);
        entry.exists = n != 2;  // port 2 cannot be addressed
        entry.busy = n == 3;
        table.entries.push_back(entry);
    }
    return table;
}

}  // namespace

TEST(PortChoice, TheListHoldsThePortsThatExistThenTheSimulator) {
    const PortChoices choices = BuildPortChoices(ThreePorts(), "simulator", "Simulated transmitter", false);
    ASSERT_EQ(choices.entries.size(), 4u);
    EXPECT_EQ(choices.entries[0].text, "COM 1   /dev/ttyS0");
    EXPECT_EQ(choices.entries[1].portName, "/dev/ttyS2");  // busy ports are listed too
    EXPECT_EQ(choices.entries[3].portName, "simulator");

    // A port the system describes shows its description after its name.
    link::PortTable described = ThreePorts();
    described.entries[3].description = "USB-Serial Controller (Prolific)";
    EXPECT_EQ(BuildPortChoices(described, "", "", false).entries[2].text,
              "COM 4   /dev/ttyS3   USB-Serial Controller (Prolific)");
}

TEST(PortChoice, OkWithoutAChange_ReloadsNothing_CancelRestoresThePreviousPort) {
    PortChoiceModel model(BuildPortChoices(ThreePorts(), "simulator", "Sim", false), "/dev/ttyS2");
    EXPECT_EQ(model.currentIndex(), 1);
    EXPECT_FALSE(model.Accept());

    model.Choose(3);
    EXPECT_EQ(model.Accept(), "simulator");
    model.Choose(0);
    model.Choose(99);  // out of the list: ignored
    EXPECT_EQ(model.currentPort(), "/dev/ttyS0");
    EXPECT_EQ(model.Cancel(), "/dev/ttyS2");
}

TEST(RoutingTransport, TheSimulatorsNameGoesToTheSimulator_AnyOtherToTheSerialPorts) {
    link::ScriptedTransport serial;
    link::ScriptedTransport simulator;
    RoutingTransport line(serial, &simulator, "simulator");
    const link::LineSettings settings;

    ASSERT_TRUE(line.open("simulator", settings).ok());
    line.write("SM\r");
    EXPECT_EQ(simulator.written(), "SM\r");

    // Moving to a serial port closes the simulator's line first.
    ASSERT_TRUE(line.open("/dev/ttyS0", settings).ok());
    EXPECT_FALSE(simulator.isOpen());
    line.write("MI\r");
    EXPECT_EQ(serial.written(), "MI\r");
    RoutingTransport withoutSimulator(serial, nullptr, "simulator");
    EXPECT_EQ(withoutSimulator.open("simulator", settings).error, link::OpenError::NoSuchPort);
}

namespace {

ListedPort Port(const std::string& name, const std::string& byId = {}, const std::string& description = {}) {
    ListedPort port;
    port.info.name = name;
    port.info.description = description;
    port.byIdPath = byId;
    return port;
}

}  // namespace

TEST(ListedPorts, NumberedInNameOrder_TheCurrentOneByItsPathThenTheSavedNumberThenTheFirst) {
    const std::vector<ListedPort> ports = {
        Port("/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_A1-if00-port0", "FT232R USB UART"),
        Port("/dev/ttyS10"), Port("/dev/ttyS2")};
    struct Case {
        std::string remembered;
        int savedPort;
        int current;
    };
    for (const Case& c : std::vector<Case>{{"/dev/serial/by-id/usb-FTDI_A1-if00-port0", 2, 3},
                                           {"/dev/ttyS10", 0, 2},
                                           {"/dev/ttyACM0", 2, 2},  // gone: the saved number
                                           {"", 9, 1},              // a number no port has: the first
                                           {"", 0, 1}}) {
        EXPECT_EQ(ListedPortTable(ports, c.remembered, c.savedPort).currentPort, c.current) << c.remembered;
    }
    const link::PortTable table = ListedPortTable(ports, "", 0);
    EXPECT_EQ(table.entries[0].name, "/dev/ttyS2");
    EXPECT_EQ(table.entries[2].description, "FT232R USB UART   usb-FTDI_A1-if00-port0");
    EXPECT_FALSE(table.entries[3].exists);
    EXPECT_FALSE(ListedPortTable({}, "", 3).anyOpened);
    EXPECT_EQ(RememberedPath(ports, "/dev/ttyUSB0"), "/dev/serial/by-id/usb-FTDI_A1-if00-port0");
    EXPECT_EQ(RememberedPath(ports, "/dev/ttyS2"), "/dev/ttyS2");
}

TEST(ListedPorts, StableNamesFollowTheLinksOfTheByIdFolder) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "vantrel-by-id-test";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "by-id");
    std::ofstream(root / "ttyUSB7").put('x');
    std::filesystem::create_symlink("../ttyUSB7", root / "by-id" / "usb-Prolific_X-if00-port0");
    const auto names = StableNames(root / "by-id");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names.begin()->first, (root / "ttyUSB7").string());
    EXPECT_EQ(names.begin()->second, (root / "by-id" / "usb-Prolific_X-if00-port0").string());
    EXPECT_TRUE(StableNames(root / "missing").empty());
    std::filesystem::remove_all(root);
}
