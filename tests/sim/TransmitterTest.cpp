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
}

TEST_F(TransmitterFixture, VersionReplyCarriesFirmwareReleaseFamilyModel) {
    EXPECT_EQ(Exchange(frames::VersionFrame(), 0), "*\x01\x00\x04\x0A\r\n"s);
}

TEST_F(TransmitterFixture, WritesAreTakenOnlyInProgrammingMode) {
    Exchange(frames::WriteFrame(100, 0x42), 0);
    EXPECT_NE(transmitter.memory().read(100), 0x42);
    Exchange("PR\r" + frames::WriteFrame(100, 0x42), 1);
    EXPECT_TRUE(transmitter.programmingMode());
    EXPECT_EQ(transmitter.memory().read(100), 0x42);
    Exchange("$FPxx\r" + frames::WriteFrame(100, 0x43), 2);
    EXPECT_FALSE(transmitter.programmingMode());
    EXPECT_EQ(transmitter.memory().read(100), 0x42);
    // The serial-number write enters programming mode without a CR.
    Exchange("PR" + frames::WriteFrame(0, 99), 3);
    EXPECT_EQ(transmitter.memory().read(0), 99);
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
}

TEST(TransmitterModel9, FramesEndInCrLf) {
    DeviceIdentity identity;
    identity.model = 9;
    Transmitter transmitter(identity, MakeDefaultProfile().memory);
    transmitter.receive("MI\r", 0);
    const std::string frame = transmitter.takeOutput(0.05);
    ASSERT_EQ(frame.size(), 7u);
    EXPECT_EQ(frame.substr(5), "\r\n");
}

TEST_F(TransmitterFixture, FrameCarriesTheOutputCodeAsWordAndExponent) {
    transmitter.setInput({Quantity::Temperature, 500, 25});
    transmitter.receive("MI\r", 0);
    const std::string frame = transmitter.takeOutput(0.05);
    ASSERT_EQ(frame.size(), 7u);
    const auto byte = [&frame](std::size_t i) { return static_cast<std::uint8_t>(frame[i]); };
    // Decoded as the measurement display does: word = byte 2 x 256 + byte 3, exponent byte 4.
    const double code = device::Float24DecodeWord(byte(2) * 256u + byte(3), byte(4));
    EXPECT_NEAR(code, *transmitter.OutputCode(), 0.1);
    EXPECT_EQ(byte(5), 0);  // 500 °C: neither trip
}

TEST_F(TransmitterFixture, LongUnreadStreamIsBounded) {
    transmitter.receive("MI\r", 0);
    EXPECT_LE(transmitter.takeOutput(3600).size(), Transmitter::kMaxQueuedBytes);
}

// Trips on model 10: trip 1 is a maximum trip at codes 2000 (on) / 1950 (off),
// trip 2 a minimum trip at 1000 (off) / 900 (on), 1 s delay.
struct TripFixture : ::testing::Test {
    TripSettings settings;
    TripStates states;
    void SetUp() override {
        settings.highCode = {2000, 1000};
        settings.lowCode = {1950, 900};
        settings.minimum = {false, true};
        settings.delaySeconds = 1.0;
    }
};

TEST_F(TripFixture, MaximumTrip_PendsForTheDelayThenHoldsUntilBelowTheLowLevel) {
    namespace trip = frames::trip;
    EXPECT_EQ(states.update(1500, 0.0, settings), 0);
    EXPECT_EQ(states.update(2100, 1.0, settings), trip::Trip1Pending);
    EXPECT_EQ(states.update(2100, 1.5, settings), trip::Trip1Pending);
    EXPECT_EQ(states.update(2100, 2.0, settings), trip::Trip1Active);
    EXPECT_EQ(states.update(1970, 2.5, settings), trip::Trip1Active);  // inside the hysteresis
    EXPECT_EQ(states.update(1900, 3.0, settings), 0);
    // A crossing shorter than the delay never switches.
    EXPECT_EQ(states.update(2100, 4.0, settings), trip::Trip1Pending);
    EXPECT_EQ(states.update(1990, 4.5, settings), 0);
    EXPECT_EQ(states.update(2100, 5.0, settings), trip::Trip1Pending);
}

TEST_F(TripFixture, MinimumTrip_SwitchesBelowItsLowLevel) {
    namespace trip = frames::trip;
    settings.delaySeconds = 0;
    EXPECT_EQ(states.update(850, 0.0, settings), trip::Trip2Active);
    EXPECT_EQ(states.update(950, 0.1, settings), trip::Trip2Active);
    EXPECT_EQ(states.update(1050, 0.2, settings), 0);
}

TEST_F(TripFixture, ReverseOutput_ComparesTheOtherWay) {
    namespace trip = frames::trip;
    // With a reverse output a high input gives a low code: the levels' codes swap sides.
    settings.highCode = {1000, 3000};
    settings.lowCode = {1050, 3100};
    settings.minimum = {false, true};
    settings.reverse = true;
    settings.delaySeconds = 0;
    EXPECT_EQ(states.update(2000, 0.0, settings), 0);
    EXPECT_EQ(states.update(900, 0.1, settings), trip::Trip1Active);
    EXPECT_EQ(states.update(3200, 0.2, settings), trip::Trip2Active);
}

TEST_F(TransmitterFixture, DefaultProfileTrips_ShowInTheFrames) {
    namespace trip = frames::trip;
    auto tripBits = [this](double temperature, double from) {
        transmitter.setInput({Quantity::Temperature, temperature, 25});
        const std::string bytes = transmitter.takeOutput(from);
        return static_cast<std::uint8_t>(bytes[bytes.size() - 2]);
    };
    transmitter.receive("MI\r", 0);
    EXPECT_EQ(tripBits(500, 0.05), 0);
    EXPECT_EQ(tripBits(50, 0.25), trip::Trip2Pending);   // below 100 °C, delay running
    EXPECT_EQ(tripBits(50, 1.55), trip::Trip2Active);    // after the 1 s delay
    EXPECT_EQ(tripBits(900, 1.85), trip::Trip1Pending);  // above 800 °C; trip 2 releases at once
    EXPECT_EQ(tripBits(900, 3.05), trip::Trip1Active);
}

}  // namespace
}  // namespace vantrel::sim
