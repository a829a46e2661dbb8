// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-cli file show: the stored fields as JSON or text, and why a file cannot be used.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "Fifo.h"
#include "TempFolder.h"

namespace {

using vantrel::test::CliRun;
using vantrel::test::RunCli;
using vantrel::test::kExample;

TEST(FileShow, JsonAndTextHoldTheFieldsAndTheFullPointTables) {
    const CliRun run = RunCli({"file", "show", kExample, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string& json = run.out;
    EXPECT_NE(json.find("{\"InputType\":"), std::string::npos);
    EXPECT_NE(json.find("\"InRangeMax\":1000,"), std::string::npos);
    EXPECT_NE(json.find("\"UnitCelsius\":-1,"), std::string::npos);
    EXPECT_NE(json.find("\"TripMode\":1}"), std::string::npos);
    const std::size_t points = json.find("\"Points\":[");
    const std::size_t pointsCjc = json.find("\"PointsCjc\":[");
    const std::string table = json.substr(points, pointsCjc - points);
    EXPECT_EQ(std::count(table.begin(), table.end(), '['), 31);
    const std::string cjcTable = json.substr(pointsCjc, json.find(']', json.find("]]", pointsCjc)) - pointsCjc);
    EXPECT_EQ(std::count(cjcTable.begin(), cjcTable.end(), '['), 8);

    const CliRun text = RunCli({"file", "show", kExample});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("OutRangeMax: 20\n"), std::string::npos);
    EXPECT_NE(text.out.find("TripMode: 1\n"), std::string::npos);
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
    // The same message for every command that reads a programming file.
    const std::string missing = (folder / "missing.D70").string();
    for (const std::vector<std::string>& args : {std::vector<std::string>{"compare", missing}, {"program", missing, "--dry-run"}})
        EXPECT_EQ(RunCli(args).err, RunCli({"file", "show", missing}).err) << args.front();
}

}  // namespace
