// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The session flows against the in-process simulated transmitter on the virtual clock:
// loading the programming window, reading, programming with its read-back, and what each
// does when the transmitter or the line misbehaves; and the session's start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "SimBench.h"
#include "TempFolder.h"
#include "link/Frames.h"
#include "resources/StringTable.h"
#include "session/Startup.h"

namespace vantrel::test {
namespace {

using link::Answer;
namespace frames = link::frames;

constexpr int kNoReplyText = 85;
constexpr int kDeviceChangedText = 219;
constexpr int kNoisyRangeText = 156;
constexpr int kTypeS = 2;

// Addresses of the "$R" frames sent from index `from` on, in order.
std::vector<int> ReadAddresses(const RecordingTransport& recorder, std::size_t from = 0) {
    std::vector<int> addresses;
    for (std::size_t i = from; i < recorder.sent.size(); ++i)
        if (recorder.sent[i].rfind("$R", 0) == 0) addresses.push_back(FrameAddress(recorder.sent[i]));
    return addresses;
}

std::vector<device::WriteEntry> WritesSent(const RecordingTransport& recorder) {
    std::vector<device::WriteEntry> writes;
    for (const std::string& frame : recorder.sent)
        if (frame.rfind("$W", 0) == 0)
            writes.push_back({static_cast<std::uint8_t>(frame[2]), static_cast<std::uint8_t>(frame[4])});
    return writes;
}

void ExpectNotConnectedState(const session::Session& s, int languageOffset = 300) {
    EXPECT_FALSE(s.connected());
    EXPECT_FALSE(s.form.deviceConnected());
    EXPECT_EQ(s.form.modelText(), resources::Text(84, languageOffset));
    EXPECT_FALSE(s.form.actionButton().enabled);
    EXPECT_FALSE(s.form.commands().toolStart.enabled);
    EXPECT_TRUE(s.form.commands().toolConnect.enabled);
}

// A loaded bench with the form set to a type K thermocouple 0..max °C.
void LoadK(SimBench& b, const char* max = "500") {
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    b.ChooseThermocoupleK("0", max);
}

// ---- Loading the programming window ---------------------------------------------------

TEST(LoadProgramWindow, Connected_DescribesTheTransmittersConfiguration) {
    SimBench b;
    EXPECT_EQ(b.Load(), session::LoadOutcome::Connected);
    EXPECT_TRUE(b.dialogs.shown().empty());
    ASSERT_TRUE(b.session.lastRead);
    EXPECT_EQ(b.session.lastRead->values.inputCode, 1);
    EXPECT_DOUBLE_EQ(b.session.lastRead->values.rangeTop, 1000);
    EXPECT_NE(b.session.form.summary().find("Thermocouple Type K"), std::string::npos);
    EXPECT_NE(b.session.form.summary().find("Output Range: 4 to 20 mA"), std::string::npos);
    EXPECT_NE(b.session.form.modelText().find("( VerSW :  4/ 10/ 1/ 0 )"), std::string::npos);
    EXPECT_TRUE(b.session.form.deviceConnected());
    // The read ends the exchange: the transmitter leaves programming mode.
    EXPECT_EQ(b.recorder.sent.back(), frames::kEndProgramming);
    EXPECT_FALSE(b.transmitter.programmingMode());
    EXPECT_FALSE(b.transmitter.streaming());
}

TEST(LoadProgramWindow, NoTransmitter_RetryThenCancel_ItalianNotConnected_ConnectLaterRunsTheWholeRoad) {
    SimBench b(sim::MakeDefaultProfile(), 0);
    b.transmitter.faults().noReply = true;
    b.dialogs.answer(Answer::Retry).answer(Answer::Cancel);
    EXPECT_EQ(b.Load(), session::LoadOutcome::NotConnected);

    ASSERT_EQ(b.dialogs.countShown(kNoReplyText), 2);
    EXPECT_EQ(b.dialogs.shown()[0].text, "Comunicazione impossibile con l' apparato");
    // Two five-second series of about five "MI" each, each stopped with "SM"; no "$V".
    EXPECT_GE(b.recorder.Count("MI"), 8);
    EXPECT_LE(b.recorder.Count("MI"), 12);
    EXPECT_EQ(b.recorder.Count("$V"), 0);
    EXPECT_EQ(b.session.linkStatus, session::LinkStatus::Failed);
    ExpectNotConnectedState(b.session, 0);
    EXPECT_EQ(b.session.form.summary(), "Dati non pervenuti");
    EXPECT_FALSE(b.session.lastRead);
    // The form offers what a family 4 transmitter takes.
    EXPECT_EQ(b.session.form.inputFamilies().entries, device::Identify(device::Identity{}).lists.inputFamilies);

    b.transmitter.faults().noReply = false;  // the transmitter is plugged in
    EXPECT_EQ(b.Load(), session::LoadOutcome::Connected);
    EXPECT_TRUE(b.session.form.deviceConnected());
    EXPECT_TRUE(b.session.lastRead);
}

// A port that does not open, a transmitter that answers only noise, a read that falls silent
// anywhere: one box, one Cancel, the not-connected state, and nothing sent after the silence.
TEST(LoadProgramWindow, FailedLoads_OneBoxAndNotConnected) {
    struct Row {
        const char* name;
        std::function<void(SimBench&)> setup;
        int textId;
        int reads;  // "$R" sent; -1: nothing sent at all
    };
    const auto openFails = [](link::OpenError error) {
        return [error](SimBench& b) { b.recorder.openFailure = link::OpenResult{error, "refused"}; };
    };
    std::vector<Row> rows = {
        {"no such port", openFails(link::OpenError::NoSuchPort), kNoReplyText, -1},
        {"port in use", openFails(link::OpenError::PortInUse), 160, -1},
        {"no permission", openFails(link::OpenError::NoPermission), resources::text::kPortNoPermission, -1},
        {"noise only", [](SimBench& b) { b.transmitter.faults().noiseInsteadOfReplies = true; }, kNoReplyText, 0},
    };
    for (int replies : {1, 5, 7, 20, 25, 30, 35, 40})  // "$V" takes one reply, then every "$R" one
        rows.push_back({"silent", [replies](SimBench& b) { b.transmitter.faults().silentAfterReplies = replies; },
                        kNoReplyText, replies});
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " " + std::to_string(row.reads));
        SimBench b;
        row.setup(b);
        EXPECT_EQ(b.Load(), session::LoadOutcome::NotConnected);
        ASSERT_EQ(b.dialogs.shown().size(), 1u);
        EXPECT_EQ(b.dialogs.shown()[0].textId, row.textId);
        if (row.reads < 0) { EXPECT_TRUE(b.recorder.sent.empty()); }
        else { EXPECT_EQ(b.recorder.Count("$R"), row.reads); }
        ExpectNotConnectedState(b.session);
        // A port the user may not open names the way to the permission.
        if (row.textId == resources::text::kPortNoPermission) {
            EXPECT_NE(b.dialogs.shown()[0].text.find("dialout"), std::string::npos) << b.dialogs.shown()[0].text;
        }
    }
}

