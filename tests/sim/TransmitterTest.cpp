// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "link/Frames.h"
#include "sim/DefaultProfile.h"
#include "sim/Transmitter.h"

namespace vantrel::sim {
namespace {

namespace frames = link::frames;
using namespace std::string_literals;

struct TransmitterFixture : ::testing::Test {
    Profile profile = MakeDefaultProfile();
    Transmitter transmitter{profile.identity, profile.memory};

    std::string Exchange(const std::string& bytes, double at, double settle = 0.05) {
        transmitter.receive(bytes, at);
        return transmitter.takeOutput(at + settle);
    }
};

TEST_F(TransmitterFixture, ReadReplyIsStarAddressTwiceDataCrLf_AfterTheLineDelay) {
    transmitter.receive(frames::ReadFrame(10), 1.0);
    EXPECT_EQ(transmitter.takeOutput(1.0), "");  // nothing before the processing delay
    const std::string reply = transmitter.takeOutput(1.05);
    EXPECT_EQ(reply, frames::ByteReply(10, 10, 1));  // cell 10 holds input code 1 (type K)
    EXPECT_EQ(transmitter.nextOutputTime(), std::numeric_limits<double>::infinity());
    // The version reply carries firmware version, release, family and model.
    EXPECT_EQ(Exchange(frames::VersionFrame(), 2), "*\x01\x00\x04\x0A\r\n"s);
}

TEST_F(TransmitterFixture, WritesAreTakenOnlyInProgrammingMode) {
    // The serial-number write enters programming mode without a CR.
    const int before = profile.memory.read(100);
    double at = 0;
    for (const auto& [bytes, address, value] :
         {std::tuple{frames::WriteFrame(100, 0x42), 100, before}, {"PR\r" + frames::WriteFrame(100, 0x42), 100, 0x42},
          {"$FPxx\r" + frames::WriteFrame(100, 0x43), 100, 0x42}, {"PR" + frames::WriteFrame(0, 99), 0, 99}}) {
        Exchange(bytes, at++);
        EXPECT_EQ(transmitter.memory().read(static_cast<std::uint8_t>(address)), value) << bytes;
    }
}

TEST_F(TransmitterFixture, StreamSendsFramesAtItsRateUntilStopped) {
    transmitter.receive("MI\r", 0);
    const std::string second = transmitter.takeOutput(1.0);
    // Model 10: "A" + 5 bytes + CR, ten a second.
    EXPECT_EQ(second.size(), 10u * 7u);
    EXPECT_EQ(second[0], 'A');
    EXPECT_EQ(second[6], '\r');
    transmitter.receive("SM\r", 1.0);
    transmitter.takeOutput(1.01);
    EXPECT_EQ(transmitter.takeOutput(5.0), "");
    EXPECT_FALSE(transmitter.streaming());
    // Model 9 ends its frames in CR LF.
    DeviceIdentity identity;
    identity.model = 9;
    Transmitter model9(identity, profile.memory);
    model9.receive("MI\r", 0);
    EXPECT_EQ(model9.takeOutput(0.05).substr(5), "\r\n");
    // A stream nobody reads stays bounded.
    model9.receive("MI\r", 0);
    EXPECT_LE(model9.takeOutput(3600).size(), Transmitter::kMaxQueuedBytes);
}

// Trip 1 a maximum trip at codes 2000 (on) / 1950 (off), trip 2 a minimum trip at 1000 (off) /
// 900 (on): a trip pends for the delay, holds inside the hysteresis, and a reverse output
// compares the other way.
TEST(TripStates, PendForTheDelayHoldInsideTheHysteresisCompareByDirection) {
    namespace trip = frames::trip;
    struct Step {
        double code, at;
        int bits;
    };
    const auto run = [](const TripSettings& settings, const std::vector<Step>& steps) {
        TripStates states;
        for (const Step& s : steps) EXPECT_EQ(states.update(s.code, s.at, settings), s.bits) << s.code << " at " << s.at;
    };
    TripSettings s{{2000, 1000}, {1950, 900}, {false, true}, false, 1.0};
    run(s, {{1500, 0, 0}, {2100, 1, trip::Trip1Pending}, {2100, 1.5, trip::Trip1Pending}, {2100, 2, trip::Trip1Active},
            {1970, 2.5, trip::Trip1Active}, {1900, 3, 0},
            // A crossing shorter than the delay never switches.
            {2100, 4, trip::Trip1Pending}, {1990, 4.5, 0}, {2100, 5, trip::Trip1Pending}});
    s.delaySeconds = 0;
    run(s, {{850, 0, trip::Trip2Active}, {950, 0.1, trip::Trip2Active}, {1050, 0.2, 0}});
    // With a reverse output a high input gives a low code: the levels' codes swap sides.
    s = {{1000, 3000}, {1050, 3100}, {false, true}, true, 0};
    run(s, {{2000, 0, 0}, {900, 0.1, trip::Trip1Active}, {3200, 0.2, trip::Trip2Active}});
}

TEST_F(TransmitterFixture, DefaultProfileFrames_CarryTheOutputCodeAndTheTrips) {
    namespace trip = frames::trip;
    auto tripBits = [this](double temperature, double from) {
        transmitter.setInput({Quantity::Temperature, temperature, 25});
        const std::string bytes = transmitter.takeOutput(from);
        return static_cast<std::uint8_t>(bytes[bytes.size() - 2]);
    };
    transmitter.receive("MI\r", 0);
    transmitter.setInput({Quantity::Temperature, 500, 25});
    const std::string frame = transmitter.takeOutput(0.05);
    ASSERT_EQ(frame.size(), 7u);
    const auto byte = [&frame](std::size_t i) { return static_cast<std::uint8_t>(frame[i]); };
    // Decoded as the measurement display does: word = byte 2 x 256 + byte 3, exponent byte 4.
    EXPECT_NEAR(device::Float24DecodeWord(byte(2) * 256u + byte(3), byte(4)), *transmitter.OutputCode(), 0.1);
    EXPECT_EQ(byte(5), 0);  // 500 °C: neither trip
    EXPECT_EQ(tripBits(50, 0.25), trip::Trip2Pending);   // below 100 °C, delay running
    EXPECT_EQ(tripBits(50, 1.55), trip::Trip2Active);    // after the 1 s delay
    EXPECT_EQ(tripBits(900, 1.85), trip::Trip1Pending);  // above 800 °C; trip 2 releases at once
    EXPECT_EQ(tripBits(900, 3.05), trip::Trip1Active);
}

}  // namespace
}  // namespace vantrel::sim
