// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-cli against vantrel-sim through a real pseudo-terminal, on real time. Few cases,
// each bounded by a generous time allowance; nothing here asserts on speed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "JsonWrites.h"
#include "Processes.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

constexpr double kCommandAllowance = 120;  // seconds; a programming with read-back takes about 30

const std::string kExample = std::string(VANTREL_SOURCE_DIR) + "/examples/TC_K_0-1000C_4-20mA.D70";

std::vector<std::string> LinesOf(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct SimCli : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("vantrel_e2e_" + std::to_string(::getpid()) + "_" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    std::string WriteProfile(const std::string& faults = "") {
        std::string json = sim::ProfileJson(sim::MakeDefaultProfile());
        if (!faults.empty()) json.insert(json.rfind('}'), ", \"faults\": " + faults + "\n");
        const std::string path = (dir / "profile.json").string();
        std::ofstream(path) << json;
        return path;
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    static ProcessResult Cli(std::vector<std::string> args) {
        args.insert(args.begin(), VANTREL_CLI_PATH);
        return RunProcess(std::move(args), kCommandAllowance);
    }
};

TEST_F(SimCli, IdentifyReadAndMeasureThroughThePseudoTerminal) {
    SimProcess sim(VANTREL_SIM_PATH, WriteProfile(), Path("dump.json"), Path("commands.log"));
    ASSERT_FALSE(sim.path().empty());

    const ProcessResult identify = Cli({"--port", sim.path(), "identify", "--json"});
    ASSERT_EQ(identify.exitCode, 0) << identify.err;
    EXPECT_NE(identify.out.find("\"family\":4,\"model\":10,\"firmwareVersion\":1"), std::string::npos) << identify.out;
    EXPECT_EQ(LinesOf(Path("commands.log")).back(), "$FPxx");  // identify leaves programming mode

    const ProcessResult read = Cli({"--port", sim.path(), "read", "--json"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_NE(read.out.find("\"inputCode\":1,"), std::string::npos);
    EXPECT_NE(read.out.find("\"rangeTop\":1000,\"rangeBottom\":0,"), std::string::npos);
    EXPECT_NE(read.out.find("Output Range: 4 to 20 mA"), std::string::npos);
    EXPECT_TRUE(read.err.empty()) << read.err;  // no Retry/Cancel box on a sound line

    const ProcessResult measure = Cli({"--port", sim.path(), "measure", "--frames", "3", "--json"});
    ASSERT_EQ(measure.exitCode, 0) << measure.err;
    std::istringstream lines(measure.out);
    int frames = 0;
    for (std::string line; std::getline(lines, line);) {
        ++frames;
        EXPECT_NE(line.find("\"frame\":" + std::to_string(frames) + ","), std::string::npos) << line;
        EXPECT_NE(line.find("\"outputUnit\":\"mA\""), std::string::npos) << line;
    }
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(SimCli, ProgramLandsThePlansBytesInTheTransmittersMemory) {
    const std::string profile = WriteProfile();
    // What the programming would write, computed on the built-in simulator of the same profile.
    const ProcessResult dry = Cli({"--device", profile, "program", kExample, "--dry-run", "--json"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    const auto planned = WritesOf(dry.out);
    ASSERT_GT(planned.size(), 200u);

    SimProcess sim(VANTREL_SIM_PATH, profile, Path("dump.json"), Path("commands.log"));
    ASSERT_FALSE(sim.path().empty());
    const ProcessResult program = Cli({"--port", sim.path(), "program", kExample, "--json"});
    ASSERT_EQ(program.exitCode, 0) << program.err;
    EXPECT_EQ(WritesOf(program.out), planned);
    ASSERT_EQ(sim.Stop(), 0);

    const sim::ProfileResult dumped = sim::LoadProfile(Path("dump.json"));
    ASSERT_TRUE(dumped.profile) << dumped.error;
    for (const auto& [address, value] : planned)
        EXPECT_EQ(dumped.profile->memory.read(static_cast<std::uint8_t>(address)), value) << "cell " << address;

    // The transmitter took exactly the planned writes, in order.
    std::vector<std::pair<int, int>> received;
    for (const std::string& line : LinesOf(Path("commands.log"))) {
        int address = 0, value = 0;
        if (std::sscanf(line.c_str(), "$W %d %d", &address, &value) == 2) received.emplace_back(address, value);
    }
    EXPECT_EQ(received, planned);
}

TEST_F(SimCli, DroppedReply_RetryRestartsTheBlockAfterFpxxFromSmPr) {
    // Replies: "$V", cells 0, 13, 226, 227, 1; the reply for cell 2 is lost.
    SimProcess sim(VANTREL_SIM_PATH, WriteProfile(R"({"dropReplies": 1, "dropRepliesAfter": 6})"), Path("dump.json"),
                   Path("commands.log"));
    ASSERT_FALSE(sim.path().empty());
    const ProcessResult read = Cli({"--port", sim.path(), "read", "--json"});
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_NE(read.err.find("[Retry]"), std::string::npos) << read.err;
    EXPECT_NE(read.out.find("\"inputCode\":1,"), std::string::npos);
    ASSERT_EQ(sim.Stop(), 0);

    const std::vector<std::string> log = LinesOf(Path("commands.log"));
    const std::vector<std::string> expected = {"SM", "PR", "$R 1", "$R 2", "$FPxx", "$FPxx", "SM", "PR", "$R 1", "$R 2",
                                               "SM", "PR", "$R 6"};
    const auto at = std::search(log.begin(), log.end(), expected.begin(), expected.end());
    EXPECT_NE(at, log.end()) << "command log:\n" << [&] {
        std::string all;
        for (const std::string& l : log) all += l + "\n";
        return all;
    }();
}

TEST_F(SimCli, CablePulledMidProgramming_NotConfirmedAndTheSimulatorStillDumps) {
    // About 60 commands read and identify; the line goes in the middle of the writes.
    SimProcess sim(VANTREL_SIM_PATH, WriteProfile(R"({"closeLineAfterCommands": 250})"), Path("dump.json"), "");
    ASSERT_FALSE(sim.path().empty());
    const ProcessResult program = Cli({"--port", sim.path(), "--retries", "0", "program", kExample, "--json"});
    EXPECT_EQ(program.exitCode, 7) << program.out << program.err;
    EXPECT_NE(program.err.find("not confirmed"), std::string::npos) << program.err;
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_TRUE(sim::LoadProfile(Path("dump.json")).profile);
}

// The cable comes out in the middle of a read and goes back in a second later: the port is
// seen gone at once, and one Retry opens it again under the same name and finishes the read.
TEST_F(SimCli, CablePulledAndPluggedBackMidRead_OneRetryReopensThePort) {
    SimProcess sim(VANTREL_SIM_PATH, WriteProfile(R"({"closeLineAfterCommands": 20, "replugAfterSeconds": 1})"),
                   Path("dump.json"), "", Path("ttyVANTREL"));
    ASSERT_EQ(sim.path(), Path("ttyVANTREL"));
    const ProcessResult read = Cli({"--port", sim.path(), "read", "--json"});
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_NE(read.out.find("\"inputCode\":1,"), std::string::npos);
    EXPECT_NE(read.err.find("The serial port disappeared: check the cable and the adapter. [Retry]"), std::string::npos)
        << read.err;
    EXPECT_EQ(read.err.find("impossible communicate"), std::string::npos) << read.err;
    EXPECT_EQ(read.err.find("[Retry]"), read.err.rfind("[Retry]"));  // a single Retry was enough
    EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(SimCli, PortThatDoesNotExist_ExitsOneWithAMessage) {
    const ProcessResult run = Cli({"--port", Path("ttyMISSING"), "identify"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("vantrel-cli:"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vantrel::test
