// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings record on arbitrary bytes: decoding, the start-up rules and encoding agree.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "files/Settings.h"

using namespace vantrel::files;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto read = DecodeSettings(bytes);
    Require(read.has_value() == (size >= kSettingsSize), "six bytes or more are a record");
    const AppSettings start = SettingsAtStart(read);
    Require(start.LanguageChoice == 0 || start.LanguageChoice == 1, "start-up language is Italian or English");
    Require(start.TestAtStart == -1 && start.ModeIndex == 0, "start-up forces the test and the mode");
    if (!read) return 0;
    const auto encoded = EncodeSettings(*read);
    Require(std::equal(encoded.begin(), encoded.end(), bytes.begin()), "a record encodes to its own bytes");
    return 0;
}
