// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "link/ConnectionTest.h"
#include "link/Frames.h"
#include "link/ScriptedDialogs.h"
#include "link/ScriptedTransport.h"

namespace vantrel::link {
namespace {

struct ConnectionFixture : ::testing::Test {
    ScriptedTransport line;
    // Off the whole second, so that no send time falls on the time-out itself.
    VirtualClock clock{0.25};
    ScriptedDialogs dialogs;
    Protocol protocol{line, clock, dialogs};
    std::vector<int> attempts;

    ConnectionOutcome Run() {
        return RunConnectionSeries(protocol, [this](int n) { attempts.push_back(n); });
    }
    void StreamOnMi() {
        line.respond([](std::string_view frame) -> std::string {
            return frame == frames::kStartStream ? frames::MeasurementFrame({}, true) : std::string();
        });
    }
};

TEST_F(ConnectionFixture, StreamingTransmitter_ConnectsAfterAboutOneSecondOnFirstAttempt) {
    StreamOnMi();
    EXPECT_EQ(Run(), ConnectionOutcome::Connected);
    EXPECT_EQ(attempts, std::vector<int>{1});
    EXPECT_NEAR(clock.now(), 1.05, 0.05);
    // The stream is stopped and what it sent is thrown away.
    EXPECT_EQ(line.frames().back(), frames::kStopStream);
    EXPECT_EQ(line.bytesAvailable(), 0u);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(ConnectionFixture, NothingConnected_CountsAttemptsThenRetryCancelBox) {
    protocol.setLanguageOffset(300);
    EXPECT_EQ(Run(), ConnectionOutcome::Cancelled);
    EXPECT_EQ(attempts, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(line.countFrames(frames::kStartStream), 5);
    EXPECT_EQ(line.frames().back(), frames::kStopStream);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "It's impossible communicate with the device");
    EXPECT_EQ(dialogs.shown()[0].buttons, Buttons::RetryCancel);
    EXPECT_NEAR(clock.now(), 0.25 + 5.0, 0.01);
}

// Retry starts a new series from attempt one; the cable plugged in during the box
// then connects.
TEST_F(ConnectionFixture, Retry_StartsANewSeriesFromAttemptOne) {
    dialogs.answer(Answer::Retry);
    int series = 0;
    const ConnectionOutcome outcome = TestConnectionUntilDecided(
        protocol, [&] { if (++series == 2) StreamOnMi(); }, [this](int n) { attempts.push_back(n); });
    EXPECT_EQ(outcome, ConnectionOutcome::Connected);
    EXPECT_EQ(attempts, (std::vector<int>{1, 2, 3, 4, 5, 1}));
}

// Bytes waiting before the test are no answer; any byte after it is, even noise.
TEST_F(ConnectionFixture, OnlyBytesAfterTheStartCount) {
    line.feedReceived("stale");
    EXPECT_EQ(Run(), ConnectionOutcome::Cancelled);
    line.respond([](std::string_view) { return std::string("\x7f", 1); });
    EXPECT_EQ(Run(), ConnectionOutcome::Connected);
}

TEST(ConnectionTestStart, FirstMiGoesOutBetweenHalfAndOneAndAHalfSeconds) {
    for (double start : {0.0, 0.3, 0.5, 0.6, 2.49, 7.5}) {
        ScriptedTransport line;
        VirtualClock clock(start);
        ScriptedDialogs dialogs;
        Protocol protocol(line, clock, dialogs);
        double firstMi = -1;
        line.respond([&](std::string_view frame) -> std::string {
            if (frame == frames::kStartStream && firstMi < 0) firstMi = clock.now();
            return {};
        });
        RunConnectionSeries(protocol);
        EXPECT_GE(firstMi - start, 0.5 - 1e-9) << start;
        EXPECT_LE(firstMi - start, 1.5 + 0.01) << start;
    }
}

}  // namespace
}  // namespace vantrel::link
