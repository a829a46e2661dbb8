// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "link/Frames.h"
#include "sim/CommandParser.h"

namespace vantrel::sim {
namespace {

namespace frames = link::frames;
using Kind = Command::Kind;
using namespace std::string_literals;

std::vector<Kind> Kinds(const std::vector<Command>& commands) {
    std::vector<Kind> kinds;
    for (const Command& c : commands) kinds.push_back(c.kind);
    return kinds;
}

TEST(CommandParser, FixedFramesMayCarryCrAsAddressOrData) {
    CommandParser parser;
    const auto commands = parser.feed(frames::ReadFrame(13) + frames::WriteFrame(13, 13) + frames::VersionFrame());
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].kind, Kind::Read);
    EXPECT_EQ(commands[0].address, 13);
    EXPECT_EQ(commands[1].kind, Kind::Write);
    EXPECT_EQ(commands[1].address, 13);
    EXPECT_EQ(commands[1].data, 13);
    EXPECT_EQ(commands[2].kind, Kind::Version);
    EXPECT_EQ(parser.pending(), 0u);
}

TEST(CommandParser, TextCommandsWithOrWithoutCr) {
    CommandParser parser;
    const auto commands = parser.feed("SM\rPR\rMI\r$FPxx\rPR"s + frames::WriteFrame(0, 12));
    EXPECT_EQ(Kinds(commands), (std::vector<Kind>{Kind::StopStream, Kind::ProgrammingMode, Kind::StartStream,
                                                  Kind::EndProgramming, Kind::ProgrammingMode, Kind::Write}));
    EXPECT_EQ(Kinds(parser.feed("$FPyy\r")), std::vector<Kind>{Kind::Unknown});
}

TEST(CommandParser, NoiseAndBrokenFramesAreDroppedAndParsingResumes) {
    CommandParser parser;
    // Noise, a "$R" frame whose sixth byte is not a CR, a "$" with an unknown letter.
    const auto commands = parser.feed("\x01xyz$R\x05\x05\x00Q$Zq"s + frames::ReadFrame(7));
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].kind, Kind::Read);
    EXPECT_EQ(commands[0].address, 7);
    EXPECT_GT(parser.discarded(), 0u);
}

TEST(CommandParser, UnterminatedEndCommandDoesNotGrowWithoutBound) {
    CommandParser parser;
    parser.feed("$F" + std::string(100, 'x'));
    EXPECT_LE(parser.pending(), CommandParser::kMaxTextCommand);
}

}  // namespace
}  // namespace vantrel::sim
