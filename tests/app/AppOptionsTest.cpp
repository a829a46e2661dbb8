// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>

#include "app/AppOptions.h"
#include "app/Application.h"
#include "app/DisplayCheck.h"

using namespace vantrel::app;

TEST(AppOptions, EveryOptionWithItsValue_IsTaken) {
    const ParsedOptions parsed =
        ParseAppOptions({"--port", "/dev/pts/4", "--app-dir=/tmp/v", "--simulator", "dev.json", "K.D70"});
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.options.port, "/dev/pts/4");
    EXPECT_EQ(parsed.options.appDir, "/tmp/v");
    EXPECT_TRUE(parsed.options.simulator);
    EXPECT_EQ(parsed.options.simulatorProfile, "dev.json");
    EXPECT_EQ(parsed.options.fileToOpen, "K.D70");
}

TEST(AppOptions, SimulatorWithoutProfile_LeavesAFollowingProgrammingFileToBeOpened) {
    const ParsedOptions parsed = ParseAppOptions({"--simulator", "TC_K.D70"});
    ASSERT_TRUE(parsed.ok());
    EXPECT_TRUE(parsed.options.simulator);
    EXPECT_FALSE(parsed.options.simulatorProfile);
    EXPECT_EQ(parsed.options.fileToOpen, "TC_K.D70");

    const ParsedOptions last = ParseAppOptions({"--simulator"});
    EXPECT_TRUE(last.options.simulator);
    EXPECT_FALSE(last.options.simulatorProfile);
    EXPECT_EQ(ParseAppOptions({"--simulator=x.JSON"}).options.simulatorProfile, "x.JSON");
}

TEST(AppOptions, MistakesAreReportedNotGuessed) {
    EXPECT_FALSE(ParseAppOptions({"--port"}).ok());
    EXPECT_FALSE(ParseAppOptions({"--port", "--simulator"}).ok());
    EXPECT_FALSE(ParseAppOptions({"--port="}).ok());
    EXPECT_FALSE(ParseAppOptions({"--colour"}).ok());
    EXPECT_FALSE(ParseAppOptions({"a.D70", "b.D70"}).ok());
    EXPECT_TRUE(ParseAppOptions({"--help"}).options.help);
    EXPECT_TRUE(ParseAppOptions({"--version"}).options.version);
}

TEST(DisplayCheck, ADisplayOrAnExplicitQtPlatformIsNeeded) {
    std::map<std::string, std::string> variables;
    const EnvironmentLookup env = [&](const char* name) {
        const auto it = variables.find(name);
        return it == variables.end() ? std::string() : it->second;
    };
    EXPECT_FALSE(DisplayAvailable(env));
    variables["WAYLAND_DISPLAY"] = "wayland-0";
    EXPECT_TRUE(DisplayAvailable(env));
    variables = {{"DISPLAY", ":99"}};
    EXPECT_TRUE(DisplayAvailable(env));
    variables = {{"QT_QPA_PLATFORM", "offscreen"}};
    EXPECT_TRUE(DisplayAvailable(env));
    EXPECT_NE(NoDisplayMessage().find("vantrel-cli"), std::string::npos);

    EXPECT_TRUE(NamesQtPlatform({"-platform", "offscreen"}));
    EXPECT_FALSE(NamesQtPlatform({"--port", "3"}));
}
