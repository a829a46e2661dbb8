// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The device commands of vantrel-cli on the built-in simulator (--device, virtual clock): the
// JSON scripts read, and every exit path, one row each. What the flows behind the commands do
// is tested on the session (tests/session, tests/measure); here only what the tool adds.
#include <gtest/gtest.h>

#include <QJsonDocument>

#include <fstream>
#include <optional>
#include <sstream>

#include "CliRun.h"
#include "Fifo.h"
#include "JsonWrites.h"
#include "TempFolder.h"
#include "cli/Cli.h"
#include "files/ProgramFile.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace {

using namespace vantrel;
using test::CliRun;
using test::kExample;
using test::WritesOf;

// Profiles and programming files the rows name as "{d}/NAME".
struct DeviceCli : ::testing::Test {
    TempFolder folder;
    std::optional<FifoFeeder> pipe;

    void SetUp() override {
        test::WriteProfile(folder / "default.json");
        test::WriteProfile(folder / "deaf.json", {}, R"({"noReply":true})");
        test::WriteProfile(folder / "corrupt.json", {}, R"({"corruptWriteAddress":40})");
        test::WriteProfile(folder / "silent50.json", {}, R"({"silentAfterWrites":50})");
        test::WriteProfile(folder / "nine.json", [](sim::Profile& p) { p.identity.model = 9; });
        // Family 4 with output type 0: no calibration row, no output value.
        test::WriteProfile(folder / "type0.json", [](sim::Profile& p) { p.memory.write(7, p.memory.read(7) & 252); });
        std::ofstream(folder / "bad.json") << "{\"family\": 4, \"model\": 10, \"memory\": \"00\"";
        std::ofstream(folder / "damaged.D70") << "not a programming file";
        pipe.emplace(folder / "pipe.json", sim::ProfileJson(sim::MakeDefaultProfile()));
        Variant("noisy.D70", [](device::ConfigRecord& r) { r.TcType = 2, r.InRangeMax = 100; });  // type S 0..100 °C
        // Files that open but that no transmitter takes.
        Variant("inverted.D70", [](device::ConfigRecord& r) { r.InRangeMin = 1000, r.InRangeMax = 0; });
        Variant("absurd.D70", [](device::ConfigRecord& r) { r.InRangeMin = -1e12f, r.InRangeMax = 1e12f; });
        Variant("wide-mv.D70", [](device::ConfigRecord& r) { r.InputType = 3, r.InRangeMin = 0, r.InRangeMax = 20000; });
    }
    void Variant(const std::string& name, const std::function<void(device::ConfigRecord&)>& change) {
        files::ReadResult example = files::ReadProgramFile(kExample);
        ASSERT_TRUE(example.ok());
        change(example.record);
        ASSERT_TRUE(files::WriteProgramFile(folder / name, example.record).ok());
    }
    std::string Expand(std::string text) const {
        for (std::size_t at; (at = text.find("{d}")) != std::string::npos;) text.replace(at, 3, folder.path().string());
        return text;
    }
    CliRun Run(std::vector<std::string> args) const {
        for (std::string& a : args) a = Expand(a);
        return test::RunCli(args);
    }
    static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
};

