// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzz target fuzz_sim_parser checks that the commands do not depend on how the bytes are cut.
#include <gtest/gtest.h>

#include "link/Frames.h"
#include "sim/CommandParser.h"

namespace vantrel::sim {
namespace {

namespace frames = link::frames;
using Kind = Command::Kind;
using namespace std::string_literals;

// Fixed frames may carry CR as address or data; text commands come with or without CR (the
// serial-number write sends "PR" without one); noise, a "$R" whose sixth byte is not a CR and
// a "$" with an unknown letter are dropped and parsing resumes.
TEST(CommandParser, FramesTextCommandsAndNoise) {
    CommandParser parser;
    const auto commands = parser.feed(frames::ReadFrame(13) + frames::WriteFrame(13, 13) + frames::VersionFrame() +
                                      "SM\rPR\rMI\r$FPxx\rPR" + frames::WriteFrame(0, 12) +
                                      "\x01xyz$R\x05\x05\x00Q$Zq"s + frames::ReadFrame(7) + "$FPyy\r");
    std::vector<Kind> kinds;
    for (const Command& c : commands) kinds.push_back(c.kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Read, Kind::Write, Kind::Version, Kind::StopStream,
                                        Kind::ProgrammingMode, Kind::StartStream, Kind::EndProgramming,
                                        Kind::ProgrammingMode, Kind::Write, Kind::Read, Kind::Unknown}));
    ASSERT_EQ(commands.size(), 11u);
    EXPECT_EQ(commands[0].address, 13);
    EXPECT_EQ(commands[1].address + 256 * commands[1].data, 13 * 257);
    EXPECT_EQ(commands[8].data, 12);
    EXPECT_EQ(commands[9].address, 7);
    EXPECT_EQ(parser.pending(), 0u);
    EXPECT_GT(parser.discarded(), 0u);
}

// Found by fuzzing: a "$F" text too long for a command was taken when its CR came in the same
// read and dropped as noise when it came later. Pending bytes stay bounded either way.
TEST(CommandParser, ALongEndCommandGivesTheSameCommandsWhateverTheCuts) {
    const std::string input = "$F" + std::string(15, 'x') + "\rSM";
    CommandParser whole, bytes;
    std::vector<Command> oneByOne;
    for (char c : input)
        for (Command& command : bytes.feed(std::string(1, c))) oneByOne.push_back(command);
    EXPECT_EQ(whole.feed(input), oneByOne);
    bytes.feed("$F" + std::string(100, 'x'));
    EXPECT_LE(bytes.pending(), CommandParser::kMaxTextCommand);
}

}  // namespace
}  // namespace vantrel::sim
