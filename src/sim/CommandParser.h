// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::sim {

struct Command {
    enum class Kind { Read, Write, Version, StopStream, ProgrammingMode, StartStream, EndProgramming, Unknown };
    Kind kind = Kind::Unknown;
    std::uint8_t address = 0;
    std::uint8_t data = 0;
    std::string text;  // the text of "$F..." commands
    friend bool operator==(const Command&, const Command&) = default;
};

// Splits the incoming byte stream into commands, as the firmware does:
// - "$R", "$W", "$V" are fixed 6-byte frames ("$", letter, address, address, data, CR);
//   their raw bytes may be 13, so the CR is looked for only at the sixth position. A frame
//   without it is not a frame: the "$" is dropped and the parser hunts for the next start.
// - "SM", "PR", "MI" act as soon as their two letters are in; a CR after them is optional
//   (the serial-number write sends "PR" without one).
// - "$F..." runs to the CR ("$FPxx" ends programming mode; other texts are unknown).
// - Anything else is line noise and is dropped byte by byte; a lone CR or LF is an empty line.
// Pending bytes never exceed a few characters, whatever arrives.
// One line of the simulator's command log: "SM", "PR", "MI", "$R 12", "$W 12 34", "$V",
// "$FPxx" (the text of other "$F..." commands).
std::string CommandLogText(const Command& command);

class CommandParser {
public:
    // Longest "$F..." text waited for before it counts as noise.
    static constexpr std::size_t kMaxTextCommand = 16;

    std::vector<Command> feed(std::string_view bytes);
    std::size_t pending() const { return m_buffer.size(); }
    // Bytes dropped as noise so far.
    std::size_t discarded() const { return m_discarded; }

private:
    enum class Step { Command, Dropped, NeedMore };
    Step parseOne(Command& command);
    void drop(std::size_t count);

    std::string m_buffer;
    std::size_t m_discarded = 0;
};

}  // namespace vantrel::sim
