// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "sim/CommandParser.h"
#include "sim/Faults.h"
#include "sim/Identity.h"
#include "sim/Input.h"
#include "sim/Memory.h"
#include "sim/Trips.h"

namespace vantrel::sim {

// A simulated transmitter: the firmware's side of the serial line. Time is supplied by the
// caller (virtual or real seconds), so the same model serves tests, the in-process transport
// and the pseudo-terminal server.
//
// - "$R" answers "*", the address twice, the byte, CR LF; "$V" answers the identity.
// - "PR" enters programming mode; "$W" writes only there; "$FPxx" leaves it.
// - "MI" starts the measurement stream (one frame every kFramePeriod), "SM" stops it.
// - Replies leave after a short processing delay at the line's byte rate.
class Transmitter {
public:
    static constexpr double kFramePeriod = 0.1;
    static constexpr double kReplyDelay = 0.002;
    // Largest output code of the 12-bit output converter.
    static constexpr double kMaxOutputCode = 4095;
    // Bytes that may wait on the line; older ones are lost, as in a full receive buffer.
    static constexpr std::size_t kMaxQueuedBytes = 4096;

    explicit Transmitter(DeviceIdentity identity = {}, Memory memory = {});

    void receive(std::string_view bytes, double now);
    // The bytes that have reached the line by now.
    std::string takeOutput(double now);
    std::size_t outputReady(double now);
    // When the next byte reaches the line (infinity when nothing is due).
    double nextOutputTime() const;

    void setInput(const SimulatedInput& input) { m_input = input; }
    const SimulatedInput& input() const { return m_input; }
    FaultSettings& faults() { return m_faults; }
    void pullCable();
    // The cable goes back in: the line works again, the stream is off (the transmitter was
    // unpowered or its receiver saw garbage), memory and identity are as before.
    void plugCable();
    // Called with every command the transmitter takes, in order (the simulator's command log).
    void setCommandListener(std::function<void(const Command&)> listener) { m_commandListener = std::move(listener); }

    const Memory& memory() const { return m_memory; }
    Memory& memory() { return m_memory; }
    const DeviceIdentity& identity() const { return m_identity; }
    bool streaming() const { return m_streaming; }
    bool programmingMode() const { return m_programming; }
    bool lineClosed() const { return m_lineClosed; }
    int framesSent() const { return m_framesSent; }
    int repliesSent() const { return m_repliesSent; }
    int commandsReceived() const { return m_commands; }
    int writesTaken() const { return m_writes; }
    // Fallen silent after the writes its fault allows: takes and sends nothing more.
    bool silent() const { return m_faults.silentAfterWrites >= 0 && m_writes >= m_faults.silentAfterWrites; }
    const CommandParser& parser() const { return m_parser; }

    // The output code the programmed tables give for the present input (not clamped); with
    // an input that drifts, as it stands `seconds` into the stream at its `frame`-th frame.
    std::optional<double> OutputCode() const;
    std::optional<double> OutputCodeOf(const SimulatedInput& input) const;

private:
    void advanceTo(double now);
    // The cable comes out at a known moment: what had left the transmitter by then still
    // reaches the receiver.
    void pullCableAt(double at);
    void execute(const Command& command, double now);
    void reply(const std::string& bytes, double now);
    void queue(const std::string& bytes, double start);
    std::string nextFrame(double at);

    DeviceIdentity m_identity;
    Memory m_memory;
    SimulatedInput m_input;
    FaultSettings m_faults;
    CommandParser m_parser;
    TripStates m_trips;
    std::function<void(const Command&)> m_commandListener;

    struct PendingByte {
        double due;
        char byte;
    };
    std::deque<PendingByte> m_output;
    bool m_streaming = false;
    bool m_programming = false;
    bool m_lineClosed = false;
    std::optional<double> m_pulledAt;  // when the cable came out (first seen), for replugAfterSeconds
    double m_nextFrameAt = 0;
    double m_streamStartedAt = 0;
    int m_framesSent = 0;
    int m_repliesSent = 0;
    int m_commands = 0;
    int m_writes = 0;
};

}  // namespace vantrel::sim
