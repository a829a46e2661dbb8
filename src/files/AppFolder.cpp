// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/AppFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

// Paths from the programs' folder to the data and documentation folders of an installation,
// from the build's install layout (GNUInstallDirs).
#ifndef VANTREL_DATA_FROM_BIN
#define VANTREL_DATA_FROM_BIN "../share/vantrel"
#endif
#ifndef VANTREL_DOC_FROM_BIN
#define VANTREL_DOC_FROM_BIN "../share/doc/vantrel"
#endif

namespace vantrel::files {

namespace {

constexpr const char* kPreferencesName = "vantrel.conf";
constexpr const char* kDefaultProfile = "profiles/default.json";

bool IsFolder(const std::filesystem::path& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

}  // namespace

std::filesystem::path ExecutableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path();
}

ProgramPlaces LocateProgram(const std::filesystem::path& programFolder) {
    ProgramPlaces places;
    places.programFolder = programFolder;
    const std::filesystem::path data = (programFolder / VANTREL_DATA_FROM_BIN).lexically_normal();
    places.installed = IsFolder(data);
    places.dataFolder = places.installed ? data : programFolder;
    places.docFolder = places.installed ? (programFolder / VANTREL_DOC_FROM_BIN).lexically_normal() : programFolder;
    return places;
}

ProgramPlaces ThisProgram() {
    std::filesystem::path folder = ExecutableFolder();
    if (folder.empty()) folder = std::filesystem::current_path();
    return LocateProgram(folder);
}

std::filesystem::path ResolveAppFolder(const std::optional<std::string>& appDirOption, const ProgramPlaces& program) {
    if (appDirOption && !appDirOption->empty()) return std::filesystem::path(*appDirOption);
    if (const char* home = std::getenv("VANTREL_HOME"); home && *home) return std::filesystem::path(home);
    // Every user of an installed program would read a settings file written there (by root,
    // say): its settings live in each user's configuration folder instead.
    if (program.installed) return {};
    return program.programFolder;
}

SettingsPlaces SettingsPlacesFor(const std::filesystem::path& appFolder,
                                 const std::filesystem::path& userConfigFolder) {
    if (appFolder.empty()) return {userConfigFolder, {}};
    return {appFolder, userConfigFolder};
}

bool FolderWritable(const std::filesystem::path& folder) {
    return IsFolder(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::filesystem::path PreferencesFile(const SettingsPlaces& places) {
    if (FolderWritable(places.appFolder) || places.userFolder.empty()) return places.appFolder / kPreferencesName;
    return places.userFolder / kPreferencesName;
}

std::vector<std::filesystem::path> HelpFolders(const ProgramPlaces& program) {
    std::vector<std::filesystem::path> folders;
    if (program.installed) folders.push_back(program.docFolder);
    folders.push_back(program.programFolder);
    return folders;
}

std::filesystem::path DefaultProfileFile(const ProgramPlaces& program) {
    for (const std::filesystem::path& folder : {program.dataFolder, program.programFolder}) {
        std::error_code ec;
        std::filesystem::path file = folder / kDefaultProfile;
        if (std::filesystem::is_regular_file(file, ec)) return file;
    }
    return {};
}

}  // namespace vantrel::files
