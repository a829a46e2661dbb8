// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace vantrel::sim {

// Named ways for the simulated transmitter to misbehave. A negative count means "never".
struct FaultSettings {
    bool noReply = false;                // deaf: no reply and no stream, as if nothing were connected
    bool noiseBeforeReplies = false;     // a few noise bytes ahead of every reply and frame
    bool noiseInsteadOfReplies = false;  // answers, but only with noise
    std::optional<std::uint8_t> reportedFamily;  // wrong identity in the "$V" reply
    std::optional<std::uint8_t> reportedModel;
    int silentAfterFrames = -1;          // the stream stops after this many frames
    int silentAfterReplies = -1;         // no reply after this many replies (silent mid-read)
    int dropReplies = 0;                 // the next this-many replies are lost (then normal again)
    int dropRepliesAfter = 0;            // ... counted from the reply after this many replies
    int closeLineAfterCommands = -1;     // the cable is pulled after this many commands
    int corruptWriteAddress = -1;        // a "$W" to this cell stores the byte inverted (a bad cell)
    int closeLineAfterFrames = -1;       // the cable is pulled after this many frames (in all)
    double replugAfterSeconds = -1;      // a pulled cable is plugged in again this much later
    int silentAfterWrites = -1;          // after this many "$W" it takes and sends nothing more (unpowered)
    double replyDelaySeconds = 0;        // replies leave this much later ...
    int delayRepliesAfter = 0;           // ... counted from the reply after this many replies
    int wrongIdentityAfterReplies = 0;   // reportedFamily/Model answer "$V" only after this many replies
};

}  // namespace vantrel::sim
