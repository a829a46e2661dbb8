// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel::link {

// Line settings as the "9600,N,8,1" text gives them.
struct LineSettings {
    int baudRate = 9600;
    char parity = 'N';  // N, E, O (upper case)
    int dataBits = 8;
    int stopBits = 1;
    friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

// Parses "baud,parity,bits,stop" (parity letter in either case). False on anything else.
bool ParseLineSettings(std::string_view text, LineSettings& settings);

enum class OpenError {
    None,
    NoSuchPort,  // the port cannot be addressed
    PortInUse,   // another program holds it
    NoPermission,  // the user may not open it (not in the group that owns the device)
    Other,
};

struct OpenResult {
    OpenError error = OpenError::None;
    std::string detail;  // the system's own words, for a message
    bool ok() const { return error == OpenError::None; }
};

// A byte pipe to one transmitter: a serial port, the in-process simulator or a test script.
// Reads never block: readAll() returns what has arrived so far.
class Transport {
public:
    virtual ~Transport() = default;

    // Opening an open transport does nothing and succeeds.
    virtual OpenResult open(const std::string& port, const LineSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // False when the bytes could not be handed to the line (port closed, cable pulled).
    virtual bool write(std::string_view bytes) = 0;
    // Everything received and not yet read; empties the receive buffer.
    virtual std::string readAll() = 0;
    // Drops everything received so far (bytes still on the wire arrive later).
    virtual void discardInput() = 0;
    virtual std::size_t bytesAvailable() = 0;
    // True once the open port went away under us (adapter unplugged, cable of a USB line
    // pulled): the system says so at once, no reply can come, and only opening the port
    // again can bring the line back. Cleared by open() and close().
    virtual bool vanished() const { return false; }
};

// The receive buffer of a serial line holds at most this many bytes; when more arrive
// unread, the oldest are dropped, so the newest reply is always whole in it.
inline constexpr std::size_t kReceiveBufferSize = 2048;

// Appends bytes to a receive buffer and drops its oldest bytes beyond kReceiveBufferSize.
void AppendBounded(std::string& buffer, std::string_view bytes);

}  // namespace vantrel::link
