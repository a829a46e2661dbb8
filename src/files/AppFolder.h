// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/Settings.h"

// Where the program finds its own files and keeps the user's, in a build tree and once
// installed under a prefix (/usr, /usr/local, /opt/...):
//
//                      build tree (build/bin)     installed (PREFIX/bin)
//   programs           build/bin                  PREFIX/bin
//   help documents     build/bin                  PREFIX/share/doc/vantrel
//   examples, profile  build/bin                  PREFIX/share/vantrel
//   settings           build/bin (else config)    the user's config folder, never PREFIX/bin
namespace vantrel::files {

struct ProgramPlaces {
    std::filesystem::path programFolder;  // the folder of the executable
    bool installed = false;               // PREFIX/share/vantrel lies beside it
    std::filesystem::path dataFolder;     // examples/, profiles/
    std::filesystem::path docFolder;      // the help documents
};

// The places of a program whose executable lies in `programFolder`.
ProgramPlaces LocateProgram(const std::filesystem::path& programFolder);

// The places of the running program.
ProgramPlaces ThisProgram();

// The application folder: where the settings file and the new configuration names live.
// The --app-dir option wins, then the VANTREL_HOME environment variable, then the folder of
// the running executable for a build tree; an installed program has none (empty), its
// settings go to the user's configuration folder.
std::filesystem::path ResolveAppFolder(const std::optional<std::string>& appDirOption,
                                       const ProgramPlaces& program = ThisProgram());

// Where the settings file is read and written: the application folder first, the user's
// configuration folder (`userConfigFolder`, e.g. ~/.config/vantrel) when there is none or it
// cannot be written.
SettingsPlaces SettingsPlacesFor(const std::filesystem::path& appFolder, const std::filesystem::path& userConfigFolder);

// The store for what the 6-byte settings file cannot hold, beside the settings file: in the
// application folder when it can be written, else in the user's configuration folder.
std::filesystem::path PreferencesFile(const SettingsPlaces& places);

// Where "Help on line" looks for its documents, in order: the installed documentation
// folder, then beside the program (a build tree).
std::vector<std::filesystem::path> HelpFolders(const ProgramPlaces& program);

// The simulator's built-in device profile (profiles/default.json) from the build tree or
// PREFIX/share/vantrel; empty when neither holds it.
std::filesystem::path DefaultProfileFile(const ProgramPlaces& program = ThisProgram());

// The folder of the running executable (empty when it cannot be found).
std::filesystem::path ExecutableFolder();

// True when a file could be created in `folder` (which must exist).
bool FolderWritable(const std::filesystem::path& folder);

}  // namespace vantrel::files
