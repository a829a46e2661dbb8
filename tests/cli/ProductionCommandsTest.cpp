// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// compare, program --verify, program on several ports and the report's argument checks, on
// the built-in simulator (--device, virtual clock).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempFolder.h"
#include "CliRun.h"
#include "cli/Cli.h"
#include "files/ProgramFile.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace {

using vantrel::test::CliRun;
using vantrel::test::RunCli;
using vantrel::test::kExample;

using namespace vantrel;

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

struct ProductionCli : ::testing::Test {
    TempFolder folder;
    std::string Profile(const std::string& name, const std::string& faults = {}) {
        return test::WriteProfile(folder / name, {}, faults);
    }
    // A simulated transmitter that holds the example file's configuration.
    std::string Programmed() {
        const std::string saved = (folder / "programmed.json").string();
        EXPECT_EQ(RunCli({"--device", Profile("blank.json"), "--save-device", saved, "program", kExample}).exitCode, 0);
        return saved;
    }
};

TEST_F(ProductionCli, Compare_SameConfiguration_ExitZero_ChangedFile_ExitFiveWithMarkedRows) {
    const std::string device = Programmed();
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

TEST_F(ProductionCli, Compare_DamagedFileOrSilentTransmitter_ClearExitCodes) {
    const std::string damaged = (folder / "short.D70").string();
    std::ofstream(damaged) << "short";
    EXPECT_EQ(RunCli({"--device", Profile("d.json"), "compare", damaged}).exitCode, cli::kExitInvalidFile);
    const CliRun silent = RunCli({"--device", Profile("s.json", "{\"noReply\":true}"), "--retries", "0", "compare", kExample});
    EXPECT_EQ(silent.exitCode, cli::kExitCommunication);
}

TEST_F(ProductionCli, ProgramVerify_CorruptedCell_ExitSixWithTheCell) {
    const CliRun clean = RunCli({"--device", Profile("c.json"), "program", kExample, "--verify"});
    EXPECT_EQ(clean.exitCode, cli::kExitDone) << clean.err;
    EXPECT_NE(clean.out.find("Verified, cells checked: 223"), std::string::npos);

    const CliRun bad =
        RunCli({"--device", Profile("b.json", "{\"corruptWriteAddress\":40}"), "program", kExample, "--verify", "--json"});
    EXPECT_EQ(bad.exitCode, cli::kExitVerifyFailed);
    EXPECT_NE(bad.out.find("\"verified\":false"), std::string::npos);
    EXPECT_NE(bad.out.find("\"mismatches\":[[40,"), std::string::npos) << bad.out;
}

TEST_F(ProductionCli, SeveralPorts_OneLinePerPortAndSummary) {
    const std::string profile = Profile("p.json");
    std::vector<std::string> args = {"--device", profile};
    for (int i = 1; i <= 8; ++i) args.insert(args.end(), {"--port", "P" + std::to_string(i)});
    args.insert(args.end(), {"program", kExample, "--verify"});
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, cli::kExitDone) << run.err;
    EXPECT_EQ(Count(run.out, "programmed  verified (223 cells)"), 8) << run.out;
    EXPECT_NE(run.out.find("\nP8    serial "), std::string::npos);
    EXPECT_NE(run.out.find("8 ports, 8 programmed, 0 failed"), std::string::npos);
}

TEST_F(ProductionCli, SeveralPorts_WorstExitCodeWins) {
    // Every simulated port loads the same profile: a fault hits them all, so the exit code is
    // that of the fault.
    const CliRun run = RunCli({"--device", Profile("v.json", "{\"corruptWriteAddress\":40}"), "--port", "a", "--port", "b",
                         "program", kExample, "--verify", "--json"});
    EXPECT_EQ(run.exitCode, cli::kExitVerifyFailed);
    EXPECT_NE(run.out.find("\"programmed\":0"), std::string::npos) << run.out;

    // Transmitters that fall silent after 50 writes: written, not confirmed, as on one port.
    const CliRun silent = RunCli({"--device", Profile("w.json", "{\"silentAfterWrites\":50}"), "--retries", "0", "--port",
                                  "a", "--port", "b", "program", kExample, "--json"});
    EXPECT_EQ(silent.exitCode, cli::kExitNotConfirmed);
    EXPECT_EQ(Count(silent.out, "\"status\":\"written, not confirmed\""), 2) << silent.out;
}

TEST_F(ProductionCli, Report_DamagedFileLeavesNoReport) {
    const std::string damaged = (folder / "short.D70").string();
    std::ofstream(damaged) << "short";
    EXPECT_EQ(RunCli({"report", damaged, "--out", (folder / "r.pdf").string()}).exitCode, cli::kExitInvalidFile);
    EXPECT_FALSE(std::filesystem::exists(folder / "r.pdf"));
}

}  // namespace
