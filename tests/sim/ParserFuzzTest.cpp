// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "link/Frames.h"
#include "sim/CommandParser.h"
#include "sim/DefaultProfile.h"
#include "sim/Transmitter.h"

namespace vantrel::sim {
namespace {

namespace frames = link::frames;
using namespace std::string_literals;

std::string RandomBytes(std::mt19937& random, std::size_t maxLength) {
    static constexpr char kInteresting[] = {'$', 'R', 'W', 'V', 'F', 'S', 'M', 'P', 'I', '\r', '\n'};
    std::string s(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), '\0');
    for (char& c : s) {
        const int pick = std::uniform_int_distribution<int>(0, 15)(random);
        c = pick < 11 ? kInteresting[pick] : static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
    }
    return s;
}

// After any garbage, five CRs bring the parser back to rest: the commands that follow are
// read exactly, and what waits in the parser stays a few bytes.
TEST(ParserFuzz, GarbageThenCrsThenRealFrames_AreParsedExactly) {
    std::mt19937 random(1234);
    const std::string known = "SM\rPR\r"s + frames::ReadFrame(13) + frames::WriteFrame(200, 13) + "$FPxx\r" +
                              frames::VersionFrame() + "MI\r";
    CommandParser reference;
    const std::vector<Command> expected = reference.feed(known);
    ASSERT_EQ(expected.size(), 7u);
    for (int round = 0; round < 3000; ++round) {
        CommandParser parser;
        std::vector<Command> got;
        const std::string input = RandomBytes(random, 60) + std::string(5, '\r') + known;
        // Split the input at random places.
        std::size_t pos = 0;
        while (pos < input.size()) {
            const std::size_t n = std::uniform_int_distribution<std::size_t>(1, 8)(random);
            for (Command& c : parser.feed(std::string_view(input).substr(pos, n))) got.push_back(c);
            pos += n;
            ASSERT_LE(parser.pending(), CommandParser::kMaxTextCommand + 1);
        }
        ASSERT_GE(got.size(), expected.size()) << round;
        const std::vector<Command> tail(got.end() - static_cast<std::ptrdiff_t>(expected.size()), got.end());
        EXPECT_EQ(tail, expected) << round;
    }
}

// Found by the fuzz target: a "$F" text too long for a command was taken when its CR came in
// the same read and dropped as noise when it came later.
TEST(ParserFuzz, TheCommandsDoNotDependOnHowTheBytesAreCut) {
    for (const std::string& input : {"$Fabcdefghijklmnopqrstuvwxyz\rMI"s, "$F" + std::string(15, 'x') + "\rSM"s,
                                    "$F" + std::string(14, 'x') + "\rSM"s}) {
        CommandParser whole;
        const std::vector<Command> once = whole.feed(input);
        CommandParser bytes;
        std::vector<Command> oneByOne;
        for (char c : input)
            for (Command& command : bytes.feed(std::string(1, c))) oneByOne.push_back(command);
        EXPECT_EQ(once, oneByOne) << input;
    }
}

TEST(ParserFuzz, TransmitterSurvivesArbitraryBytes) {
    std::mt19937 random(99);
    const Profile profile = MakeDefaultProfile();
    Transmitter transmitter(profile.identity, profile.memory);
    double now = 0;
    for (int round = 0; round < 3000; ++round) {
        transmitter.receive(RandomBytes(random, 30), now);
        now += 0.05;
        const std::string out = transmitter.takeOutput(now);
        ASSERT_LE(out.size(), Transmitter::kMaxQueuedBytes);
        ASSERT_LE(transmitter.parser().pending(), CommandParser::kMaxTextCommand + 1);
    }
    // Random writes may have changed the memory but the transmitter still answers.
    transmitter.receive(std::string(5, '\r') + "SM\r" + frames::VersionFrame(), now);
    EXPECT_NE(transmitter.takeOutput(now + 1).find(profile.identity.VersionReply()), std::string::npos);
}

}  // namespace
}  // namespace vantrel::sim