// Every --json output is JSON (measure: one object per line) with the values scripts rely on;
// what the transmitter does not have is null.
TEST_F(DeviceCli, JsonOutputs) {
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
        {{"identify"}, {"\"family\":4,\"model\":10,\"firmwareVersion\":1,\"firmwareRelease\":0",
                        "\"modelNames\":[\"KRV 8690 XB\",\"KRV 8736 / KRV 8748\"]"}},
        {{"read"}, {"\"inputCode\":1,", "\"rangeTop\":1000,\"rangeBottom\":0,", "\\r\\n\"}"}},
        {{"serial"}, {"{\"customer\":12,\"yearCode\":5,\"order\":88,\"progressive\":2836}\n"}},
        {{"measure", "--frames", "3"}, {"\"frame\":3,", "\"outputUnit\":\"mA\"", "\"unit\":\"°C\"", "\"trip1\":\""}},
        {{"program", kExample, "--verify"}, {"\"verified\":true", "\"cellsChecked\":223", "\"confirmed\":true"}},
        {{"--device", "{d}/nine.json", "measure", "--frames", "1"}, {"\"trip1\":null,\"trip2\":null"}},
        {{"--device", "{d}/type0.json", "read"}, {"\"outputFirst\":null,\"outputSecond\":null"}},
        {{"--device", "{d}/type0.json", "measure", "--frames", "1"}, {"\"output\":null,\"outputUnit\":\"mA\",\"value\":null"}},
    };
    for (const auto& [command, parts] : cases) {
        std::vector<std::string> args = {"--device", "{d}/default.json", "--json"};
        args.insert(args.end(), command.begin(), command.end());
        const CliRun run = Run(args);
        SCOPED_TRACE(::testing::PrintToString(command) + "\n" + run.out);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            QJsonParseError error;
            QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
            EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
        }
        for (const std::string& part : parts) EXPECT_TRUE(Has(run.out, part)) << part;
    }
    // The dump is a profile holding the transmitter's memory.
    const sim::ProfileResult dump = sim::ParseProfile(Run({"--device", "{d}/default.json", "dump", "--json"}).out);
    ASSERT_TRUE(dump.profile) << dump.error;
    EXPECT_EQ(dump.profile->memory.cells(), sim::MakeDefaultProfile().memory.cells());
}

