// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "Fifo.h"
#include "TempFolder.h"
#include "files/Settings.h"

using namespace vantrel::files;

namespace {

std::vector<unsigned char> Bytes(std::initializer_list<unsigned char> list) { return list; }

}  // namespace

// A first run in an empty folder is English and writes the default record; a stored record
// keeps its language and port, while the connection test and the mode are forced.
TEST(Settings, StartFromNothingOrFromTheStoredRecord_WritesItBackForced) {
    const std::vector<unsigned char> none;
    const struct {
        std::vector<unsigned char> stored, written;
        int language, port;
    } cases[] = {{none, Bytes({0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00}), 1, 0},
                 {Bytes({0x00, 0x00, 0x00, 0x00, 0x05, 0x01}), Bytes({0x00, 0x00, 0xFF, 0xFF, 0x05, 0x00}), 0, 5}};
    for (const auto& c : cases) {
        TempFolder app;
        if (!c.stored.empty()) app.Write("settings.vtr", c.stored);
        const SettingsPlaces places{app.path(), {}};
        const auto read = ReadSettings(places);
        EXPECT_EQ(read.has_value(), !c.stored.empty());
        const AppSettings start = SettingsAtStart(read);
        EXPECT_EQ(start.LanguageChoice, c.language);
        EXPECT_EQ(start.SavedPort, c.port);
        EXPECT_EQ(start.TestAtStart, -1);
        EXPECT_EQ(start.ModeIndex, 0);
        ASSERT_TRUE(WriteSettings(places, start).ok());
        EXPECT_EQ(app.Read("settings.vtr"), c.written);
    }
}

TEST(Settings, TheFirstNameEndingInVtrIsReadAndShortNamesAreIgnored) {
    TempFolder app;
    app.Write("avtr", Bytes({0x00, 0x00, 0x00, 0x00, 0x09, 0x00}));
    app.Write("copy.vtr", Bytes({0x00, 0x00, 0x00, 0x00, 0x03, 0x00}));
    app.Write("settings.vtr", Bytes({0x01, 0x00, 0xFF, 0xFF, 0x07, 0x00}));
    EXPECT_EQ(FindSettingsFile(app.path()), "copy.vtr");
    EXPECT_EQ(ReadSettings({app.path(), {}})->SavedPort, 3);
}

TEST(Settings, TheSearchIsCaseSensitiveOnTheEnding) {
    TempFolder app;
    app.Write("settings.VTR", Bytes({0x00, 0x00, 0x00, 0x00, 0x03, 0x00}));
    EXPECT_EQ(FindSettingsFile(app.path()), "");
}

TEST(Settings, AShortFileOrOneThatIsNoRegularFileReadsAsMissing) {
    TempFolder app;
    app.Write("settings.vtr", Bytes({0x00, 0x00, 0xFF}));
    EXPECT_FALSE(ReadSettings({app.path(), {}}));
    // A pipe listed first is never opened: start-up would wait on it for ever.
    FifoFeeder pipe(app / "a.vtr", std::string(6, '\0'));
    EXPECT_FALSE(ReadSettings({app.path(), {}}));
}

TEST(Settings, WritingKeepsTheTailOfALongerFile) {
    TempFolder app;
    app.Write("settings.vtr", Bytes({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x42, 0x43}));
    ASSERT_TRUE(WriteSettings({app.path(), {}}, AppSettings{}).ok());
    EXPECT_EQ(app.Read("settings.vtr"), Bytes({0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x42, 0x43}));
}

TEST(Settings, AnUnwritableApplicationFolderFallsBackToTheUserFolder) {
    TempFolder root;
    root.Write("not-a-folder", Bytes({0x00}));
    const SettingsPlaces places{root / "not-a-folder" / "app", root / "user"};
    AppSettings italian;
    italian.LanguageChoice = 0;
    ASSERT_TRUE(WriteSettings(places, italian).ok());
    EXPECT_EQ(root.Read("user/settings.vtr"), Bytes({0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}));
    const auto read = ReadSettings(places);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->LanguageChoice, 0);
}

TEST(Settings, ADamagedLanguageValueStartsInEnglish) {
    AppSettings damaged;
    damaged.LanguageChoice = 7;
    EXPECT_EQ(SettingsAtStart(damaged).LanguageChoice, 1);
}