// ---- Reading ---------------------------------------------------------------------------

TEST(ReadConfiguration, ReadsTheCellsInTheTransmittersOrder) {
    SimBench b;
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    const int t3 = b.Cell(3);
    const int t4 = b.Cell(4);
    const bool extraEnd = (b.Cell(11) & 16) != 0;
    const int last = extraEnd ? t4 - 6 : t4 - 3;
    std::vector<int> expected = {0, 13, 226, 227, 1, 2, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int a = 219; a <= 227; ++a) expected.push_back(a);
    for (int a : {217, 218, 254, 255, 250, 251, 253, 252, 249, 3, 4, t3, t3 + 1, t3 + 2, 11, last, last + 1, last + 2,
                  6, 7, 8, 9, 10, 11, 14, 15})
        expected.push_back(a);
    EXPECT_EQ(ReadAddresses(b.recorder), expected);
}

TEST(ReadConfiguration, ModelNine_SkipsTripAndTrimCellsAndTakesNoAdjustment) {
    sim::Profile profile = sim::MakeDefaultProfile();
    profile.identity.model = 9;
    profile.memory.write(217, 137);  // a trim left in memory is not a model 9 setting
    SimBench b(profile);
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    for (int a : ReadAddresses(b.recorder)) {
        EXPECT_FALSE(a >= 217 && a <= 225) << a;
    }
    const device::ReadValues& v = b.session.lastRead->values;
    EXPECT_EQ(v.zeroAdjust, 0);
    EXPECT_EQ(v.spanAdjust, 0);
    EXPECT_NEAR(v.outputSecond.value(), 4, 0.01);
    EXPECT_NEAR(v.outputFirst.value(), 20, 0.01);
}

