// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/CommandParser.h"

#include "link/Frames.h"

namespace vantrel::sim {

namespace frames = link::frames;

namespace {

bool IsTwoLetterCommand(std::string_view text, Command::Kind& kind) {
    if (text == "SM") kind = Command::Kind::StopStream;
    else if (text == "PR") kind = Command::Kind::ProgrammingMode;
    else if (text == "MI") kind = Command::Kind::StartStream;
    else return false;
    return true;
}

bool StartsTwoLetterCommand(char c) { return c == 'S' || c == 'P' || c == 'M'; }

}  // namespace

std::string CommandLogText(const Command& command) {
    switch (command.kind) {
        case Command::Kind::Read: return "$R " + std::to_string(command.address);
        case Command::Kind::Write: return "$W " + std::to_string(command.address) + " " + std::to_string(command.data);
        case Command::Kind::Version: return "$V";
        case Command::Kind::StopStream: return "SM";
        case Command::Kind::ProgrammingMode: return "PR";
        case Command::Kind::StartStream: return "MI";
        case Command::Kind::EndProgramming:
        case Command::Kind::Unknown: return command.text;
    }
    return command.text;
}

std::vector<Command> CommandParser::feed(std::string_view bytes) {
    m_buffer += bytes;
    std::vector<Command> commands;
    for (;;) {
        Command command;
        const Step step = parseOne(command);
        if (step == Step::NeedMore) break;
        if (step == Step::Command) commands.push_back(std::move(command));
    }
    return commands;
}

void CommandParser::drop(std::size_t count) {
    m_buffer.erase(0, count);
    m_discarded += count;
}

CommandParser::Step CommandParser::parseOne(Command& command) {
    if (m_buffer.empty()) return Step::NeedMore;
    const char first = m_buffer[0];
    if (first == frames::kCr || first == frames::kLf) {
        m_buffer.erase(0, 1);  // empty line
        return Step::Dropped;
    }

    if (first == '$') {
        if (m_buffer.size() < 2) return Step::NeedMore;
        const char letter = m_buffer[1];
        if (letter == frames::kReadLetter || letter == frames::kWriteLetter || letter == frames::kVersionLetter) {
            if (m_buffer.size() < frames::kFixedFrameLength) return Step::NeedMore;
            if (m_buffer[frames::kFixedFrameLength - 1] != frames::kCr) {
                drop(1);
                return Step::Dropped;
            }
            command.kind = letter == frames::kReadLetter    ? Command::Kind::Read
                           : letter == frames::kWriteLetter ? Command::Kind::Write
                                                            : Command::Kind::Version;
            command.address = static_cast<std::uint8_t>(m_buffer[2]);
            command.data = static_cast<std::uint8_t>(m_buffer[4]);
            m_buffer.erase(0, frames::kFixedFrameLength);
            return Step::Command;
        }
        if (letter == frames::kEndLetter) {
            const std::size_t cr = m_buffer.find(frames::kCr);
            if (cr == std::string::npos && m_buffer.size() <= kMaxTextCommand) return Step::NeedMore;
            // A text longer than any command is noise whether its CR came in the same read or
            // not, so the commands never depend on how the bytes were cut.
            if (cr == std::string::npos || cr > kMaxTextCommand) {
                drop(1);
                return Step::Dropped;
            }
            command.text = m_buffer.substr(0, cr);
            command.kind = command.text == frames::kEndProgramming.substr(0, frames::kEndProgramming.size() - 1)
                               ? Command::Kind::EndProgramming
                               : Command::Kind::Unknown;
            m_buffer.erase(0, cr + 1);
            return Step::Command;
        }
        drop(1);
        return Step::Dropped;
    }

    if (StartsTwoLetterCommand(first)) {
        if (m_buffer.size() < 2) return Step::NeedMore;
        if (IsTwoLetterCommand(std::string_view(m_buffer).substr(0, 2), command.kind)) {
            m_buffer.erase(0, 2);
            return Step::Command;
        }
    }
    drop(1);
    return Step::Dropped;
}

}  // namespace vantrel::sim
