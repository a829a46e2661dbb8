// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "link/ConnectionTest.h"
#include "link/Frames.h"
#include "link/Protocol.h"
#include "link/ScriptedDialogs.h"
#include "resources/StringTable.h"
#include "sim/DefaultProfile.h"
#include "sim/SimTransport.h"

namespace vantrel::sim {
namespace {

namespace frames = link::frames;
using link::Answer;

// The protocol engine against the in-process simulator on the virtual clock.
struct SimLink : ::testing::Test {
    Profile profile = MakeDefaultProfile();
    Transmitter transmitter{profile.identity, profile.memory};
    link::VirtualClock clock;
    SimTransport line{transmitter, clock};
    link::ScriptedDialogs dialogs;
    link::Protocol protocol{line, clock, dialogs};

    void SetUp() override { ASSERT_TRUE(line.open("sim", {}).ok()); }

    void Write(std::uint8_t address, std::uint8_t value) {
        protocol.Send(frames::WriteFrame(address, value));
        protocol.Wait(0.04);
    }
};

// A pulled cable makes the port vanish: the next exchange (or connection test) says so at
// once instead of waiting out its time-out, and Retry opens the same port again, waiting a
// moment for an adapter that is being plugged back.
TEST_F(SimLink, PulledCableMidProgramming_PortGoneAtOnce_RetryOpensItAgain) {
    transmitter.faults().closeLineAfterCommands = transmitter.commandsReceived() + 5;
    transmitter.faults().replugAfterSeconds = 3;
    protocol.setReopen([this] {
        line.close();
        return line.open("sim", {}).ok();
    });
    protocol.Send(frames::kProgrammingMode);
    for (int a = 16; a < 40; ++a) Write(static_cast<std::uint8_t>(a), 0);
    EXPECT_TRUE(protocol.lineLost());
    EXPECT_EQ(transmitter.memory().read(16), 0);                        // written before the pull
    EXPECT_EQ(transmitter.memory().read(30), profile.memory.read(30));  // never arrived

    const double start = clock.now();
    EXPECT_EQ(link::RunConnectionSeries(protocol, {}), link::ConnectionOutcome::Cancelled);
    EXPECT_TRUE(protocol.ReadBlock(0, 2).cancelled());
    EXPECT_LT(clock.now() - start, link::timing::kReplyTimeout);
    EXPECT_EQ(dialogs.countShown(resources::text::kPortDisappeared), 2);
    EXPECT_EQ(dialogs.countShown(85), 0);

    dialogs.answer(Answer::Retry);
    const link::ByteResult cells = protocol.ReadBlock(0, 2);
    ASSERT_FALSE(cells.cancelled());
    EXPECT_EQ(cells[2], profile.memory.read(1));
    EXPECT_EQ(dialogs.countShown(resources::text::kPortDisappeared), 3);
    EXPECT_FALSE(protocol.portGone());
}

}  // namespace
}  // namespace vantrel::sim
