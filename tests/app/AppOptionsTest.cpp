// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>

#include "app/AppOptions.h"
#include "app/Application.h"
#include "app/DisplayCheck.h"

using namespace vantrel::app;

TEST(AppOptions, EveryOptionWithItsValue_IsTaken_AProfileOnlyAfterTheSimulator) {
    const ParsedOptions parsed =
        ParseAppOptions({"--port", "/dev/pts/4", "--app-dir=/tmp/v", "--simulator", "dev.json", "K.D70"});
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.options.port, "/dev/pts/4");
    EXPECT_EQ(parsed.options.appDir, "/tmp/v");
    EXPECT_EQ(parsed.options.simulatorProfile, "dev.json");
    EXPECT_EQ(parsed.options.fileToOpen, "K.D70");
    // Without a profile, a following programming file is the file to open.
    const ParsedOptions file = ParseAppOptions({"--simulator", "TC_K.D70"});
    EXPECT_TRUE(file.options.simulator);
    EXPECT_FALSE(file.options.simulatorProfile);
    EXPECT_EQ(file.options.fileToOpen, "TC_K.D70");
    EXPECT_EQ(ParseAppOptions({"--simulator=x.JSON"}).options.simulatorProfile, "x.JSON");
}

TEST(AppOptions, MistakesAreReportedNotGuessed) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--port"}, {"--port", "--simulator"}, {"--port="}, {"--colour"}, {"a.D70", "b.D70"}})
        EXPECT_FALSE(ParseAppOptions(args).ok()) << args[0];
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
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM"}) {
        variables = {{name, "x"}};
        EXPECT_TRUE(DisplayAvailable(env)) << name;
    }
    EXPECT_TRUE(NamesQtPlatform({"-platform", "offscreen"}));
    EXPECT_FALSE(NamesQtPlatform({"--port", "3"}));
}
