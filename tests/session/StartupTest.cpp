// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "session/Startup.h"

using namespace vantrel;

TEST(Startup, AFirstStartIsEnglishWithADefaultNameAndAChangedConfiguration) {
    TempFolder app;
    device::WorkingState state;
    const auto result = session::StartUp({app.path(), {}}, state);
    EXPECT_FALSE(result.settingsFound);
    EXPECT_EQ(state.LanguageIndex(), 1);
    EXPECT_EQ(state.LanguageOffset(), 300);
    EXPECT_EQ(state.CurrentFile, "DfLt0000.D70");
    EXPECT_TRUE(state.ConfigChanged);
    EXPECT_FALSE(state.ForceSaveAs);
}

TEST(Startup, ItalianSettingsAndExistingDefaultFilesAreHonoured) {
    TempFolder app;
    app.Write("settings.vtr", {0x00, 0x00, 0x00, 0x00, 0x02, 0x01});
    app.Write("DfLt0007.D70", {});
    device::WorkingState state;
    const auto result = session::StartUp({app.path(), {}}, state);
    EXPECT_TRUE(result.settingsFound);
    EXPECT_EQ(result.settings.SavedPort, 2);
    EXPECT_EQ(result.settings.ModeIndex, 0);
    EXPECT_EQ(state.LanguageOffset(), 0);
    EXPECT_EQ(state.CurrentFile, "DfLt0008.D70");
}
