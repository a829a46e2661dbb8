// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-cli measure --csv and --retries on the built-in simulator (virtual clock).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempFolder.h"
#include "CliRun.h"
#include "cli/Cli.h"
#include "cli/LiveMeasure.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace {

using vantrel::test::CliRun;
using vantrel::test::RunCli;
using vantrel::test::kExample;

using namespace vantrel;

std::vector<std::string> Lines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

struct MeasureCsv : ::testing::Test {
    TempFolder folder;

    // The default transmitter with faults given as a JSON object.
    std::string Profile(const std::string& faults = "") { return test::WriteProfile(folder / "profile.json", {}, faults); }
    std::string Csv() const { return (folder / "out.csv").string(); }
};

TEST_F(MeasureCsv, FramesAndCsv_OneRowPerPrintedFrame) {
    const CliRun run = RunCli({"--device", Profile(), "measure", "--frames", "5", "--csv", Csv()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(Csv());
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], std::string(measure::kLogHeader) + "\r");
    // The default profile's input drifts and has noise, from a fixed sequence: the same rows each run.
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_NE(lines[i].find(",mA,25.2,°C,0,0,green,"), std::string::npos) << lines[i];
    // The frames are printed as without --csv.
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 5);
}

TEST_F(MeasureCsv, WithoutFrames_RunsUntilTheTransmitterFallsSilent_RowsIntact) {
    const CliRun run =
        RunCli({"--device", Profile("{\"silentAfterFrames\": 60}"), "--retries", "0", "measure", "--csv", Csv()});
    EXPECT_EQ(run.exitCode, 1);
    const std::vector<std::string> lines = Lines(Csv());
    ASSERT_GE(lines.size(), 40u);
    const auto printed = static_cast<std::size_t>(std::count(run.out.begin(), run.out.end(), '\n'));
    EXPECT_EQ(lines.size() - 1, printed);
    for (const std::string& line : lines) EXPECT_EQ(line.back(), '\r');
}

TEST_F(MeasureCsv, UnwritableFile_ClearMessageAndNothingSent) {
    const std::string bad = (folder / "missing" / "out.csv").string();
    const CliRun run = RunCli({"--device", Profile(), "measure", "--frames", "1", "--csv", bad});
    EXPECT_EQ(run.exitCode, cli::kExitOutputNotWritten);
    EXPECT_NE(run.err.find("The log file cannot be written: " + bad), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
    const CliRun italian = RunCli({"--device", Profile(), "--lang", "it", "measure", "--csv", bad});
    EXPECT_NE(italian.err.find("Il file di registrazione non può essere scritto"), std::string::npos) << italian.err;
    EXPECT_EQ(RunCli({"--device", Profile(), "measure", "--csv"}).exitCode, 2);
}

// The cable comes out after 20 frames and goes back in 18 s later, after the Retry answers
// (each opening the port again) have run out: with --retries the run reconnects, goes on
// measuring, the log holds every frame of both stretches, the gap between them marked by a row
// with the time alone, and the frame numbers go on.
TEST_F(MeasureCsv, PulledCable_RetriesReconnectAndTheLogGoesOn) {
    const std::string profile = Profile("{\"closeLineAfterFrames\": 20, \"replugAfterSeconds\": 18}");
    const CliRun run = RunCli({"--device", profile, "--retries", "3", "measure", "--frames", "40", "--csv", Csv()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("reconnecting"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("reconnected"), std::string::npos) << run.err;
    const std::vector<std::string> lines = Lines(Csv());
    ASSERT_EQ(lines.size(), 42u);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.ends_with(",,,,,,,,\r"); }), 1);
    EXPECT_NE(run.out.rfind("\n40  "), std::string::npos) << run.out;

    // Without retries the same pull ends the run, with the rows so far in the file.
    const CliRun once = RunCli({"--device", profile, "--retries", "0", "measure", "--frames", "40", "--csv", Csv()});
    EXPECT_EQ(once.exitCode, 1);
    const std::size_t rows = Lines(Csv()).size() - 1;
    EXPECT_GE(rows, 10u);
    EXPECT_LT(rows, 40u);
}

TEST_F(MeasureCsv, NothingAnswers_RetriesWaitLongerEachTimeThenGiveUp) {
    const CliRun run = RunCli({"--device", Profile("{\"noReply\": true}"), "--retries", "3", "measure", "--frames", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("trying again in 1 s (1 of 3)"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("trying again in 2 s (2 of 3)"), std::string::npos);
    EXPECT_NE(run.err.find("trying again in 4 s (3 of 3)"), std::string::npos);
    EXPECT_EQ(run.err.find("(4 of 3)"), std::string::npos);
}

}  // namespace
