// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// program FILE.D70 --dry-run --preview OUT.csv on the built-in simulator; the refusals are
// rows of DeviceCli.ExitPaths.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "CliRun.h"
#include "TempFolder.h"
#include "cli/PreviewOutput.h"

namespace {

using namespace vantrel;
using test::CliRun;
using test::kExample;

// "--device default" names the profile that ships beside the programs.
TEST(PreviewCli, TypeK_CsvHoldsTheCurveAndTheLargestErrorIsBelowHalfADegree) {
    TempFolder folder;
    const std::string csv = (folder / "k.csv").string();
    const CliRun run = test::RunCli({"--lang", "en", "--device", "default", "program", kExample, "--dry-run", "--preview", csv});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Largest error: "), std::string::npos);
    std::ifstream in(csv);
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    ASSERT_EQ(line, "value (°C),reference signal (mV),table signal (mV),error (°C)");
    int rows = 0;
    double worst = 0, lastValue = -1;
    while (std::getline(in, line)) {
        double value, reference, table, error;
        char c1, c2, c3;
        std::istringstream fields(line);
        // Four fields whatever the process locale: no decimal comma inside the comma-separated row.
        ASSERT_EQ(std::count(line.begin(), line.end(), ','), 3) << line;
        ASSERT_TRUE(fields >> value >> c1 >> reference >> c2 >> table >> c3 >> error) << line;
        EXPECT_GT(value, lastValue);
        lastValue = value;
        worst = std::max(worst, std::abs(error));
        ++rows;
    }
    EXPECT_GT(rows, 500);
    EXPECT_NEAR(lastValue, 1000, 1e-3);
    EXPECT_LT(worst, 0.5);
}

TEST(PreviewCli, OnlyAPngPreviewNeedsTheGuiApplication) {
    EXPECT_TRUE(cli::NeedsGuiApplication({"program", "a.D70", "--dry-run", "--preview", "OUT.PNG"}));
    EXPECT_FALSE(cli::NeedsGuiApplication({"program", "a.D70", "--dry-run", "--preview", "out.csv"}));
    EXPECT_FALSE(cli::NeedsGuiApplication({"program", "a.D70", "--preview"}));
    EXPECT_FALSE(cli::NeedsGuiApplication({"read", "png"}));
}

}  // namespace
