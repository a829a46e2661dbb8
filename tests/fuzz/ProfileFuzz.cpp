// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The device-profile reader on arbitrary text: never a crash; an accepted profile written
// back reads as the same profile.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "sim/Profile.h"

using namespace vantrel::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProfileResult parsed = ParseProfile(std::string_view(reinterpret_cast<const char*>(data), size));
    Require(parsed.profile.has_value() == parsed.error.empty(), "a refusal has a reason, an acceptance none");
    if (!parsed.profile) return 0;
    const ProfileResult again = ParseProfile(ProfileJson(*parsed.profile));
    Require(again.profile.has_value(), "a written profile reads back");
    Require(again.profile->memory.cells() == parsed.profile->memory.cells(), "the memory survives");
    Require(again.profile->identity.family == parsed.profile->identity.family &&
                again.profile->identity.model == parsed.profile->identity.model,
            "the identity survives");
    Require(again.profile->input.value == parsed.profile->input.value &&
                again.profile->input.coldJunction == parsed.profile->input.coldJunction,
            "the input values survive exactly");
    return 0;
}