TEST(ReadConfiguration, DroppedReply_RetryRereadsTheBlockAndTheReadSucceeds) {
    SimBench b;
    b.dialogs.answer(Answer::Retry);
    ASSERT_EQ(b.Load(), session::LoadOutcome::Connected);
    EXPECT_TRUE(b.dialogs.shown().empty());
    b.recorder.sent.clear();
    b.transmitter.faults().dropReplies = 1;
    ASSERT_TRUE(session::ReadAndDescribe(b.session, b.view));
    EXPECT_EQ(b.dialogs.countShown(kNoReplyText), 1);
    // The first "$R" (cell 0) went unanswered: "$FPxx" (recovery), "$FPxx" (restart), "SM", "PR", "$R 0".
    const auto S = [](std::string_view frame) { return std::string(frame); };
    ASSERT_GE(b.recorder.sent.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(b.recorder.sent.begin(), b.recorder.sent.begin() + 8),
              (std::vector<std::string>{S(frames::kStopStream), S(frames::kProgrammingMode), frames::ReadFrame(0),
                                        S(frames::kEndProgramming), S(frames::kEndProgramming), S(frames::kStopStream),
                                        S(frames::kProgrammingMode), frames::ReadFrame(0)}));
}

// ---- Programming -----------------------------------------------------------------------

TEST(Programming, TypeK_MemoryHoldsExactlyThePlansBytes_ThenReadsBack) {
    SimBench b;
    LoadK(b);
    const sim::Memory before = b.transmitter.memory();
    b.recorder.sent.clear();
    const session::ProgramOutcome outcome = b.Program();
    ASSERT_EQ(outcome.result.status, device::ProgramStatus::Done);
    const std::vector<device::WriteEntry>& sent = outcome.result.plan.sent;
    EXPECT_EQ(WritesSent(b.recorder), sent);
    EXPECT_EQ(outcome.result.framesSent, static_cast<int>(sent.size()));
    sim::Memory expected = before;
    for (const device::WriteEntry& w : sent) expected.write(w.address, w.value);
    EXPECT_EQ(b.transmitter.memory().cells(), expected.cells());
    const auto lastWrite = std::find_if(b.recorder.sent.rbegin(), b.recorder.sent.rend(),
                                        [](const std::string& f) { return f.rfind("$W", 0) == 0; });
    EXPECT_EQ(*lastWrite.base(), frames::kEndProgramming);  // the writes end their exchange
    EXPECT_TRUE(outcome.readBack);
    EXPECT_DOUBLE_EQ(b.session.lastRead->values.rangeTop, 500);
    EXPECT_NE(b.session.form.summary().find("0 to 500"), std::string::npos);
    EXPECT_NE(b.session.form.summary().find("Output Range: 4 to 20 mA"), std::string::npos);
    EXPECT_TRUE(b.dialogs.shown().empty());
}

// Programming that stops before the first write: nothing written, no read-back; only a
// declined noisy range keeps the transmitter connected.
TEST(Programming, StoppedBeforeTheWrites_NothingWritten) {
    struct Row {
        const char* name;
        std::function<void(SimBench&)> setup;
        device::ProgramStatus status;
        int textId;
        int boxes;
    };
    std::vector<Row> rows = {
        {"noisy range declined",
         [](SimBench& b) {
             b.ChooseThermocouple(kTypeS, "0", "100");  // about 0.65 mV: noisy
             b.dialogs.answer(Answer::No);
         },
         device::ProgramStatus::NoisyRangeRefused, kNoisyRangeText, 1},
        // Another transmitter on the line: OK checks again, Cancel gives up.
        {"device changed",
         [](SimBench& b) {
             b.transmitter.faults().reportedFamily = 2;
             b.dialogs.answer(Answer::Ok).answer(Answer::Cancel);
         },
         device::ProgramStatus::NotWritten, kDeviceChangedText, 2},
    };
    for (int replies : {0, 3, 5, 10})  // silent in the output calibration, then in the factory block
        rows.push_back({"calibration read cancelled",
                        [replies](SimBench& b) { b.transmitter.faults().silentAfterReplies = b.transmitter.repliesSent() + 1 + replies; },
                        device::ProgramStatus::NotWritten, kNoReplyText, 1});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SimBench b;
        LoadK(b);
        const sim::Memory before = b.transmitter.memory();
        row.setup(b);
        b.recorder.sent.clear();
        const session::ProgramOutcome outcome = b.Program();
        EXPECT_EQ(outcome.result.status, row.status);
        EXPECT_EQ(b.dialogs.countShown(row.textId), row.boxes);
        EXPECT_EQ(b.recorder.Count("$W"), 0);
        EXPECT_FALSE(outcome.readBack);
        EXPECT_EQ(b.transmitter.memory().cells(), before.cells());
        EXPECT_EQ(b.session.state.identity.DeviceFamily, 4);  // the identity is not overwritten
        const bool refused = row.status == device::ProgramStatus::NoisyRangeRefused;
        EXPECT_EQ(b.session.form.deviceConnected(), refused);  // a refusal is not a link failure
        if (refused) { EXPECT_EQ(b.recorder.sent.back().rfind("$R", 0), 0u); }  // nothing after the question
        if (row.textId == kDeviceChangedText) { EXPECT_EQ(b.recorder.Count("$R"), 0); }  // no calibration read
        if (!refused) ExpectNotConnectedState(b.session);
    }
}

