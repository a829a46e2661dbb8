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

struct ProfileResult {
    std::optional<Profile> profile;
    std::string error;  // what is wrong, for the user, when profile is empty
};

ProfileResult ParseProfile(std::string_view json);
ProfileResult LoadProfile(const std::string& path);

// Identity, memory and input as JSON (faults are not kept: they describe one run).
std::string ProfileJson(const Profile& profile);
// Writes through a temporary file and a rename, so a half-written profile never remains.
// Returns an error text, empty on success.
std::string SaveProfile(const std::string& path, const Profile& profile);

std::string ToHex(const Memory::Cells& cells);

}  // namespace vantrel::sim
