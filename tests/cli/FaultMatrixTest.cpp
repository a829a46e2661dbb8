// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every fault the simulated transmitter can play, at every stage of every device command of
// vantrel-cli (in-process, built-in simulator, virtual clock): the exit code, the message and
// what the transmitter holds afterwards, one table. Nothing wrong is ever written, and
// nothing is reported as done that was not.
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <functional>
#include <sstream>
#include <tuple>

#include "CliRun.h"
#include "JsonWrites.h"
#include "TempFolder.h"
#include "cli/Cli.h"
#include "files/ProgramFile.h"
#include "resources/StringTable.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"
#include "sim/Transmitter.h"

namespace {

using namespace vantrel;
using Kind = sim::Command::Kind;

// Where a stage starts: what the transmitter had taken and sent before its first command.
struct Stage {
    int commands = 0;
    int replies = 0;
    int frames = 0;
    int writes = 0;
};

enum Column { kIdentify, kRead, kBeforeWrites, kDuringWrites, kAfterWrites, kMeasure, kSerial, kColumns };
constexpr std::array<const char*, kColumns> kColumnNames = {"identify",       "read",    "program/before",
                                                            "program/during", "program/after", "measure",
                                                            "serial"};

struct Outcome {
    int exit = -1;
    std::string out, err;
    sim::Memory::Cells memory{};
    bool programmingMode = false;
    bool streaming = false;
    int writesTaken = 0;
    std::vector<std::pair<Kind, Stage>> log;  // every command taken, with the counts before it
};

struct Row {
    const char* fault;
    std::function<std::string(const Stage&, Column)> faults;  // the profile's "faults" object
    int retries;
    // Per column: the exit code, and for the program columns what the memory holds:
    // "u" unchanged, "p" programmed, "x" a first part of the writes.
    std::array<const char*, kColumns> expected;
    const char* failureText;  // on stderr of every cell that fails with code 1
    const char* successText;  // on stderr of every cell that succeeds; "" = stderr empty
    bool interrupt = false;   // Ctrl-C when the stage starts, instead of a fault
};

std::string Json(const std::string& text) { return "{" + text + "}"; }
std::string Field(const char* name, int value) { return "\"" + std::string(name) + "\":" + std::to_string(value); }

struct FaultMatrix : ::testing::Test {
    TempFolder folder;
    std::string file;                              // a K 0..500 °C configuration: unlike the profile's
    std::vector<std::pair<int, int>> plan;         // the writes programming makes, in order
    std::array<Stage, kColumns> stages;
    sim::Memory::Cells original = sim::MakeDefaultProfile().memory.cells();

    static std::vector<std::string> Command(Column column, const std::string& file) {
        switch (column) {
            case kIdentify: return {"identify"};
            case kRead: return {"read"};
            case kMeasure: return {"measure", "--frames", "5"};
            case kSerial: return {"serial"};
            default: return {"program", file, "--json"};
        }
    }

    // interruptAt: the number of commands after which SIGINT comes (-1: none).
    Outcome Run(Column column, const std::string& faults, int retries, int interruptAt = -1) {
        const std::string profile = vantrel::test::WriteProfile(folder / "profile.json", {}, faults);

        Outcome o;
        cli::SimulatorWatch watch;
        watch.started = [&o, interruptAt](sim::Transmitter& t) {
            t.setCommandListener([&o, &t, interruptAt](const sim::Command& c) {
                o.log.push_back({c.kind, {t.commandsReceived() - 1, t.repliesSent(), t.framesSent(), t.writesTaken()}});
                if (t.commandsReceived() - 1 == interruptAt) std::raise(SIGINT);
            });
        };
        watch.ended = [&o](const sim::Transmitter& t) {
            o.memory = t.memory().cells();
            o.programmingMode = t.programmingMode();
            o.streaming = t.streaming();
            o.writesTaken = t.writesTaken();
        };
        std::vector<std::string> args = {"--device", profile, "--retries", std::to_string(retries)};
        for (const std::string& word : Command(column, file)) args.push_back(word);
        std::ostringstream out, err;
        o.exit = cli::Run(args, out, err, &watch);
        std::tie(o.out, o.err) = std::pair(out.str(), err.str());
        return o;
    }