TEST(Programming, TransmitterWithoutTables_IsReadAndProgrammed) {
    sim::Profile profile = sim::MakeDefaultProfile();
    for (int a = 1; a <= 4; ++a) profile.memory.write(static_cast<std::uint8_t>(a), 0xFF);  // erased table pointers
    SimBench b(profile);
    LoadK(b, "1000");
    EXPECT_TRUE(b.dialogs.shown().empty());
    const session::ProgramOutcome outcome = b.Program();
    ASSERT_EQ(outcome.result.status, device::ProgramStatus::Done);
    ASSERT_TRUE(outcome.readBack);
    EXPECT_NEAR(b.session.lastRead->values.outputFirst.value(), 20, 0.005);
    EXPECT_NEAR(b.session.lastRead->values.outputSecond.value(), 4, 0.005);
}

TEST(Programming, ZeroAndSpanTrims_ReadBackTheUntrimmedOutputRange) {
    struct Case {
        int zero;
        int span;
        bool reverse;
    };
    for (const Case c : {Case{10, 0, false}, Case{0, -20, false}, Case{15, 25, false}, Case{-30, 10, true},
                         Case{10, -5, true}}) {
        SimBench b;
        LoadK(b, "1000");
        if (c.reverse) b.session.form.ToggleDirection();
        b.session.form.MoveSlider(ui::AdjustWhich::Zero, c.zero);
        b.session.form.MoveSlider(ui::AdjustWhich::Span, c.span);
        const session::ProgramOutcome outcome = b.Program();
        ASSERT_EQ(outcome.result.status, device::ProgramStatus::Done);
        ASSERT_TRUE(outcome.readBack);
        const device::ReadValues& v = b.session.lastRead->values;
        EXPECT_DOUBLE_EQ(v.zeroAdjust, c.zero / 10.0);
        EXPECT_DOUBLE_EQ(v.spanAdjust, c.span / 10.0);
        const double first = c.reverse ? 4 : 20;
        const double second = c.reverse ? 20 : 4;
        EXPECT_NEAR(v.outputFirst.value(), first, 0.005) << c.zero << "/" << c.span;
        EXPECT_NEAR(v.outputSecond.value(), second, 0.005) << c.zero << "/" << c.span;
        EXPECT_EQ(b.session.form.zeroTrim().slider, c.zero);
        EXPECT_EQ(b.session.form.spanTrim().slider, c.span);
    }
}

// ---- Starting up ---------------------------------------------------------------------------

// A first start is English with a default name and a changed configuration; settings and
// existing default files found are honoured.
TEST(Startup, FirstStart_ThenItalianSettingsAndExistingDefaultFiles) {
    TempFolder app;
    device::WorkingState first;
    EXPECT_FALSE(session::StartUp({app.path(), {}}, first).settingsFound);
    EXPECT_EQ(first.LanguageIndex(), 1);
    EXPECT_EQ(first.LanguageOffset(), 300);
    EXPECT_EQ(first.CurrentFile, "DfLt0000.D70");
    EXPECT_TRUE(first.ConfigChanged);
    EXPECT_FALSE(first.ForceSaveAs);

    app.Write("settings.vtr", {0x00, 0x00, 0x00, 0x00, 0x02, 0x01});
    app.Write("DfLt0007.D70", {});
    device::WorkingState state;
    const auto result = session::StartUp({app.path(), {}}, state);
    EXPECT_TRUE(result.settingsFound);
    EXPECT_EQ(result.settings.SavedPort, 2);
    EXPECT_EQ(result.settings.ModeIndex, 0);
    EXPECT_EQ(state.LanguageOffset(), 0);
    EXPECT_EQ(state.CurrentFile, "DfLt0008.D70");
}

}  // namespace
}  // namespace vantrel::test
