// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>

#include "TempFolder.h"
#include "files/AppFolder.h"

using namespace vantrel::files;

namespace {

// PREFIX/bin with PREFIX/share/vantrel and PREFIX/share/doc/vantrel, or a bare build/bin.
struct Tree {
    TempFolder root;
    explicit Tree(bool installed) {
        std::filesystem::create_directories(root / "bin");
        if (!installed) return;
        std::filesystem::create_directories(root / "share/vantrel/profiles");
        std::filesystem::create_directories(root / "share/doc/vantrel");
        std::ofstream(root / "share/vantrel/profiles/default.json") << "{}";
    }
    ProgramPlaces Program() const { return LocateProgram(root / "bin"); }
};

}  // namespace

TEST(AppFolder, InstalledProgramsKeepDataDocumentsAndSettingsOutOfBin) {
    unsetenv("VANTREL_HOME");
    const Tree installed(true);
    const ProgramPlaces p = installed.Program();
    EXPECT_TRUE(p.installed);
    EXPECT_EQ(p.dataFolder, installed.root / "share/vantrel");
    EXPECT_EQ(HelpFolders(p),
              (std::vector<std::filesystem::path>{installed.root / "share/doc/vantrel", installed.root / "bin"}));
    EXPECT_EQ(DefaultProfileFile(p), installed.root / "share/vantrel/profiles/default.json");
    // No application folder: the settings go to the user's configuration folder only.
    EXPECT_TRUE(ResolveAppFolder(std::nullopt, p).empty());
    const SettingsPlaces places = SettingsPlacesFor(ResolveAppFolder(std::nullopt, p), "/home/u/.config/vantrel");
    EXPECT_EQ(places.appFolder, "/home/u/.config/vantrel");
    EXPECT_TRUE(places.userFolder.empty());
    EXPECT_EQ(PreferencesFile(places), "/home/u/.config/vantrel/vantrel.conf");
    // --app-dir and VANTREL_HOME still choose a folder of their own.
    EXPECT_EQ(ResolveAppFolder(std::string("/srv/line3"), p), "/srv/line3");
}

TEST(AppFolder, ABuildTreeWorksAsBefore) {
    unsetenv("VANTREL_HOME");
    const Tree build(false);
    const ProgramPlaces p = build.Program();
    EXPECT_FALSE(p.installed);
    EXPECT_EQ(ResolveAppFolder(std::nullopt, p), build.root / "bin");
    EXPECT_EQ(HelpFolders(p), (std::vector<std::filesystem::path>{build.root / "bin"}));
    EXPECT_TRUE(DefaultProfileFile(p).empty());
    const SettingsPlaces places = SettingsPlacesFor(build.root / "bin", build.root / "config");
    EXPECT_EQ(PreferencesFile(places), build.root / "bin/vantrel.conf");
    setenv("VANTREL_HOME", "/srv/home", 1);
    EXPECT_EQ(ResolveAppFolder(std::nullopt, p), "/srv/home");
    unsetenv("VANTREL_HOME");
    // The tests run from the build tree, whose profile ships beside the programs.
    EXPECT_FALSE(DefaultProfileFile().empty());
}
