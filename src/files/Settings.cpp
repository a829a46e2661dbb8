#include "files/Settings.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "files/FolderListing.h"

namespace vantrel::files {

namespace {

using SettingsBytes = std::array<std::uint8_t, kSettingsSize>;

SettingsBytes Encode(const AppSettings& s) {
    const auto language = static_cast<std::uint16_t>(s.LanguageChoice);
    const auto test = static_cast<std::uint16_t>(s.TestAtStart);
    return {static_cast<std::uint8_t>(language & 0xFF), static_cast<std::uint8_t>(language >> 8),
            static_cast<std::uint8_t>(test & 0xFF),     static_cast<std::uint8_t>(test >> 8),
            s.SavedPort,                                 s.ModeIndex};
}

AppSettings Decode(const SettingsBytes& b) {
    AppSettings s;
    s.LanguageChoice = static_cast<std::int16_t>(b[0] | (b[1] << 8));
    s.TestAtStart = static_cast<std::int16_t>(b[2] | (b[3] << 8));
    s.SavedPort = b[4];
    s.ModeIndex = b[5];
    return s;
}

std::optional<AppSettings> ReadFrom(const std::filesystem::path& folder) {
    if (folder.empty()) return std::nullopt;
    const std::string name = FindSettingsFile(folder);
    if (name.empty()) return std::nullopt;
    std::ifstream in(folder / name, std::ios::binary);
    SettingsBytes bytes{};
    if (!in.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) return std::nullopt;
    return Decode(bytes);
}

// Overwrites the first 6 bytes, creating the file when missing; a longer file keeps its tail.
bool WriteTo(const std::filesystem::path& folder, const AppSettings& settings) {
    if (folder.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::filesystem::path path = folder / kSettingsFileName;
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!out.is_open()) out.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
    if (!out.is_open()) return false;
    const SettingsBytes bytes = Encode(settings);
    out.seekp(0);
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    out.flush();
    return static_cast<bool>(out);
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

bool WriteSettings(const SettingsPlaces& places, const AppSettings& settings) {
    return WriteTo(places.appFolder, settings) || WriteTo(places.userFolder, settings);
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