TEST_F(DeviceCli, Program_DryRunWritesEqualTheWritesThatLandInTheSavedDevice) {
    const CliRun dry = Run({"--device", "{d}/default.json", "program", kExample, "--dry-run", "--json"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    const auto dryWrites = WritesOf(dry.out);
    ASSERT_GT(dryWrites.size(), 200u);

    // Program into a transmitter holding another configuration, then look at its memory.
    sim::Profile erased = sim::MakeDefaultProfile();
    for (const auto& [address, value] : dryWrites) erased.memory.write(static_cast<std::uint8_t>(address), 0);
    ASSERT_EQ(sim::SaveProfile((folder / "blank.json").string(), erased), "");
    const CliRun real = Run({"--device", "{d}/blank.json", "--save-device", "{d}/after.json", "program", kExample, "--json"});
    ASSERT_EQ(real.exitCode, 0) << real.err;
    EXPECT_EQ(WritesOf(real.out), dryWrites);
    const sim::ProfileResult after = sim::LoadProfile((folder / "after.json").string());
    ASSERT_TRUE(after.profile) << after.error;
    for (const auto& [address, value] : dryWrites)
        EXPECT_EQ(after.profile->memory.read(static_cast<std::uint8_t>(address)), value) << address;
}

// One row per way a device command ends. `untouched`: the row also saves the device and the
// transmitter must hold what it held before.
TEST_F(DeviceCli, ExitPaths) {
    struct Row {
        std::vector<std::string> args;
        int exit;
        std::vector<std::string> err;  // parts of stderr
        std::string out = {};          // a part of stdout
        bool untouched = false;
    };
    const std::string notWritten = "The file cannot be written:\n{d}/no-such-folder/x\nThe file, or the folder holding it, "
                                   "does not exist.";
    const std::vector<std::string> inputRange = {"Input Range"};
    const Row rows[] = {
        // The simulated device itself.
        {{"--device", "{d}/bad.json", "read"}, 2, {"{d}/bad.json"}},
        {{"--device", "{d}/none.json", "identify"}, 2,
         {"vantrel-cli: {d}/none.json: The file, or the folder holding it, does not exist.\n"}},
        {{"--device", "{d}/pipe.json", "identify"}, 2, {"{d}/pipe.json: It is not a regular file"}},
        {{"--port", "{d}/ttyMISSING", "identify"}, 1, {"vantrel-cli:"}},
        // Output files: a failure of the command itself stays the more telling exit code.
        {{"--device", "{d}/default.json", "--save-device", "{d}/no-such-folder/x", "identify"}, 8, {notWritten}},
        {{"--device", "{d}/deaf.json", "--retries", "0", "--save-device", "{d}/no-such-folder/x", "identify"}, 1, {}},
        {{"--device", "{d}/default.json", "measure", "--frames", "1", "--csv", "{d}/no-such-folder/x"}, 8,
         {"The log file cannot be written: {d}/no-such-folder/x"}},
        {{"--device", "{d}/default.json", "program", kExample, "--dry-run", "--preview", "{d}/no-such-folder/x.csv"}, 8,
         {"The file cannot be written:\n{d}/no-such-folder/x.csv"}},
        {{"--device", "{d}/default.json", "program", kExample, "--dry-run", "--preview", "x.txt"}, 2, {}},
        // --retries waits longer each time, then gives up.
        {{"--device", "{d}/deaf.json", "--retries", "3", "measure", "--frames", "1"}, 1,
         {"trying again in 1 s (1 of 3)", "trying again in 2 s (2 of 3)", "trying again in 4 s (3 of 3)"}},
        // Programming files that cannot be used, or that no transmitter takes: nothing written.
        {{"--device", "{d}/default.json", "program", "{d}/damaged.D70", "--json"}, 4, {}},
        {{"--device", "{d}/default.json", "program", "{d}/absent.D70"}, 4, {}},
        {{"--device", "{d}/default.json", "compare", "{d}/damaged.D70"}, 4, {}},
        {{"report", "{d}/damaged.D70", "--out", "{d}/r.pdf"}, 4, {}},
        {{"--device", "{d}/default.json", "program", "{d}/inverted.D70", "--dry-run"}, 4, inputRange, "", true},
        {{"--device", "{d}/default.json", "program", "{d}/absurd.D70", "--verify"}, 4, inputRange, "", true},
        {{"--device", "{d}/default.json", "--port", "a", "--port", "b", "program", "{d}/wide-mv.D70"}, 4, inputRange},
        {{"--device", "{d}/default.json", "report", "{d}/inverted.D70", "--out", "{d}/r.pdf"}, 4, inputRange},
        // A noisy range is refused unless accepted; its preview is still drawn and explained.
        {{"--device", "{d}/default.json", "program", "{d}/noisy.D70", "--json"}, 3, {}, "\"status\":3", true},
        {{"--device", "{d}/default.json", "program", "{d}/noisy.D70", "--dry-run", "--json", "--preview", "{d}/n.csv"}, 3,
         {"Narrow range"}, "\"status\":3"},
        {{"--device", "{d}/default.json", "program", "{d}/noisy.D70", "--accept-noisy"}, 0, {}},
        // Communication, verification and confirmation, on one port and on several.
        {{"--device", "{d}/deaf.json", "--retries", "0", "compare", kExample}, 1, {}},
        {{"--device", "{d}/corrupt.json", "program", kExample, "--verify", "--json"}, 6, {}, "\"mismatches\":[[40,"},
        {{"--device", "{d}/corrupt.json", "--port", "a", "--port", "b", "program", kExample, "--verify", "--json"}, 6, {},
         "\"programmed\":0"},
        {{"--device", "{d}/silent50.json", "--retries", "0", "--port", "a", "--port", "b", "program", kExample, "--json"},
         7, {}, "\"status\":\"written, not confirmed\""},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = row.args;
        if (row.untouched) args.insert(args.begin(), {"--save-device", "{d}/after.json"});
        const CliRun run = Run(args);
        SCOPED_TRACE(::testing::PrintToString(row.args) + "\n" + run.err);
        EXPECT_EQ(run.exitCode, row.exit);
        for (const std::string& part : row.err) EXPECT_TRUE(Has(run.err, Expand(part))) << part;
        EXPECT_TRUE(Has(run.out, row.out)) << run.out;
        if (row.exit == 2) { EXPECT_EQ(run.out, ""); }
        if (row.exit != 0) { EXPECT_FALSE(std::filesystem::exists(folder / "r.pdf")); }
        EXPECT_FALSE(std::filesystem::exists(folder / "no-such-folder"));
        if (row.untouched) {
            const sim::ProfileResult after = sim::LoadProfile((folder / "after.json").string());
            ASSERT_TRUE(after.profile);
            EXPECT_EQ(after.profile->memory.cells(), sim::MakeDefaultProfile().memory.cells());
            std::filesystem::remove(folder / "after.json");
        }
    }
    EXPECT_TRUE(std::filesystem::exists(folder / "n.csv"));
}

}  // namespace
