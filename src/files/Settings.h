// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "files/SafeWrite.h"

// The application settings file "settings.vtr": one 6-byte little-endian record that keeps
// the language (and the saved port) between runs.
namespace vantrel::files {

inline constexpr std::size_t kSettingsSize = 6;
inline constexpr const char* kSettingsFileName = "settings.vtr";

struct AppSettings {
    std::int16_t LanguageChoice = 1;  // 0 Italian, 1 English
    std::int16_t TestAtStart = -1;    // connection test at start (-1 = true)
    std::uint8_t SavedPort = 0;       // 0: choose automatically
    std::uint8_t ModeIndex = 0;       // 0 measurement, 1 programming
    friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

// The record from the first 6 bytes of a settings file; empty when there are fewer.
std::optional<AppSettings> DecodeSettings(std::span<const std::uint8_t> bytes);
// The 6 bytes of the record.
std::array<std::uint8_t, kSettingsSize> EncodeSettings(const AppSettings& settings);

// Where settings live: the application folder, and the per-user folder used when the
// application folder cannot be written (read from the application folder first).
struct SettingsPlaces {
    std::filesystem::path appFolder;
    std::filesystem::path userFolder;  // empty: none
};

// The first entry of the folder listing (in name order) longer than 4 characters whose last
// three characters are "vtr"; empty when there is none.
std::string FindSettingsFile(const std::filesystem::path& folder);

// The record from the first matching file of the application folder, else of the per-user
// folder; empty when none is found or it is shorter than 6 bytes.
std::optional<AppSettings> ReadSettings(const SettingsPlaces& places);

// Writes "settings.vtr" in the application folder (through SafeWrite, keeping whatever an
// existing longer file holds after the 6 bytes); when that fails, in the per-user folder.
// The outcome of the last attempt.
WriteResult WriteSettings(const SettingsPlaces& places, const AppSettings& settings);

// Start-up values: what was read, with the connection test forced on and the mode forced to
// measurement; the defaults (English, no saved port) when nothing could be read.
AppSettings SettingsAtStart(const std::optional<AppSettings>& read);

// The per-user configuration folder ($XDG_CONFIG_HOME/vantrel, else ~/.config/vantrel).
std::filesystem::path UserSettingsFolder();

}  // namespace vantrel::files
