// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-cli measure --csv and --retries on the built-in simulator (virtual clock).
#include <gtest/gtest.h>

#include <fstream>

#include "CliRun.h"
#include "TempFolder.h"
#include "cli/Cli.h"
#include "measure/MeasurementLog.h"

namespace {

using namespace vantrel;
using test::CliRun;
using test::RunCli;

std::vector<std::string> Lines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(MeasureCsv, FramesAndCsv_OneRowPerPrintedFrame) {
    TempFolder folder;
    const std::string csv = (folder / "out.csv").string();
    const CliRun run = RunCli({"--device", test::WriteProfile(folder / "p.json"), "measure", "--frames", "5", "--csv", csv});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(csv);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], std::string(measure::kLogHeader) + "\r");
    // The default profile's input drifts and has noise, from a fixed sequence: the same rows each run.
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_NE(lines[i].find(",mA,25.2,°C,0,0,green,"), std::string::npos) << lines[i];
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 5);  // printed as without --csv
}

// The cable comes out after 20 frames and goes back in 18 s later, after the Retry answers
// (each opening the port again) have run out: with --retries the run reconnects, goes on
// measuring, the log holds every frame of both stretches, the gap between them marked by a row
// with the time alone, and the frame numbers go on. Without retries the run ends there.
TEST(MeasureCsv, PulledCable_RetriesReconnectAndTheLogGoesOn) {
    TempFolder folder;
    const std::string csv = (folder / "out.csv").string();
    const std::string profile =
        test::WriteProfile(folder / "p.json", {}, "{\"closeLineAfterFrames\": 20, \"replugAfterSeconds\": 18}");
    const CliRun run = RunCli({"--device", profile, "--retries", "3", "measure", "--frames", "40", "--csv", csv});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("reconnecting"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("reconnected"), std::string::npos) << run.err;
    const std::vector<std::string> lines = Lines(csv);
    ASSERT_EQ(lines.size(), 42u);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.ends_with(",,,,,,,,\r"); }), 1);
    EXPECT_NE(run.out.rfind("\n40  "), std::string::npos) << run.out;

    const CliRun once = RunCli({"--device", profile, "--retries", "0", "measure", "--frames", "40", "--csv", csv});
    EXPECT_EQ(once.exitCode, 1);
    const std::size_t rows = Lines(csv).size() - 1;
    EXPECT_GE(rows, 10u);
    EXPECT_LT(rows, 40u);
}

}  // namespace
