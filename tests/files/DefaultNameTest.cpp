// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "files/DefaultName.h"
#include "files/FolderListing.h"

using namespace vantrel::files;

TEST(DefaultName, FollowsTheLastDefaultFileOfTheFolder) {
    EXPECT_EQ(DefaultConfigName(std::vector<std::string>{}), "DfLt0000.D70");
    EXPECT_EQ(DefaultConfigName({"DfLt0007.D70"}), "DfLt0008.D70");
    EXPECT_EQ(DefaultConfigName({"DfLt0012.D70"}), "DfLt0013.D70");
    EXPECT_EQ(DefaultConfigName({"DfLt9999.D70"}), "DfLt10000.D70");
    EXPECT_EQ(DefaultConfigName({"DfLt0003.D70", "DfLt0001.D70"}), "DfLt0002.D70");
    EXPECT_EQ(DefaultConfigName({"DfLtxyz.D70"}), "DfLt0001.D70");
    EXPECT_EQ(DefaultConfigName({"dflt0005.D70", "readme.txt"}), "DfLt0000.D70");
}

TEST(DefaultName, TheFolderIsListedInNameOrder) {
    TempFolder app;
    for (const char* name : {"DfLt0012.D70", "DfLt0003.D70", "b.txt", "DfLt0007.D70"}) app.Write(name, {});
    EXPECT_EQ(ListFolder(app.path()), (std::vector<std::string>{"b.txt", "DfLt0003.D70", "DfLt0007.D70", "DfLt0012.D70"}));
    EXPECT_EQ(DefaultConfigNameIn(app.path()), "DfLt0013.D70");
}

TEST(DefaultName, OnlyANameStillBeginningWithDfLtCountsAsNeverSaved) {
    EXPECT_TRUE(IsDefaultConfigName("DfLt0000.D70"));
    EXPECT_FALSE(IsDefaultConfigName("/home/tech/DfLt0000.D70"));
    EXPECT_FALSE(IsDefaultConfigName("dflt0000.D70"));
}
