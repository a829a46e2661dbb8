// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Fifo.h"
#include "TempFolder.h"
#include "CliRun.h"
#include "cli/Cli.h"

using namespace vantrel::cli;

namespace {

using vantrel::test::CliRun;
using vantrel::test::RunCli;
using vantrel::test::kExample;

}  // namespace

TEST(FileShow, JsonHasOneKeyPerFieldInStoredOrderAndFullPointTables) {
    const CliRun run = RunCli({"file", "show", kExample, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string& json = run.out;
    std::size_t last = 0;
    for (const char* key : {"InputType", "TcType", "RtdSensor", "Wires", "PotRange", "Spare1", "Spare2",
                            "InRangeMax", "InRangeMin", "CjcInternal", "Spare3", "LinearOn", "LangOffset",
                            "UnitCelsius", "ZeroAdjust", "SpanAdjust", "CustomOn", "PointCount",
                            "PointCountCjc", "Points", "PointsCjc", "BurnoutDown", "OutputDirect",
                            "OutRangeMax", "OutRangeMin", "OutputType", "FilterOn", "Trip1High", "Trip1Low",
                            "Trip2High", "Trip2Low", "TripDelay", "TripMode"}) {
        const std::size_t at = json.find(std::string("\"") + key + "\":");
        ASSERT_NE(at, std::string::npos) << key;
        EXPECT_GT(at, last) << key;
        last = at;
    }
    EXPECT_NE(json.find("\"InRangeMax\":1000,"), std::string::npos);
    EXPECT_NE(json.find("\"UnitCelsius\":-1,"), std::string::npos);
    const std::size_t points = json.find("\"Points\":[");
    const std::size_t pointsCjc = json.find("\"PointsCjc\":[");
    const std::string table = json.substr(points, pointsCjc - points);
    EXPECT_EQ(std::count(table.begin(), table.end(), '['), 31);
    const std::string cjcTable = json.substr(pointsCjc, json.find(']', json.find("]]", pointsCjc)) - pointsCjc);
    EXPECT_EQ(std::count(cjcTable.begin(), cjcTable.end(), '['), 8);
}

TEST(FileShow, PlainTextListsTheFields) {
    const CliRun run = RunCli({"file", "show", kExample});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("OutRangeMax: 20\n"), std::string::npos);
    EXPECT_NE(run.out.find("TripMode: 1\n"), std::string::npos);
}

TEST(FileShow, AFileThatCannotBeUsedExitsWith4NamingTheFileAndTheReason) {
    TempFolder folder;
    folder.Write("short.D70", std::vector<unsigned char>(100, 0));
    folder.Write("damaged.D70", std::vector<unsigned char>(671, 0xFF));
    std::filesystem::create_directory(folder / "folder.D70");
    FifoFeeder pipe(folder / "pipe.D70", std::string(671, '\0'));
    const std::pair<const char*, const char*> cases[] = {
        {"short.D70", "The file is too short for this format."},
        {"damaged.D70", "The content is not in the expected format."},
        {"missing.D70", "The file, or the folder holding it, does not exist."},
        {"folder.D70", "It is a folder, not a file."},
        {"pipe.D70", "It is not a regular file (a device, a pipe or a socket): it is not opened."},
    };
    for (const auto& [name, reason] : cases) {
        const std::string path = (folder / name).string();
        const CliRun run = RunCli({"--lang", "en", "file", "show", path});
        EXPECT_EQ(run.exitCode, 4) << name;
        EXPECT_EQ(run.err, "Invalid File Format\n" + path + "\n" + reason + "\n");
        EXPECT_TRUE(run.out.empty());
    }
    // The same message for every command that reads a programming file, in the chosen language.
    const std::string missing = (folder / "missing.D70").string();
    const CliRun italian = RunCli({"--lang", "it", "program", missing, "--dry-run"});
    EXPECT_EQ(italian.exitCode, 4);
    EXPECT_EQ(italian.err, "Il formato del file specificato non è valido\n" + missing +
                               "\nIl file, o la cartella che lo contiene, non esiste.\n");
    EXPECT_EQ(RunCli({"compare", missing}).err, RunCli({"file", "show", missing}).err);
}

