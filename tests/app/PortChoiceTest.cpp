#include <gtest/gtest.h>

#include "app/PortChoice.h"
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

    const PortChoices windows = BuildPortChoices(ThreePorts(), "", "", true);
    ASSERT_EQ(windows.entries.size(), 3u);
    EXPECT_EQ(windows.entries[2].text, "COM 4");

    // A port the system describes shows its description after its name.
    link::PortTable described = ThreePorts();
    described.entries[3].description = "USB-Serial Controller (Prolific)";
    EXPECT_EQ(BuildPortChoices(described, "", "", false).entries[2].text,
              "COM 4   /dev/ttyS3   USB-Serial Controller (Prolific)");
    EXPECT_EQ(BuildPortChoices(described, "", "", true).entries[2].text, "COM 4   USB-Serial Controller (Prolific)");
}

TEST(PortChoice, OkWithoutAChange_ReloadsNothing_CancelRestoresThePreviousPort) {
    PortChoiceModel model(BuildPortChoices(ThreePorts(), "simulator", "Sim", false), "/dev/ttyS2");
    EXPECT_EQ(model.currentIndex(), 1);
    EXPECT_FALSE(model.Accept());

    model.Choose(3);
    EXPECT_EQ(model.Accept(), "simulator");
    model.Choose(1);
    EXPECT_FALSE(model.Accept());  // back to where it was

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
    EXPECT_EQ(serial.written(), "");

    // Moving to a serial port closes the simulator's line first.
    ASSERT_TRUE(line.open("/dev/ttyS0", settings).ok());
    EXPECT_FALSE(simulator.isOpen());
    line.write("MI\r");
    EXPECT_EQ(serial.written(), "MI\r");
    serial.feedReceived("A");
    EXPECT_EQ(line.bytesAvailable(), 1u);

    RoutingTransport withoutSimulator(serial, nullptr, "simulator");
    EXPECT_EQ(withoutSimulator.open("simulator", settings).error, link::OpenError::NoSuchPort);
    EXPECT_FALSE(withoutSimulator.isOpen());
    EXPECT_FALSE(withoutSimulator.write("x"));
}
