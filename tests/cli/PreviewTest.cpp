// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// program FILE.D70 --dry-run --preview OUT.csv on the built-in simulator.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TempFolder.h"
#include "CliRun.h"
#include "cli/Cli.h"
#include "cli/PreviewOutput.h"
#include "files/ProgramFile.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace {

using vantrel::test::CliRun;
using vantrel::test::RunCli;
using vantrel::test::kExample;

using namespace vantrel;

struct PreviewCli : ::testing::Test {
    TempFolder folder;
    std::string profile;
    void SetUp() override {
        profile = (folder / "default.json").string();
        ASSERT_EQ(sim::SaveProfile(profile, sim::MakeDefaultProfile()), "");
    }
    std::string Read(const std::string& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The example turned into a type S 0..100 °C: about 0.65 mV, too narrow to be quiet.
    std::string NarrowTypeS() {
        files::ReadResult example = files::ReadProgramFile(kExample);
        EXPECT_TRUE(example.ok());
        example.record.TcType = 2;
        example.record.InRangeMax = 100;
        const std::string path = (folder / "changed.D70").string();
        EXPECT_TRUE(files::WriteProgramFile(path, example.record).ok());
        return path;
    }
};

}  // namespace

TEST_F(PreviewCli, TypeK_CsvHoldsTheCurveAndTheLargestErrorIsBelowOneDegree) {
    const std::string csv = (folder / "k.csv").string();
    const CliRun run = RunCli({"--lang", "en", "--device", profile, "program", kExample, "--dry-run", "--preview", csv});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Largest error: "), std::string::npos);
    const std::string text = Read(csv);
    ASSERT_EQ(text.rfind("value (°C),reference signal (mV),table signal (mV),error (°C)\n", 0), 0u);
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    int rows = 0;
    double worst = 0, lastValue = -1;
    while (std::getline(lines, line)) {
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

TEST_F(PreviewCli, NoisyRange_IsDrawnAndExplainedWhileProgrammingIsRefused) {
    const std::string csv = (folder / "noisy.csv").string();
    const CliRun run = RunCli({"--device", profile, "--lang", "it", "program", NarrowTypeS(), "--dry-run", "--json",
                         "--preview", csv});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("Campo stretto"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("Campo stretto"), std::string::npos);  // the JSON stays clean
    EXPECT_TRUE(std::filesystem::exists(csv));
}

TEST_F(PreviewCli, BadTargets_AreRefusedBeforeAnythingRunsAndLeaveNoFile) {
    EXPECT_EQ(RunCli({"--device", profile, "program", kExample, "--dry-run", "--preview", "x.txt"}).exitCode, 2);
    const std::string missing = (folder / "no-such-folder" / "out.csv").string();
    const CliRun run = RunCli({"--lang", "en", "--device", profile, "program", kExample, "--dry-run", "--preview", missing});
    EXPECT_EQ(run.exitCode, cli::kExitOutputNotWritten);
    EXPECT_NE(run.err.find("The file cannot be written:\n" + missing + "\nThe file, or the folder"), std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(missing));

    // An existing preview is replaced only by a complete one.
    const std::string kept = (folder / "kept.csv").string();
    std::ofstream(kept) << "old";
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    const CliRun blocked = RunCli({"--device", profile, "program", kExample, "--dry-run", "--preview", kept});
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    if (blocked.exitCode != 0) {
        EXPECT_EQ(Read(kept), "old");  // root may write anyway
    }
}

TEST(PreviewCliArguments, OnlyAPngPreviewNeedsTheGuiApplication) {
    EXPECT_TRUE(cli::NeedsGuiApplication({"program", "a.D70", "--dry-run", "--preview", "OUT.PNG"}));
    EXPECT_FALSE(cli::NeedsGuiApplication({"program", "a.D70", "--dry-run", "--preview", "out.csv"}));
    EXPECT_FALSE(cli::NeedsGuiApplication({"program", "a.D70", "--preview"}));
    EXPECT_FALSE(cli::NeedsGuiApplication({"read", "png"}));
}

TEST(DefaultDevice, NamesTheProfileThatShipsBesideThePrograms) {
    const CliRun run = RunCli({"--lang", "en", "--device", "default", "program", kExample, "--dry-run", "--preview",
                               (std::filesystem::temp_directory_path() / "vantrel-default-device.csv").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Largest error: "), std::string::npos) << run.out;
    std::filesystem::remove(std::filesystem::temp_directory_path() / "vantrel-default-device.csv");
}