    // The counts before the n-th (1-based) command of a kind; n < 0 counts from the end.
    static Stage At(const Outcome& o, Kind kind, int n) {
        std::vector<Stage> found;
        for (const auto& [k, stage] : o.log)
            if (k == kind) found.push_back(stage);
        if (found.size() < static_cast<std::size_t>(std::abs(n))) { ADD_FAILURE() << "too few commands"; return {}; }
        return found[n > 0 ? static_cast<std::size_t>(n - 1) : found.size() - static_cast<std::size_t>(-n)];
    }

    void SetUp() override {
        files::ReadResult example = files::ReadProgramFile(vantrel::test::kExample);
        ASSERT_TRUE(example.ok());
        example.record.InRangeMax = 500;
        file = (folder / "k500.D70").string();
        ASSERT_TRUE(files::WriteProgramFile(file, example.record).ok());

        // Where each stage starts, from clean runs.
        const Outcome identify = Run(kIdentify, "", 0), read = Run(kRead, "", 0), program = Run(kDuringWrites, "", 0),
                      measure = Run(kMeasure, "", 0), serial = Run(kSerial, "", 0);
        for (const Outcome* clean : {&identify, &read, &program, &measure, &serial}) ASSERT_EQ(clean->exit, 0) << clean->err;
        plan = vantrel::test::WritesOf(program.out);
        ASSERT_GT(plan.size(), 200u);
        stages[kIdentify] = At(identify, Kind::Version, 1);
        stages[kRead] = At(read, Kind::Read, 1);
        stages[kBeforeWrites] = At(program, Kind::Version, 2);  // the programming's device check
        stages[kDuringWrites] = At(program, Kind::Write, 50);
        stages[kAfterWrites] = At(program, Kind::Write, -1);
        stages[kAfterWrites].writes = static_cast<int>(plan.size());
        stages[kAfterWrites].commands += 3;  // the last write and the two "$FPxx": the read-back is next
        stages[kMeasure] = At(measure, Kind::Version, 2);  // the measurement's device check
        stages[kSerial] = At(serial, Kind::Read, 1);
    }

