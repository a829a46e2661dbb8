// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Protocol.h"

#include <algorithm>

#include "link/Frames.h"

namespace vantrel::link {

namespace {

bool EndsCandidate(std::string_view candidate, bool crOnly) {
    const std::size_t n = candidate.size();
    if (crOnly) return n >= 1 && candidate[n - 1] == frames::kCr;
    return n >= 2 && candidate[n - 2] == frames::kCr && candidate[n - 1] == frames::kLf;
}

// Scans candidate start positions [from, buffer end) and keeps the last accepted one.
std::optional<std::string> LastMatchFrom(std::string_view buffer, std::size_t from, std::string_view pattern,
                                         bool crOnly) {
    std::optional<std::string> match;
    const std::size_t length = pattern.size();
    if (length == 0 || buffer.size() < length) return match;
    for (std::size_t i = from; i + length <= buffer.size(); ++i) {
        if (buffer[i] != pattern[0]) continue;
        const std::string_view candidate = buffer.substr(i, length);
        if (EndsCandidate(candidate, crOnly)) match = std::string(candidate);
    }
    return match;
}

}  // namespace

std::optional<std::string> MatchReply(std::string_view buffer, std::string_view pattern, bool crOnly) {
    return LastMatchFrom(buffer, 0, pattern, crOnly);
}

Protocol::Protocol(Transport& transport, Clock& clock, Dialogs& dialogs)
    : m_transport(transport), m_clock(clock), m_dialogs(dialogs) {}

bool Protocol::Send(std::string_view frame) {
    if (frame.empty()) return true;
    const bool written = m_transport.write(frame);
    if (!written) m_lineLost = true;
    return written;
}

void Protocol::SendCommand(std::string_view frame) {
    Send(frame);
    Wait(timing::kAfterSend);
}

void Protocol::Wait(double seconds) {
    if (cancelRequested()) return;
    if (m_cancel != nullptr)
        m_clock.waitUnlessCancelled(seconds, *m_cancel);
    else
        m_clock.wait(seconds);
    if (m_meter) m_meter->Advance(seconds);
}

void Protocol::ReturnToWorkingMode() {
    Send(frames::kStopStream);
    m_clock.wait(timing::kAfterSend);
    Send(frames::kEndProgramming);
}

bool Protocol::ReopenPort() {
    if (!m_reopen) return false;
    const double until = m_clock.now() + timing::kReopenWait;
    for (;;) {
        if (cancelRequested()) return false;
        if (m_reopen()) {
            m_lineLost = false;
            return true;
        }
        if (m_clock.now() >= until) return false;
        Wait(timing::kReopenPoll);
    }
}

bool Protocol::RetryOrCancel() {
    const bool gone = portGone();
    const Message message = gone ? PortGoneMessage(m_languageOffset) : NoCommunicationMessage(m_languageOffset);
    if (m_dialogs.Show(message) != Answer::Retry) return false;
    // A port that failed to come back is noticed again by the restarted exchange's first
    // write, so the box returns at once instead of after a time-out.
    if (gone) ReopenPort();
    return true;
}

ReplyWait Protocol::SendAndMatch(std::string_view command, std::string_view pattern, double timeoutSeconds,
                                   bool crOnly) {
    if (cancelRequested()) return {ReplyWait::Ending::Cancel, {}};
    const bool crOnlyEnding = crOnly && m_deviceModel == frames::kCrOnlyModel;
    const double start = m_clock.now();
    SendCommand(command);

    // The buffer is kept whole for the wait; each pass only needs to test the start
    // positions whose candidate could not be complete before the new bytes came.
    std::string buffer;
    for (;;) {
        if (portGone()) break;
        const std::size_t before = buffer.size();
        buffer += m_transport.readAll();
        if (buffer.size() > before) {
            const std::size_t from = before >= pattern.size() ? before - pattern.size() + 1 : 0;
            if (auto reply = LastMatchFrom(buffer, from, pattern, crOnlyEnding))
                return {ReplyWait::Ending::Received, std::move(*reply)};
        }
        if (m_clock.now() - start > timeoutSeconds) break;
        m_clock.replyPause();
        if (cancelRequested()) return {ReplyWait::Ending::Cancel, {}};
    }

    if (cancelRequested() || !RetryOrCancel()) return {ReplyWait::Ending::Cancel, {}};
    Send(frames::kEndProgramming);
    Wait(timing::kAfterRecovery);
    return {ReplyWait::Ending::Retry, {}};
}

ByteResult Protocol::ReadBlock(int start, int count) {
    ByteResult result;
    // The result has 255 data slots and the memory 256 cells; anything past either is not read.
    if (start < 0 || start > 255 || count <= 0) return result;
    const int first = start;
    const int last = std::min({start + count - 1, 255, first + 254});
    for (;;) {
        if (cancelRequested()) {
            result.bytes[0] = 1;
            return result;
        }
        SendCommand(frames::kStopStream);
        SendCommand(frames::kProgrammingMode);
        bool restart = false;
        for (int address = first; address <= last; ++address) {
            m_transport.discardInput();
            const ReplyWait wait = SendAndMatch(frames::ReadFrame(static_cast<std::uint8_t>(address)),
                                                   frames::kByteReplyPattern, timing::kReplyTimeout, false);
            if (wait.retry()) {
                Send(frames::kEndProgramming);
                Wait(timing::kBeforeRestart);
                restart = true;
                break;
            }
            if (wait.cancelled()) {
                result.bytes[0] = 1;
                return result;
            }
            result.bytes[0] = 0;
            const auto value = static_cast<std::uint8_t>(wait.reply[frames::kByteReplyDataPos]);
            result.bytes[static_cast<std::size_t>(address - first + 1)] = value;
            if (m_cellObserver) m_cellObserver(address, value);
        }
        if (!restart) return result;
    }
}

ByteResult Protocol::ReadVersion() {
    ByteResult result;
    for (;;) {
        if (cancelRequested()) {
            result.bytes[0] = 1;
            return result;
        }
        Send(frames::kStopStream);
        Wait(timing::kAfterVersionCommand);
        Send(frames::kProgrammingMode);
        Wait(timing::kAfterVersionCommand);
        m_transport.readAll();
        m_transport.discardInput();
        const ReplyWait wait =
            SendAndMatch(frames::VersionFrame(), frames::kVersionReplyPattern, timing::kReplyTimeout, false);
        if (wait.retry()) {
            Send(frames::kEndProgramming);
            Wait(timing::kBeforeRestart);
            continue;
        }
        if (wait.cancelled()) {
            result.bytes[0] = 1;
            return result;
        }
        auto at = [&wait](std::size_t pos) { return static_cast<std::uint8_t>(wait.reply[pos]); };
        result.bytes[1] = at(frames::kVersionFamilyPos);
        result.bytes[2] = at(frames::kVersionModelPos);
        result.bytes[3] = at(frames::kVersionFirmwarePos);
        result.bytes[4] = at(frames::kVersionReleasePos);
        return result;
    }
}

ByteResult Protocol::ReadMeasurementFrame() {
    ByteResult result;
    for (;;) {
        const ReplyWait wait = SendAndMatch({}, frames::kFramePattern, timing::kFrameTimeout, true);
        if (wait.retry()) {
            // "$FPxx" has gone out already; the stream has to be started again.
            SendCommand(frames::kStopStream);
            SendCommand(frames::kStartStream);
            continue;
        }
        if (wait.cancelled()) {
            result.bytes[0] = 1;
            return result;
        }
        for (std::size_t i = 1; i <= 5; ++i) result.bytes[i] = static_cast<std::uint8_t>(wait.reply[i]);
        return result;
    }
}

}  // namespace vantrel::link
