// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The device commands of vantrel-cli on the built-in simulator (--device, virtual clock):
// the JSON keys scripts rely on and the exit codes.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "Fifo.h"
#include "TempFolder.h"
#include "CliRun.h"
#include "JsonWrites.h"
#include "cli/Cli.h"
#include "files/ProgramFile.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace {

using vantrel::test::CliRun;
using vantrel::test::RunCli;
using vantrel::test::WritesOf;
using vantrel::test::kExample;

using namespace vantrel;

// Keys in the order given, each once, at the object's top level or where they are unique.
void ExpectKeysInOrder(const std::string& json, const std::vector<std::string>& keys) {
    std::size_t last = 0;
    for (const std::string& key : keys) {
        const std::size_t at = json.find("\"" + key + "\":");
        ASSERT_NE(at, std::string::npos) << key << " in " << json;
        EXPECT_GE(at, last) << key;
        last = at;
    }
}

struct DeviceCli : ::testing::Test {
    TempFolder folder;

    std::string Profile(const std::string& name, const std::function<void(sim::Profile&)>& change = {},
                        const std::string& faults = {}) {
        return test::WriteProfile(folder / name, change, faults);
    }
    std::string Default() { return Profile("default.json"); }
};

TEST_F(DeviceCli, Identify_JsonKeysAndValues) {
    const CliRun run = RunCli({"--device", Default(), "identify", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ExpectKeysInOrder(run.out, {"family", "model", "firmwareVersion", "firmwareRelease", "modelNames", "identityLine"});
    EXPECT_NE(run.out.find("\"family\":4,\"model\":10,\"firmwareVersion\":1,\"firmwareRelease\":0"), std::string::npos);
    EXPECT_NE(run.out.find("\"modelNames\":[\"KRV 8690 XB\",\"KRV 8736 / KRV 8748\"]"), std::string::npos);
    EXPECT_EQ(run.out.back(), '\n');
}

TEST_F(DeviceCli, Read_JsonKeysValuesAndSummaryWithCrLf) {
    const CliRun run = RunCli({"--device", Default(), "read", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ExpectKeysInOrder(run.out, {"serial", "customer", "yearCode", "order", "progressive", "inputCode", "flags",
                                "outputFlags", "outputType", "tripFlags", "rangeTop", "rangeBottom", "outputFirst",
                                "outputSecond", "zeroAdjust", "spanAdjust", "tripValues", "summary"});
    EXPECT_NE(run.out.find("\"inputCode\":1,"), std::string::npos);
    EXPECT_NE(run.out.find("\"rangeTop\":1000,\"rangeBottom\":0,"), std::string::npos);
    EXPECT_NE(run.out.find("\\r\\n\"}"), std::string::npos);  // summary lines end in CR LF
    const std::regex tripValues(R"("tripValues":\[[^,\]]+,[^,\]]+,[^,\]]+,[^,\]]+,[^,\]]+\])");
    EXPECT_TRUE(std::regex_search(run.out, tripValues)) << run.out;
}

TEST_F(DeviceCli, SerialAndDump_JsonKeys_DumpIsTheProfilesMemory) {
    const CliRun serial = RunCli({"--device", Default(), "serial", "--json"});
    ASSERT_EQ(serial.exitCode, 0) << serial.err;
    EXPECT_EQ(serial.out, "{\"customer\":12,\"yearCode\":5,\"order\":88,\"progressive\":2836}\n");

    const CliRun dump = RunCli({"--device", Default(), "dump", "--json"});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    const sim::ProfileResult parsed = sim::ParseProfile(dump.out);
    ASSERT_TRUE(parsed.profile) << parsed.error;
    EXPECT_EQ(parsed.profile->memory.cells(), sim::MakeDefaultProfile().memory.cells());
    EXPECT_EQ(parsed.profile->identity.family, 4);
}

TEST_F(DeviceCli, Measure_OneJsonObjectPerFrameWithLamps) {
    const CliRun run = RunCli({"--device", Default(), "measure", "--frames", "3", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        ExpectKeysInOrder(line, {"frame", "output", "outputUnit", "value", "unit", "underRange", "overRange", "trip1",
                                 "trip2"});
        EXPECT_NE(line.find("\"frame\":" + std::to_string(count) + ","), std::string::npos);
        EXPECT_NE(line.find("\"outputUnit\":\"mA\""), std::string::npos);
        EXPECT_NE(line.find("\"unit\":\"°C\""), std::string::npos);
        EXPECT_TRUE(std::regex_search(line, std::regex(R"re("trip1":"(green|red|yellow)")re"))) << line;
    }
    EXPECT_EQ(count, 3);
}

TEST_F(DeviceCli, WhatTheTransmitterDoesNotHaveIsNull_ModelNineTrips_UncalibratedOutput) {
    const std::string profile = Profile("nine.json", [](sim::Profile& p) { p.identity.model = 9; });
    const CliRun run = RunCli({"--device", profile, "measure", "--frames", "1", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"trip1\":null,\"trip2\":null"), std::string::npos) << run.out;

    // Family 4 with output type 0: no calibration row, no output value.
    const std::string typeZero = Profile("type0.json", [](sim::Profile& p) { p.memory.write(7, p.memory.read(7) & 252); });
    const CliRun read = RunCli({"--device", typeZero, "read", "--json"});
    EXPECT_NE(read.out.find("\"outputFirst\":null,\"outputSecond\":null"), std::string::npos) << read.out;
    const CliRun frames = RunCli({"--device", typeZero, "measure", "--frames", "1", "--json"});
    EXPECT_NE(frames.out.find("\"output\":null,\"outputUnit\":\"mA\",\"value\":null"), std::string::npos) << frames.out;
}

TEST_F(DeviceCli, Program_DryRunWritesEqualTheWritesThatLandInTheSavedDevice) {
    const std::string profile = Default();
    const std::string saved = (folder / "after.json").string();
    const CliRun dry = RunCli({"--device", profile, "program", kExample, "--dry-run", "--json"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    ExpectKeysInOrder(dry.out, {"status", "inputCode", "optionWord", "rangeMax", "rangeMin", "segments", "cjcSegments",
                                "writes"});
    const auto dryWrites = WritesOf(dry.out);
    ASSERT_GT(dryWrites.size(), 200u);

    // Program into a transmitter holding another configuration, then look at its memory.
    sim::Profile erased = sim::MakeDefaultProfile();
    for (const auto& [address, value] : dryWrites) erased.memory.write(static_cast<std::uint8_t>(address), 0);
    const std::string blank = (folder / "blank.json").string();
    ASSERT_EQ(sim::SaveProfile(blank, erased), "");
    const CliRun real = RunCli({"--device", blank, "--save-device", saved, "program", kExample, "--json"});
    ASSERT_EQ(real.exitCode, 0) << real.err;
    EXPECT_EQ(WritesOf(real.out), dryWrites);
    const sim::ProfileResult after = sim::LoadProfile(saved);
    ASSERT_TRUE(after.profile) << after.error;
    for (const auto& [address, value] : dryWrites)
        EXPECT_EQ(after.profile->memory.read(static_cast<std::uint8_t>(address)), value) << address;
}

TEST_F(DeviceCli, ExitCodes_MalformedOrMissingProfileIsReported) {
    const std::string bad = (folder / "bad.json").string();
    std::ofstream(bad) << "{\"family\": 4, \"model\": 10, \"memory\": \"00\"";
    const CliRun malformed = RunCli({"--device", bad, "read"});
    EXPECT_EQ(malformed.exitCode, 2);
    EXPECT_NE(malformed.err.find(bad), std::string::npos);
    EXPECT_TRUE(malformed.out.empty());
    const std::string none = (folder / "none.json").string();
    const CliRun missing = RunCli({"--device", none, "identify"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "vantrel-cli: " + none + ": The file, or the folder holding it, does not exist.\n");
    // A pipe is refused at once (it would block for ever), with its name and why.
    const std::string pipe = (folder / "pipe.json").string();
    FifoFeeder feeder(pipe, sim::ProfileJson(sim::MakeDefaultProfile()));
    const CliRun piped = RunCli({"--device", pipe, "identify"});
    EXPECT_EQ(piped.exitCode, 2);
    EXPECT_NE(piped.err.find(pipe + ": It is not a regular file"), std::string::npos) << piped.err;
}

TEST_F(DeviceCli, ExitCodes_AnOutputFileThatCannotBeWrittenIs8AndNamesIt) {
    const std::string unwritable = (folder / "no-such-folder" / "out.json").string();
    const CliRun run = RunCli({"--device", Default(), "--save-device", unwritable, "identify"});
    EXPECT_EQ(run.exitCode, cli::kExitOutputNotWritten);
    EXPECT_NE(run.err.find("The file cannot be written:\n" + unwritable + "\nThe file, or the folder holding it, does "
                           "not exist."),
              std::string::npos)
        << run.err;
    // A failure of the command itself stays the more telling exit code.
    const std::string deaf = Profile("deaf.json", {}, R"({"noReply":true})");
    EXPECT_EQ(RunCli({"--device", deaf, "--retries", "0", "--save-device", unwritable, "identify"}).exitCode, 1);
}

TEST_F(DeviceCli, ExitCodes_InvalidFileAndRefusedProgramming) {
    const std::string damaged = (folder / "short.D70").string();
    std::ofstream(damaged) << "not a programming file";
    const CliRun invalid = RunCli({"--device", Default(), "program", damaged, "--json"});
    EXPECT_EQ(invalid.exitCode, 4);
    EXPECT_TRUE(invalid.out.empty());
    EXPECT_EQ(RunCli({"--device", Default(), "program", (folder / "absent.D70").string()}).exitCode, 4);

    // A type S range of 0..100 °C is noisy: refused unless accepted.
    files::ReadResult example = files::ReadProgramFile(kExample);
    ASSERT_TRUE(example.ok());
    example.record.TcType = 2;
    example.record.InRangeMax = 100;
    const std::string noisy = (folder / "noisy.D70").string();
    ASSERT_TRUE(files::WriteProgramFile(noisy, example.record).ok());
    const std::string saved = (folder / "saved.json").string();
    const CliRun refused = RunCli({"--device", Default(), "--save-device", saved, "program", noisy, "--json"});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_NE(refused.out.find("\"status\":3"), std::string::npos);
    EXPECT_TRUE(WritesOf(refused.out).empty() || refused.out.find("\"writes\":[]") != std::string::npos);
    const sim::ProfileResult after = sim::LoadProfile(saved);
    ASSERT_TRUE(after.profile);
    EXPECT_EQ(after.profile->memory.cells(), sim::MakeDefaultProfile().memory.cells());
    EXPECT_EQ(RunCli({"--device", Default(), "program", noisy, "--accept-noisy"}).exitCode, 0);
}

}  // namespace

// Files that open but that no transmitter takes: refused before anything is written, with
// the field named, by every command that would plan them; the transmitter keeps its memory.
TEST_F(DeviceCli, ConfigurationsNoTransmitterTakes_ExitFourWithTheFieldNamedAndNothingWritten) {
    const auto variant = [&](const std::string& name, const std::function<void(device::ConfigRecord&)>& change) {
        files::ReadResult example = files::ReadProgramFile(kExample);
        EXPECT_TRUE(example.ok());
        change(example.record);
        const std::string path = (folder / name).string();
        EXPECT_TRUE(files::WriteProgramFile(path, example.record).ok());
        return path;
    };
    const std::string files[] = {
        variant("inverted.D70", [](device::ConfigRecord& r) { r.InRangeMin = 1000, r.InRangeMax = 0; }),
        variant("absurd.D70", [](device::ConfigRecord& r) { r.InRangeMin = -1e12f, r.InRangeMax = 1e12f; }),
        variant("wide-mv.D70", [](device::ConfigRecord& r) { r.InputType = 3, r.InRangeMin = 0, r.InRangeMax = 20000; }),
    };
    const std::string saved = (folder / "after.json").string();
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"program", file, "--dry-run"}, {"program", file, "--verify"},
              {"--port", "a", "--port", "b", "program", file}, {"report", file, "--out", (folder / "r.pdf").string()}}) {
            std::vector<std::string> args = {"--device", Default(), "--save-device", saved};
            args.insert(args.end(), command.begin(), command.end());
            const CliRun run = RunCli(args);
            EXPECT_EQ(run.exitCode, 4) << command.front() << run.err;
            EXPECT_NE(run.err.find("Input Range"), std::string::npos) << run.err;
        }
        EXPECT_FALSE(std::filesystem::exists(folder / "r.pdf"));
        const sim::ProfileResult after = sim::LoadProfile(saved);
        ASSERT_TRUE(after.profile);
        EXPECT_EQ(after.profile->memory.cells(), sim::MakeDefaultProfile().memory.cells());
    }
}
