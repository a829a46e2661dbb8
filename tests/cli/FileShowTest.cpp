#include <gtest/gtest.h>

#include <sstream>

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

TEST(FileShow, AnInvalidFileExitsWith4AndTheMessageInTheChosenLanguage) {
    TempFolder folder;
    folder.Write("short.D70", std::vector<unsigned char>(100, 0));
    CliRun run = RunCli({"file", "show", (folder / "short.D70").string()});
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(run.err, "Invalid File Format\n");
    EXPECT_TRUE(run.out.empty());
    run = RunCli({"--lang", "it", "file", "show", (folder / "missing.D70").string(), "--json"});
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(run.err, "Il formato del file specificato non è valido\n");
}

TEST(FileShow, UsageErrorsExitWith2) {
    EXPECT_EQ(RunCli({}).exitCode, 2);
    EXPECT_EQ(RunCli({"file", "show"}).exitCode, 2);
    EXPECT_EQ(RunCli({"file", "show", "a", "b"}).exitCode, 2);
    EXPECT_EQ(RunCli({"--lang", "de", "file", "show", kExample}).exitCode, 2);
    EXPECT_EQ(RunCli({"--lang"}).exitCode, 2);
    EXPECT_EQ(RunCli({"frobnicate"}).exitCode, 2);
}