    // The original memory with the first `count` planned writes in it.
    sim::Memory::Cells Written(int count) const {
        sim::Memory::Cells cells = original;
        for (int i = 0; i < count; ++i)
            cells[static_cast<std::size_t>(plan[static_cast<std::size_t>(i)].first)] =
                static_cast<std::uint8_t>(plan[static_cast<std::size_t>(i)].second);
        return cells;
    }
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(FaultMatrix, EveryFaultAtEveryStage_OutcomeMessageAndMemory) {
    const std::string notConfirmed = resources::Text(resources::text::kNotConfirmed, 300);
    const std::string disappeared = resources::Text(resources::text::kPortDisappeared, 300);
    const std::string noAnswer = resources::Text(85, 300);
    const std::string cancelled = resources::Text(resources::text::kOperationCancelled, 300);
    const auto drop = [](const Stage& s, Column) { return Json("\"dropReplies\":1," + Field("dropRepliesAfter", s.replies)); };
    const auto pull = [](const Stage& s, Column) { return Json(Field("closeLineAfterCommands", s.commands + 1)); };
    const Row rows[] = {
        {"dropped reply", drop, 2, {"0", "0", "0p", "0p", "0p", "0", "0"}, "", "[Retry]"},
        {"dropped reply, no Retry", drop, 0, {"1", "1", "1u", "7p", "7p", "1", "1"}, "[Cancel]", ""},
        {"noise before replies", [](const Stage&, Column) { return Json("\"noiseBeforeReplies\":true"); }, 0,
         {"0", "0", "0p", "0p", "0p", "0", "0"}, "", ""},
        {"replies 1 s late", [](const Stage&, Column) { return Json("\"replyDelaySeconds\":1"); }, 0,
         {"0", "0", "0p", "0p", "0p", "0", "0"}, "", ""},
        {"replies 6 s late", [](const Stage& s, Column) {
             return Json("\"replyDelaySeconds\":6," + Field("delayRepliesAfter", s.replies)); }, 0,
         {"1", "1", "1u", "7p", "7p", "1", "1"}, "[Cancel]", ""},
        {"wrong identity from the stage on", [](const Stage& s, Column) {
             return Json("\"reportedFamily\":2," + Field("wrongIdentityAfterReplies", s.replies)); }, 2,
         {"0", "0", "1u", "0p", "0p", "1", "0"}, "Device changed", ""},
        {"silent stream", [](const Stage& s, Column) { return Json(Field("silentAfterFrames", s.frames)); }, 2,
         {"0", "0", "0p", "0p", "0p", "1", "0"}, noAnswer.c_str(), ""},
        {"falls silent", [](const Stage& s, Column c) {
             return Json(c == kDuringWrites ? Field("silentAfterWrites", s.writes + 1)
                                            : Field("silentAfterReplies", s.replies)); }, 2,
         {"1", "1", "1u", "7x", "7p", "1", "1"}, noAnswer.c_str(), ""},
        {"cable pulled", pull, 2, {"1", "1", "1u", "7x", "7p", "1", "1"}, disappeared.c_str(), ""},
        {"cable pulled, back after 1 s", [](const Stage& s, Column) {
             return Json(Field("closeLineAfterCommands", s.commands + 1) + ",\"replugAfterSeconds\":1"); }, 2,
         {"0", "0", "0p", "7x", "0p", "0", "0"}, "", disappeared.c_str()},
        // Ctrl-C stops the command at once and leaves the transmitter in working mode;
        // once writes went out, "written, not confirmed".
        {"Ctrl-C", [](const Stage&, Column) { return std::string(); }, 2, {"1", "1", "1u", "7x", "7p", "1", "1"},
         cancelled.c_str(), "", true},
    };

    for (const Row& row : rows) {
        for (int c = 0; c < kColumns; ++c) {
            const auto column = static_cast<Column>(c);
            const std::string faults = row.faults(stages[column], column);
            const Outcome o = Run(column, faults, row.retries, row.interrupt ? stages[column].commands : -1);
            SCOPED_TRACE(std::string(row.fault) + " / " + kColumnNames[column] + " " + faults + "\n" + o.err);
            const std::string expected = row.expected[column];
            const int exit = expected[0] - '0';
            EXPECT_EQ(o.exit, exit);

            // The transmitter holds the old configuration with the first writes it took of the
            // plan, in order: nothing else, ever.
            EXPECT_EQ(o.memory, Written(o.writesTaken));
            const char memory = expected.size() > 1 ? expected[1] : 'u';
            const int taken = o.writesTaken, all = static_cast<int>(plan.size());
            if (memory == 'u') { EXPECT_EQ(taken, 0); }
            if (memory == 'p') { EXPECT_EQ(taken, all); }
            if (memory == 'x') { EXPECT_TRUE(taken > 0 && taken < all) << taken; }

            if (column >= kBeforeWrites && column <= kAfterWrites) {
                // "writes" lists what went out, a first part of the plan, at least what was taken.
                const auto listed = vantrel::test::WritesOf(o.out);
                EXPECT_TRUE(std::equal(listed.begin(), listed.end(), plan.begin())) << o.out;
                // Every write that went out was taken, unless the transmitter itself fell silent.
                if (Has(faults, "silentAfterWrites")) { EXPECT_GE(static_cast<int>(listed.size()), taken); }
                else { EXPECT_EQ(static_cast<int>(listed.size()), taken); }
                EXPECT_TRUE(Has(o.out, "\"writesSent\":" + std::to_string(listed.size()))) << o.out;
                EXPECT_EQ(Has(o.out, "\"confirmed\":true"), exit == 0);
            }
            if (exit == 0 || row.interrupt) {  // every command ends its exchange
                EXPECT_FALSE(o.programmingMode);
                EXPECT_FALSE(o.streaming);
            }
            if (exit == 7) { EXPECT_TRUE(Has(o.err, notConfirmed)); }
            if (exit == 1) { EXPECT_TRUE(Has(o.err, row.failureText)); }
            if (exit == 0 && *row.successText) { EXPECT_TRUE(Has(o.err, row.successText)); }
            if (exit == 0 && !*row.successText) { EXPECT_EQ(o.err, ""); }
        }
    }
}

}  // namespace
