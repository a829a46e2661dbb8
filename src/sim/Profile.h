// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/Faults.h"
#include "sim/Identity.h"
#include "sim/Input.h"
#include "sim/Memory.h"

namespace vantrel::sim {

// A device profile: the identity and memory of a simulated transmitter, optionally its
// simulated input and faults. JSON:
//   {"family": 4, "model": 10, "firmwareVersion": 1, "firmwareRelease": 0,
//    "memory": "<512 hex digits, cell 0 first>",
//    "input": {"quantity": "temperature", "value": 500, "coldJunction": 25},
//    "faults": {"noReply": false, "noiseBeforeReplies": false, "noiseInsteadOfReplies": false,
//               "reportedFamily": 2, "reportedModel": 9, "silentAfterFrames": 5,
//               "silentAfterReplies": 3, "dropReplies": 1, "dropRepliesAfter": 6,
//               "closeLineAfterCommands": 40, "corruptWriteAddress": 17, "closeLineAfterFrames": 50,
//               "replugAfterSeconds": 3}}
// Unknown keys are ignored. Input quantities: "temperature", "millivolts", "milliamps",
// "ohms", "fraction", "converterVolts".
struct Profile {
    DeviceIdentity identity;
    Memory memory;
    SimulatedInput input;
    FaultSettings faults;
};

inline constexpr int kEnglishOffset = 300;

struct ProfileResult {
    std::optional<Profile> profile;
    std::string error;  // what is wrong, for the user, when profile is empty
};

ProfileResult ParseProfile(std::string_view json);
// Reads a profile from a regular file of at most 1 MiB; the error names the file and says why,
// in the language of the offset where the reason is the file's rather than its content's.
ProfileResult LoadProfile(const std::string& path, int languageOffset = kEnglishOffset);

// Identity, memory and input as JSON (faults are not kept: they describe one run).
std::string ProfileJson(const Profile& profile);
// Writes through files::SafeWrite, so a half-written profile never remains. Returns an error
// text naming the file and the reason, empty on success.
std::string SaveProfile(const std::string& path, const Profile& profile, int languageOffset = kEnglishOffset);

std::string ToHex(const Memory::Cells& cells);

}  // namespace vantrel::sim
