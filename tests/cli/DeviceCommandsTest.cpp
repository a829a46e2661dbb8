// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of vantrel-cli on the built-in simulator (--device, virtual clock): what they
// print and the files they write, and every exit path, one row each. What the flows behind
// the commands do is tested on the session (tests/session, tests/measure); here only what the
// tool adds.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <array>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

#include "CliRun.h"
#include "Fifo.h"
#include "JsonWrites.h"
#include "TempFolder.h"
#include "cli/Cli.h"
#include "cli/PreviewOutput.h"
#include "files/ProgramFile.h"
#include "measure/MeasurementLog.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace {

using namespace vantrel;
using test::CliRun;
using test::kExample;
using test::RunCli;
using test::WritesOf;

// Profiles and programming files the rows name as "{d}/NAME".
struct DeviceCli : ::testing::Test {
    TempFolder folder;
    std::optional<FifoFeeder> pipe;

    void SetUp() override {
        test::WriteProfile(folder / "default.json");
        test::WriteProfile(folder / "deaf.json", {}, R"({"noReply":true})");
        test::WriteProfile(folder / "corrupt.json", {}, R"({"corruptWriteAddress":40})");
        test::WriteProfile(folder / "badcode.json", {}, R"({"corruptWriteAddress":10})");  // the input code
        test::WriteProfile(folder / "silent50.json", {}, R"({"silentAfterWrites":50})");
        test::WriteProfile(folder / "nine.json", [](sim::Profile& p) { p.identity.model = 9; });
        // Family 4 with output type 0: no calibration row, no output value.
        test::WriteProfile(folder / "type0.json", [](sim::Profile& p) { p.memory.write(7, p.memory.read(7) & 252); });
        std::ofstream(folder / "bad.json") << "{\"family\": 4, \"model\": 10, \"memory\": \"00\"";
        std::ofstream(folder / "damaged.D70") << "not a programming file";
        pipe.emplace(folder / "pipe.json", sim::ProfileJson(sim::MakeDefaultProfile()));
        Variant("noisy.D70", [](device::ConfigRecord& r) { r.TcType = 2, r.InRangeMax = 100; });  // type S 0..100 °C
        Variant("changed.D70", [](device::ConfigRecord& r) { r.InRangeMax = 600; });
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
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
    std::vector<std::string> Lines(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
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
        // Without --verify, a configuration read back unlike the one written fails as well.
        {{"--device", "{d}/badcode.json", "program", kExample}, 6, {}},
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

TEST_F(DeviceCli, FileShow_JsonAndTextHoldTheFieldsAndTheFullPointTables) {
    const CliRun run = Run({"file", "show", kExample, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string& json = run.out;
    for (const char* part : {"{\"InputType\":", "\"InRangeMax\":1000,", "\"UnitCelsius\":-1,", "\"TripMode\":1}"})
        EXPECT_TRUE(Has(json, part)) << part;
    const std::size_t points = json.find("\"Points\":[");
    const std::size_t pointsCjc = json.find("\"PointsCjc\":[");
    const std::string table = json.substr(points, pointsCjc - points);
    EXPECT_EQ(std::count(table.begin(), table.end(), '['), 31);
    const std::string cjcTable = json.substr(pointsCjc, json.find(']', json.find("]]", pointsCjc)) - pointsCjc);
    EXPECT_EQ(std::count(cjcTable.begin(), cjcTable.end(), '['), 8);
    const CliRun text = Run({"file", "show", kExample});
    EXPECT_TRUE(Has(text.out, "OutRangeMax: 20\n") && Has(text.out, "TripMode: 1\n")) << text.out;
}

TEST_F(DeviceCli, FileShow_AFileThatCannotBeUsedExitsWith4NamingTheFileAndTheReason) {
    folder.Write("short.D70", std::vector<unsigned char>(100, 0));
    folder.Write("ff.D70", std::vector<unsigned char>(671, 0xFF));
    std::filesystem::create_directory(folder / "folder.D70");
    FifoFeeder filePipe(folder / "pipe.D70", std::string(671, '\0'));
    const std::pair<const char*, const char*> cases[] = {
        {"short.D70", "The file is too short for this format."},
        {"ff.D70", "The content is not in the expected format."},
        {"missing.D70", "The file, or the folder holding it, does not exist."},
        {"folder.D70", "It is a folder, not a file."},
        {"pipe.D70", "It is not a regular file (a device, a pipe or a socket): it is not opened."},
    };
    for (const auto& [name, reason] : cases) {
        const std::string path = (folder / name).string();
        const CliRun run = Run({"--lang", "en", "file", "show", path});
        EXPECT_EQ(run.exitCode, 4) << name;
        EXPECT_EQ(run.err, "Invalid File Format\n" + path + "\n" + reason + "\n");
        EXPECT_TRUE(run.out.empty());
    }
    // The same message for every command that reads a programming file.
    const std::string missing = (folder / "missing.D70").string();
    for (const std::vector<std::string>& args : {std::vector<std::string>{"compare", missing}, {"program", missing, "--dry-run"}})
        EXPECT_EQ(Run(args).err, Run({"file", "show", missing}).err) << args.front();
}

// "--device default" names the profile that ships beside the programs. How close the curve is
// to the standard is tested on the plan's preview (tests/device).
TEST_F(DeviceCli, Preview_TypeK_CsvHoldsTheCurveUpToTheRangeEnd) {
    const CliRun run = Run({"--lang", "en", "--device", "default", "program", kExample, "--dry-run", "--preview", "{d}/k.csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "Largest error: "));
    const std::vector<std::string> lines = Lines("k.csv");
    ASSERT_GT(lines.size(), 500u);
    ASSERT_EQ(lines[0], "value (°C),reference signal (mV),table signal (mV),error (°C)");
    // Four fields whatever the process locale: no decimal comma inside the comma-separated row.
    for (const std::string& line : lines) EXPECT_EQ(std::count(line.begin(), line.end(), ','), 3) << line;
    EXPECT_EQ(lines.back().rfind("1000.000000,", 0), 0u) << lines.back();
    // Only a PNG preview needs the GUI application.
    EXPECT_TRUE(cli::NeedsGuiApplication({"program", "a.D70", "--dry-run", "--preview", "OUT.PNG"}));
    EXPECT_FALSE(cli::NeedsGuiApplication({"program", "a.D70", "--dry-run", "--preview", "out.csv"}));
    EXPECT_FALSE(cli::NeedsGuiApplication({"program", "a.D70", "--preview"}));
    EXPECT_FALSE(cli::NeedsGuiApplication({"read", "png"}));
}

TEST_F(DeviceCli, MeasureCsv_OneRowPerPrintedFrame) {
    const CliRun run = Run({"--device", "{d}/default.json", "measure", "--frames", "5", "--csv", "{d}/out.csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines("out.csv");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], std::string(measure::kLogHeader) + "\r");
    // The default profile's input drifts and has noise, from a fixed sequence: the same rows each run.
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_TRUE(Has(lines[i], ",mA,25.2,°C,0,0,green,")) << lines[i];
    EXPECT_EQ(Count(run.out, "\n"), 5);  // printed as without --csv
}

// The cable comes out after 20 frames and goes back in 18 s later, after the Retry answers
// (each opening the port again) have run out: with --retries the run reconnects, goes on
// measuring, the log holds every frame of both stretches, the gap between them marked by a row
// with the time alone, and the frame numbers go on. Without retries the run ends there.
TEST_F(DeviceCli, PulledCable_RetriesReconnectAndTheLogGoesOn) {
    test::WriteProfile(folder / "pulled.json", {}, "{\"closeLineAfterFrames\": 20, \"replugAfterSeconds\": 18}");
    const CliRun run = Run({"--device", "{d}/pulled.json", "--retries", "3", "measure", "--frames", "40", "--csv", "{d}/o.csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.err, "reconnecting") && Has(run.err, "reconnected")) << run.err;
    const std::vector<std::string> lines = Lines("o.csv");
    ASSERT_EQ(lines.size(), 42u);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.ends_with(",,,,,,,,\r"); }), 1);
    EXPECT_NE(run.out.rfind("\n40  "), std::string::npos) << run.out;

    const CliRun once = Run({"--device", "{d}/pulled.json", "--retries", "0", "measure", "--frames", "40", "--csv", "{d}/o.csv"});
    EXPECT_EQ(once.exitCode, 1);
    EXPECT_GE(Lines("o.csv").size(), 11u);
    EXPECT_LT(Lines("o.csv").size(), 41u);
}

TEST_F(DeviceCli, Compare_SameConfigurationEqual_ChangedFileMarkedRowsAndExitFive) {
    ASSERT_EQ(Run({"--device", "{d}/default.json", "--save-device", "{d}/programmed.json", "program", kExample}).exitCode, 0);
    const CliRun same = Run({"--device", "{d}/programmed.json", "compare", kExample, "--json"});
    EXPECT_EQ(same.exitCode, cli::kExitDone) << same.err;
    EXPECT_TRUE(Has(same.out, "\"equal\":true,\"differing\":0"));
    const CliRun different = Run({"--device", "{d}/programmed.json", "compare", "{d}/changed.D70"});
    EXPECT_EQ(different.exitCode, cli::kExitDifferent);
    EXPECT_EQ(Count(different.out, "\n* "), 1) << different.out;
    EXPECT_TRUE(Has(different.out, "* Input Range Max") && Has(different.out, "Fields that differ: 1")) << different.out;
}

TEST_F(DeviceCli, VerifyOnOneAndOnEightPorts_OneLinePerPortAndSummary) {
    const CliRun one = Run({"--device", "{d}/default.json", "program", kExample, "--verify"});
    EXPECT_EQ(one.exitCode, cli::kExitDone) << one.err;
    EXPECT_TRUE(Has(one.out, "Verified, cells checked: 223"));
    std::vector<std::string> args = {"--device", "{d}/default.json"};
    for (int i = 1; i <= 8; ++i) args.insert(args.end(), {"--port", "P" + std::to_string(i)});
    args.insert(args.end(), {"program", kExample, "--verify"});
    const CliRun run = Run(args);
    EXPECT_EQ(run.exitCode, cli::kExitDone) << run.err;
    EXPECT_EQ(Count(run.out, "programmed  verified (223 cells)"), 8) << run.out;
    EXPECT_TRUE(Has(run.out, "\nP8    serial ") && Has(run.out, "8 ports, 8 programmed, 0 failed")) << run.out;
}

// ---- Command line --------------------------------------------------------------------------

using Locale = std::array<std::optional<std::string>, 3>;  // LC_ALL, LC_MESSAGES, LANG; unset when empty

// Sets the locale variables and gives back what they were.
Locale SetLocale(const Locale& values) {
    Locale old;
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (std::size_t i = 0; i < 3; ++i) {
        if (const char* was = std::getenv(names[i])) old[i] = was;
        if (values[i]) ::setenv(names[i], values[i]->c_str(), 1);
        else ::unsetenv(names[i]);
    }
    return old;
}

// The command-line conventions: --help and --version, usage errors refused with exit 2 and a
// one-line hint.
TEST_F(DeviceCli, HelpVersionAndUsageErrors) {
    const std::string profile = (folder / "default.json").string();
    const std::string hint = "; try 'vantrel-cli --help'\n";
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out;  // a regular expression the whole output matches
        std::string err;  // the whole error stream
    };
    const std::vector<Case> cases = {
        {{"--help"}, 0, "usage: vantrel-cli [^]*", ""},
        {{"read", "-h"}, 0, "usage: vantrel-cli [^]*", ""},
        {{"--version"}, 0, "vantrel-cli \\d+\\.\\d+\\.\\d+\n", ""},
        {{"read", "--bogus"}, 2, "", "vantrel-cli: unknown option '--bogus'" + hint},
        {{"-x", "ports"}, 2, "", "vantrel-cli: unknown option '-x'" + hint},
        {{"--device", profile, "measure", "--frames"}, 2, "", "vantrel-cli: missing value after '--frames'" + hint},
        {{"--device", profile, "measure", "--frames="}, 2, "", "vantrel-cli: missing value after '--frames'" + hint},
        {{"--retries", "1e999", "--device", profile, "read"}, 2, "", "vantrel-cli: --retries takes a whole number" + hint},
        {{"--device", profile, "measure", "--frames", "abc"}, 2, "", "vantrel-cli: --frames takes a whole number of at least 1" + hint},
        {{"--device", profile, "measure", "--frames", "1e300"}, 2, "", "vantrel-cli: --frames takes a whole number of at least 1" + hint},
        {{}, 2, "", "vantrel-cli: no command given" + hint},
        {{"history", "frob"}, 2, "", "vantrel-cli: unknown command 'history frob'" + hint},
        // --name=VALUE is --name VALUE; options stand before or after the command.
        {{"--no-history", "measure", "--frames=2", "--device=" + profile}, 0, "1  [^\n]*\n2  [^\n]*\n", ""},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.args);
        SCOPED_TRACE(::testing::PrintToString(c.args));
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_TRUE(std::regex_match(run.out, std::regex(c.out))) << run.out;
        EXPECT_EQ(run.err, c.err);
    }
    // More usage errors of each command, by exit code alone: nothing runs, nothing is printed.
    const std::vector<std::vector<std::string>> usageErrors = {
        {"identify"} /* neither --port nor --device */, {"--device", profile, "--port", "/dev/null", "identify"},
        {"--device", profile, "--port", "a", "read"}, {"--device", profile, "--port", "a", "--port", "b", "read"},
        {"--device", profile, "measure", "--frames", "0"}, {"--device", profile, "measure", "--frames", "1e999"},
        {"--device", profile, "program"}, {"--lang", "de", "--device", profile, "identify"}, {"--lang"},
        {"--retries", "-1", "--device", profile, "identify"}, {"--device"}, {"file", "show"},
        {"file", "show", "a", "b"}, {"report", kExample} /* --out missing */, {"--device", profile, "measure", "--csv"},
    };
    for (const auto& args : usageErrors) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, cli::kExitUsage) << ::testing::PrintToString(args);
        EXPECT_TRUE(run.out.empty()) << ::testing::PrintToString(args);
    }
}

// The language of the messages comes from the user's locale.
TEST(CommandLineLanguage, FromTheLocaleUnlessLangIsGiven) {
    const std::optional<std::string> none;
    const std::pair<Locale, int> cases[] = {  // 0 Italian, 1 English
        {{none, none, none}, 1},
        {{none, none, "it_IT.UTF-8"}, 0},
        {{none, none, "en_GB.UTF-8"}, 1},
        {{"C", none, "it_IT.UTF-8"}, 1},          // LC_ALL first
        {{"", "it_CH.UTF-8", "en_US.UTF-8"}, 0},  // an empty variable does not count
        {{none, "en_US.UTF-8", "it_IT.UTF-8"}, 1},
    };
    const Locale saved = SetLocale({none, none, none});
    for (const auto& [locale, languageIndex] : cases) {
        SetLocale(locale);
        EXPECT_EQ(cli::LanguageFromEnvironment(), languageIndex) << ::testing::PrintToString(locale);
    }
    // The whole tool (the message about a missing file): Italian from LANG, and --lang
    // still decides.
    SetLocale({none, none, "it_IT.UTF-8"});
    const std::string missing = "/nonexistent/missing.D70";
    const CliRun fromLocale = RunCli({"file", "show", missing});
    const CliRun english = RunCli({"--lang", "en", "file", "show", missing});
    const CliRun italianAsked = RunCli({"--lang", "it", "file", "show", missing});
    SetLocale(saved);
    EXPECT_EQ(fromLocale.exitCode, cli::kExitInvalidFile);
    EXPECT_EQ(fromLocale.err, italianAsked.err);
    EXPECT_NE(fromLocale.err, english.err);
}

// ---- History ---------------------------------------------------------------------------------

// vantrel-cli records its device commands in the history and reads it back: list, show,
// diff, export and check, on an SQLite file of the test's own.
struct HistoryCli : DeviceCli {
    std::string database = (folder / "history.sqlite").string();
    CliRun Run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--history", database});
        return DeviceCli::Run(args);
    }
    static int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }
};

TEST_F(HistoryCli, ReadAndProgramAreRecorded_ListShowDiffExportAndCheckReadThemBack) {
    const std::string device = "{d}/default.json", file = "{d}/changed.D70";

    ASSERT_EQ(Run({"--device", device, "read"}).exitCode, 0);
    const CliRun program = Run({"--device", device, "program", file});
    ASSERT_EQ(program.exitCode, 0) << program.err;
    EXPECT_EQ(program.err, "");

    // program loads the transmitter first: a read, then the programming.
    const CliRun list = Run({"history", "list", "--json"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    for (const char* expected : {"\"id\":1,", "\"id\":2,", "\"id\":3,", "\"operation\":\"program\"",
                                 "\"outcome\":\"done\"", "\"serial\":\"12-10-88-2836\"", "\"port\":\"simulator\""})
        EXPECT_NE(list.out.find(expected), std::string::npos) << expected << " in " << list.out;
    EXPECT_EQ(LineCount(Run({"history", "list", "--serial", "12 10 88 2836"}).out), 3);
    EXPECT_EQ(LineCount(Run({"history", "list", "--serial", "1-10-1-1"}).out), 0);
    EXPECT_EQ(LineCount(Run({"history", "list", "--since", "2000-01-01"}).out), 3);
    const CliRun show = Run({"history", "show", "3"});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    for (const char* part : {"Operation: program", "Outcome: done", "Writes: ", "Configuration:", "Memory after:",
                             "Input Range: 0 to 600"})
        EXPECT_NE(show.out.find(part), std::string::npos) << part << " in " << show.out;
    const std::pair<std::vector<std::string>, int> exits[] = {
        {{"history", "list", "--since", "yesterday"}, 2}, {{"history", "show", "9"}, 2}, {{"history", "diff", "1", "3"}, 5},
        {{"history", "diff", "1", "2"}, 0}, {{"history", "export", "--csv", "{d}/absent/h.csv"}, 8},
        {{"history", "export", "--csv", "{d}/history.csv", "--serial", "12-10-88-2836"}, 0},
    };
    for (const auto& [args, exit] : exits) EXPECT_EQ(Run(args).exitCode, exit) << ::testing::PrintToString(args);
    EXPECT_EQ(Lines("history.csv").size(), 4u);

    const CliRun intact = Run({"history", "check"});
    EXPECT_EQ(intact.exitCode, 0);
    EXPECT_EQ(intact.out, "History chain intact, entries: 3\n");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tamper"));
        db.setDatabaseName(QString::fromStdString(database));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("DELETE FROM history_entry WHERE id = 2"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tamper"));
    const CliRun broken = Run({"history", "check"});
    EXPECT_EQ(broken.exitCode, 9);
    EXPECT_EQ(broken.out, "History chain broken at entry 3: the entry before it is missing or was changed\n");
}

TEST_F(HistoryCli, UnsetSerialIsRecordedAsUnknownAndSaid_NoHistoryRecordsNothing_BadDatabaseIsAUsageError) {
    const std::string blank = test::WriteProfile(folder / "blank.json", [](sim::Profile& p) {
        for (int cell : {0, 13, 226, 227}) p.memory.write(static_cast<std::uint8_t>(cell), 0);
    });
    const CliRun read = Run({"--device", blank, "read"});
    ASSERT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.err, "Serial number not set: recorded in the history under \"unknown\"\n");
    EXPECT_NE(Run({"history", "list", "--serial", "unknown", "--json"}).out.find("\"serial\":\"unknown\""),
              std::string::npos);

    ASSERT_EQ(Run({"--no-history", "--device", blank, "identify"}).exitCode, 0);
    EXPECT_EQ(LineCount(Run({"history", "list"}).out), 1);

    EXPECT_EQ(test::RunCli({"--history", "mysql://db/history", "--device", blank, "read"}).exitCode, 2);
}

}  // namespace
