// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// What compare, program --verify and program on several ports print, on the built-in
// simulator (--device, virtual clock); their exit paths are rows of DeviceCli.ExitPaths.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "TempFolder.h"
#include "cli/Cli.h"
#include "files/ProgramFile.h"

namespace {

using namespace vantrel;
using test::CliRun;
using test::kExample;
using test::RunCli;

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(ProductionCli, Compare_SameConfigurationEqual_ChangedFileMarkedRowsAndExitFive) {
    TempFolder folder;
    const std::string blank = test::WriteProfile(folder / "blank.json"), device = (folder / "programmed.json").string();
    ASSERT_EQ(RunCli({"--device", blank, "--save-device", device, "program", kExample}).exitCode, 0);
    const CliRun same = RunCli({"--device", device, "compare", kExample, "--json"});
    EXPECT_EQ(same.exitCode, cli::kExitDone) << same.err;
    EXPECT_NE(same.out.find("\"equal\":true,\"differing\":0"), std::string::npos);

    files::ReadResult file = files::ReadProgramFile(kExample);
    file.record.InRangeMax = 600;
    const std::string changed = (folder / "changed.D70").string();
    ASSERT_TRUE(files::WriteProgramFile(changed, file.record).ok());
    const CliRun different = RunCli({"--device", device, "compare", changed});
    EXPECT_EQ(different.exitCode, cli::kExitDifferent);
    EXPECT_EQ(Count(different.out, "\n* "), 1) << different.out;
    EXPECT_NE(different.out.find("* Input Range Max"), std::string::npos);
    EXPECT_NE(different.out.find("Fields that differ: 1"), std::string::npos);
}

TEST(ProductionCli, VerifyOnOneAndOnEightPorts_OneLinePerPortAndSummary) {
    TempFolder folder;
    const std::string profile = test::WriteProfile(folder / "p.json");
    const CliRun one = RunCli({"--device", profile, "program", kExample, "--verify"});
    EXPECT_EQ(one.exitCode, cli::kExitDone) << one.err;
    EXPECT_NE(one.out.find("Verified, cells checked: 223"), std::string::npos);

    std::vector<std::string> args = {"--device", profile};
    for (int i = 1; i <= 8; ++i) args.insert(args.end(), {"--port", "P" + std::to_string(i)});
    args.insert(args.end(), {"program", kExample, "--verify"});
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, cli::kExitDone) << run.err;
    EXPECT_EQ(Count(run.out, "programmed  verified (223 cells)"), 8) << run.out;
    EXPECT_NE(run.out.find("\nP8    serial "), std::string::npos);
    EXPECT_NE(run.out.find("8 ports, 8 programmed, 0 failed"), std::string::npos);
}

}  // namespace
