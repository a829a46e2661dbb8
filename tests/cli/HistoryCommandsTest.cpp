// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-cli records its device commands in the history and reads it back: list, show,
// diff, export and check, on the built-in simulator and an SQLite file of the test's own.
#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>

#include <fstream>

#include "CliRun.h"
#include "TempFolder.h"
#include "files/ProgramFile.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace {

using namespace vantrel;
using test::CliRun;
using test::kExample;

struct HistoryCli : ::testing::Test {
    TempFolder folder;
    std::string database = (folder / "history.sqlite").string();

    std::string Profile(const std::string& name, const std::function<void(sim::Profile&)>& change = {}) {
        return test::WriteProfile(folder / name, change);
    }
    CliRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--history", database});
        return test::RunCli(args);
    }
    static int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }
};

TEST_F(HistoryCli, ReadAndProgramAreRecorded_ListShowDiffExportAndCheckReadThemBack) {
    const std::string device = Profile("device.json");
    files::ReadResult narrower = files::ReadProgramFile(kExample);
    narrower.record.InRangeMax = 500;
    const std::string file = (folder / "TC_K_0-500C.D70").string();
    ASSERT_TRUE(files::WriteProgramFile(file, narrower.record).ok());

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
    EXPECT_EQ(Lines(Run({"history", "list", "--serial", "12 10 88 2836"}).out), 3);
    EXPECT_EQ(Lines(Run({"history", "list", "--serial", "1-10-1-1"}).out), 0);
    EXPECT_EQ(Lines(Run({"history", "list", "--since", "2000-01-01"}).out), 3);
    EXPECT_EQ(Run({"history", "list", "--since", "yesterday"}).exitCode, 2);

    const CliRun show = Run({"history", "show", "3"});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    for (const char* part : {"Operation: program", "Outcome: done", "Writes: ", "Configuration:", "Memory after:",
                             "Input Range: 0 to 500"})
        EXPECT_NE(show.out.find(part), std::string::npos) << part << " in " << show.out;
    EXPECT_EQ(Run({"history", "show", "9"}).exitCode, 2);

    const CliRun diff = Run({"history", "diff", "1", "3"});
    EXPECT_EQ(diff.exitCode, 5) << diff.out << diff.err;
    EXPECT_EQ(Run({"history", "diff", "1", "2"}).exitCode, 0);

    const std::string csv = (folder / "history.csv").string();
    EXPECT_EQ(Run({"history", "export", "--csv", csv, "--serial", "12-10-88-2836"}).exitCode, 0);
    std::ifstream in(csv);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(Lines(text), 4) << text;
    EXPECT_EQ(Run({"history", "export", "--csv", (folder / "absent" / "h.csv").string()}).exitCode, 8);

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
    const std::string blank = Profile("blank.json", [](sim::Profile& p) {
        for (int cell : {0, 13, 226, 227}) p.memory.write(static_cast<std::uint8_t>(cell), 0);
    });
    const CliRun read = Run({"--device", blank, "read"});
    ASSERT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.err, "Serial number not set: recorded in the history under \"unknown\"\n");
    EXPECT_NE(Run({"history", "list", "--serial", "unknown", "--json"}).out.find("\"serial\":\"unknown\""),
              std::string::npos);

    ASSERT_EQ(Run({"--no-history", "--device", blank, "identify"}).exitCode, 0);
    EXPECT_EQ(Lines(Run({"history", "list"}).out), 1);

    EXPECT_EQ(test::RunCli({"--history", "mysql://db/history", "--device", blank, "read"}).exitCode, 2);
}

}  // namespace
