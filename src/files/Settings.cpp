// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Settings.h"

#include <array>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "files/FileAccess.h"
#include "files/FolderListing.h"

namespace vantrel::files {

using SettingsBytes = std::array<std::uint8_t, kSettingsSize>;

SettingsBytes EncodeSettings(const AppSettings& s) {
    const auto language = static_cast<std::uint16_t>(s.LanguageChoice);
    const auto test = static_cast<std::uint16_t>(s.TestAtStart);
    return {static_cast<std::uint8_t>(language & 0xFF), static_cast<std::uint8_t>(language >> 8),
            static_cast<std::uint8_t>(test & 0xFF),     static_cast<std::uint8_t>(test >> 8),
            s.SavedPort,                                 s.ModeIndex};
}

std::optional<AppSettings> DecodeSettings(std::span<const std::uint8_t> b) {
    if (b.size() < kSettingsSize) return std::nullopt;
    AppSettings s;
    s.LanguageChoice = static_cast<std::int16_t>(b[0] | (b[1] << 8));
    s.TestAtStart = static_cast<std::int16_t>(b[2] | (b[3] << 8));
    s.SavedPort = b[4];
    s.ModeIndex = b[5];
    return s;
}

namespace {

// The first matching entry is read only when it is a regular file of at least 6 bytes; a
// folder, a pipe or a device of that name counts as no settings (a pipe would never end).
std::optional<AppSettings> ReadFrom(const std::filesystem::path& folder) {
    if (folder.empty()) return std::nullopt;
    const std::string name = FindSettingsFile(folder);
    if (name.empty()) return std::nullopt;
    const ReadBytes read = ReadRegularFile(folder / name, kSettingsSize, false);
    if (!read.ok()) return std::nullopt;
    return DecodeSettings(read.bytes);
}

// Replaces the first 6 bytes, creating the file when missing; a longer file keeps its tail.
WriteResult WriteTo(const std::filesystem::path& folder, const AppSettings& settings) {
    if (folder.empty()) return {FileError::Missing};
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const SettingsBytes bytes = EncodeSettings(settings);
    return SafeWrite(folder / kSettingsFileName,
                     std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), ExistingTail::Keep);
}

bool EndsWithVtr(const std::string& name) {
    return name.size() > 4 && name.compare(name.size() - 3, 3, "vtr") == 0;
}

}  // namespace

std::string FindSettingsFile(const std::filesystem::path& folder) {
    for (const std::string& name : ListFolder(folder))
        if (EndsWithVtr(name)) return name;
    return {};
}

std::optional<AppSettings> ReadSettings(const SettingsPlaces& places) {
    if (auto settings = ReadFrom(places.appFolder)) return settings;
    return ReadFrom(places.userFolder);
}

WriteResult WriteSettings(const SettingsPlaces& places, const AppSettings& settings) {
    const WriteResult inAppFolder = WriteTo(places.appFolder, settings);
    if (inAppFolder.ok() || places.userFolder.empty()) return inAppFolder;
    return WriteTo(places.userFolder, settings);
}

AppSettings SettingsAtStart(const std::optional<AppSettings>& read) {
    AppSettings settings = read.value_or(AppSettings{});
    settings.TestAtStart = -1;
    settings.ModeIndex = 0;
    // A language value other than Italian (0) can only come from a damaged file; English is
    // the language of a first start.
    if (!read || settings.LanguageChoice != 0) settings.LanguageChoice = 1;
    if (!read) settings.SavedPort = 0;
    return settings;
}

std::filesystem::path UserSettingsFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return std::filesystem::path(xdg) / "vantrel";
    if (const char* home = std::getenv("HOME"); home && *home) return std::filesystem::path(home) / ".config" / "vantrel";
    return {};
}

}  // namespace vantrel::files
