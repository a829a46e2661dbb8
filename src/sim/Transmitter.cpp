// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Transmitter.h"

#include <algorithm>
#include <cmath>

#include "link/Frames.h"

namespace vantrel::sim {

namespace frames = link::frames;

namespace {

// Line noise ahead of a reply: no "*", "A", CR or LF, so it cannot pass for a reply.
constexpr std::string_view kNoise{"\x00\x55\xAA\x7F", 4};
// A long pause of the reader lets at most this many frames pile up on the line.
constexpr int kMaxCatchUpFrames = 64;

}  // namespace

Transmitter::Transmitter(DeviceIdentity identity, Memory memory) : m_identity(identity), m_memory(memory) {}

void Transmitter::pullCable() {
    m_lineClosed = true;
    m_streaming = false;
    m_output.clear();
}

void Transmitter::pullCableAt(double at) {
    m_lineClosed = true;
    m_streaming = false;
    m_pulledAt = at;
    while (!m_output.empty() && m_output.back().due > at) m_output.pop_back();
}

void Transmitter::plugCable() {
    m_lineClosed = false;
    m_pulledAt.reset();
    m_streaming = false;
    m_programming = false;
    m_parser = CommandParser();
    m_output.clear();
}

void Transmitter::receive(std::string_view bytes, double now) {
    advanceTo(now);
    if (m_lineClosed || silent()) return;
    for (const Command& command : m_parser.feed(bytes)) {
        if (silent()) return;
        ++m_commands;
        if (m_commandListener) m_commandListener(command);
        execute(command, now);
        // Once: after a replug the count goes on past the mark.
        if (m_faults.closeLineAfterCommands >= 0 && m_commands == m_faults.closeLineAfterCommands) {
            pullCable();
            m_pulledAt = now;
            return;
        }
    }
}

void Transmitter::execute(const Command& command, double now) {
    if (m_faults.noReply) return;
    switch (command.kind) {
        case Command::Kind::Read:
            reply(frames::ByteReply(command.address, command.address, m_memory.read(command.address)), now);
            break;
        case Command::Kind::Version: {
            DeviceIdentity shown = m_identity;
            if (m_repliesSent >= m_faults.wrongIdentityAfterReplies) {
                if (m_faults.reportedFamily) shown.family = *m_faults.reportedFamily;
                if (m_faults.reportedModel) shown.model = *m_faults.reportedModel;
            }
            reply(shown.VersionReply(), now);
            break;
        }
        case Command::Kind::Write:
            if (m_programming) {
                const bool corrupt = m_faults.corruptWriteAddress == static_cast<int>(command.address);
                m_memory.write(command.address, corrupt ? static_cast<std::uint8_t>(~command.data) : command.data);
                ++m_writes;
                if (silent()) m_streaming = false;
            }
            break;
        case Command::Kind::ProgrammingMode:
            m_programming = true;
            break;
        case Command::Kind::EndProgramming:
            m_programming = false;
            break;
        case Command::Kind::StartStream:
            if (!m_streaming) {
                m_streaming = true;
                m_trips.reset();
                m_nextFrameAt = now + kReplyDelay;
                m_streamStartedAt = now;
            }
            break;
        case Command::Kind::StopStream:
            m_streaming = false;
            break;
        case Command::Kind::Unknown:
            break;
    }
}

void Transmitter::reply(const std::string& bytes, double now) {
    if (m_faults.silentAfterReplies >= 0 && m_repliesSent >= m_faults.silentAfterReplies) return;
    if (m_faults.dropReplies > 0 && m_repliesSent >= m_faults.dropRepliesAfter) {
        --m_faults.dropReplies;
        return;
    }
    const bool late = m_faults.replyDelaySeconds > 0 && m_repliesSent >= m_faults.delayRepliesAfter;
    ++m_repliesSent;
    std::string text;
    if (m_faults.noiseInsteadOfReplies) {
        text = std::string(kNoise) + std::string(kNoise);
    } else {
        if (m_faults.noiseBeforeReplies) text = kNoise;
        text += bytes;
    }
    queue(text, now + kReplyDelay + (late ? m_faults.replyDelaySeconds : 0));
}

void Transmitter::queue(const std::string& bytes, double start) {
    // Bytes leave one after the other at the line's rate, after whatever is still going out.
    double due = m_output.empty() ? start : std::max(start, m_output.back().due + frames::kSecondsPerByte);
    for (char byte : bytes) {
        m_output.push_back({due, byte});
        due += frames::kSecondsPerByte;
    }
    while (m_output.size() > kMaxQueuedBytes) m_output.pop_front();
}

std::optional<double> Transmitter::OutputCode() const { return OutputCodeOf(m_input); }

std::optional<double> Transmitter::OutputCodeOf(const SimulatedInput& input) const {
    const auto tables = ReadProgrammedTables(m_memory);
    if (!tables) return std::nullopt;
    const auto converter = InputConverterValue(input, m_memory, tables);
    if (!converter) return std::nullopt;
    return tables->breakpoints(*converter);
}

std::string Transmitter::nextFrame(double at) {
    const SimulatedInput input = InputAt(m_input, at - m_streamStartedAt, m_framesSent);
    const double code = std::clamp(OutputCodeOf(input).value_or(0.0), 0.0, kMaxOutputCode);
    const device::Float24Bytes encoded = device::Float24Encode(code);
    frames::FrameFields fields;
    fields.wordHigh = encoded[1];
    fields.wordLow = encoded[0];
    fields.exponent = encoded[2];
    if (m_identity.hasTrips()) fields.tripBits = m_trips.update(code, at, TripSettings::FromMemory(m_memory));
    return frames::MeasurementFrame(fields, m_identity.hasTrips());
}

void Transmitter::advanceTo(double now) {
    if (m_lineClosed && m_faults.replugAfterSeconds >= 0) {
        if (!m_pulledAt) m_pulledAt = now;
        if (now >= *m_pulledAt + m_faults.replugAfterSeconds) plugCable();
    }
    if (!m_streaming || m_lineClosed || m_faults.noReply || silent()) return;
    if (now - m_nextFrameAt > kMaxCatchUpFrames * kFramePeriod) {
        const double skipped = std::floor((now - m_nextFrameAt) / kFramePeriod) - kMaxCatchUpFrames;
        m_nextFrameAt += skipped * kFramePeriod;
    }
    while (m_nextFrameAt <= now) {
        const double at = m_nextFrameAt;
        if (m_faults.closeLineAfterFrames >= 0 && m_framesSent == m_faults.closeLineAfterFrames) {
            m_faults.closeLineAfterFrames = -1;  // once: after a replug the stream runs on
            pullCableAt(at);
            return;
        }
        m_nextFrameAt += kFramePeriod;
        if (m_faults.silentAfterFrames >= 0 && m_framesSent >= m_faults.silentAfterFrames) continue;
        ++m_framesSent;
        std::string frame = nextFrame(at);
        if (m_faults.noiseInsteadOfReplies) frame = std::string(kNoise) + std::string(kNoise);
        else if (m_faults.noiseBeforeReplies) frame = std::string(kNoise) + frame;
        queue(frame, at);
    }
}

std::string Transmitter::takeOutput(double now) {
    advanceTo(now);
    std::string bytes;
    while (!m_output.empty() && m_output.front().due <= now) {
        bytes += m_output.front().byte;
        m_output.pop_front();
    }
    return bytes;
}

std::size_t Transmitter::outputReady(double now) {
    advanceTo(now);
    std::size_t count = 0;
    for (const PendingByte& b : m_output) {
        if (b.due > now) break;
        ++count;
    }
    return count;
}

double Transmitter::nextOutputTime() const {
    double next = std::numeric_limits<double>::infinity();
    if (!m_output.empty()) next = m_output.front().due;
    if (m_streaming && !m_lineClosed && !m_faults.noReply && !silent()) next = std::min(next, m_nextFrameAt);
    return next;
}

}  // namespace vantrel::sim
