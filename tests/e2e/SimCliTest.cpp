// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-cli against vantrel-sim through a real pseudo-terminal, on real time. Few cases,
// each bounded by a generous time allowance; nothing here asserts on speed. The faults and
// their exit codes are tested in-process (tests/cli, tests/session, tests/sim), a vanishing
// pseudo-terminal in tests/link; here only what needs the real programs and a real port.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "JsonWrites.h"
#include "Processes.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

const std::string kExample = std::string(VANTREL_SOURCE_DIR) + "/examples/TC_K_0-1000C_4-20mA.D70";

struct SimCli : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("vantrel_e2e_" + std::to_string(::getpid()) + "_" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    std::string WriteProfile(const std::string& faults = "") {
        std::string json = sim::ProfileJson(sim::MakeDefaultProfile());
        if (!faults.empty()) json.insert(json.rfind('}'), ", \"faults\": " + faults + "\n");
        const std::string path = Path("profile.json");
        std::ofstream(path) << json;
        return path;
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    static ProcessResult Cli(std::vector<std::string> args) {
        args.insert(args.begin(), VANTREL_CLI_PATH);
        return RunProcess(std::move(args), 120);  // a programming with read-back takes about 30 s
    }
};

// One simulator process serves identify, read, measure and a programming whose bytes land in
// its memory dump exactly as the dry run on the built-in simulator planned them.
TEST_F(SimCli, IdentifyReadMeasureAndProgramThroughThePseudoTerminal) {
    const std::string profile = WriteProfile();
    const ProcessResult dry = Cli({"--device", profile, "program", kExample, "--dry-run", "--json"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    const auto planned = WritesOf(dry.out);
    ASSERT_GT(planned.size(), 200u);

    SimProcess sim(VANTREL_SIM_PATH, profile, Path("dump.json"), "");
    ASSERT_FALSE(sim.path().empty());
    const ProcessResult identify = Cli({"--port", sim.path(), "identify", "--json"});
    ASSERT_EQ(identify.exitCode, 0) << identify.err;
    EXPECT_NE(identify.out.find("\"family\":4,\"model\":10,\"firmwareVersion\":1"), std::string::npos) << identify.out;
    const ProcessResult read = Cli({"--port", sim.path(), "read", "--json"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_NE(read.out.find("\"rangeTop\":1000,\"rangeBottom\":0,"), std::string::npos);
    EXPECT_TRUE(read.err.empty()) << read.err;  // no Retry/Cancel box on a sound line
    const ProcessResult measure = Cli({"--port", sim.path(), "measure", "--frames", "3", "--json"});
    ASSERT_EQ(measure.exitCode, 0) << measure.err;
    EXPECT_EQ(std::count(measure.out.begin(), measure.out.end(), '\n'), 3);
    const ProcessResult program = Cli({"--port", sim.path(), "program", kExample, "--json"});
    ASSERT_EQ(program.exitCode, 0) << program.err;
    EXPECT_EQ(WritesOf(program.out), planned);
    ASSERT_EQ(sim.Stop(), 0);

    const sim::ProfileResult dumped = sim::LoadProfile(Path("dump.json"));
    ASSERT_TRUE(dumped.profile) << dumped.error;
    for (const auto& [address, value] : planned)
        EXPECT_EQ(dumped.profile->memory.read(static_cast<std::uint8_t>(address)), value) << "cell " << address;
}

}  // namespace
}  // namespace vantrel::test
