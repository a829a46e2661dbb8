// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "link/Frames.h"
#include "link/Protocol.h"
#include "link/ScriptedDialogs.h"
#include "link/ScriptedTransport.h"
#include "resources/StringTable.h"

namespace vantrel::link {
namespace {

using namespace std::string_literals;

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// A transmitter whose memory cell a holds the value a + 100 (mod 256).
std::string ByteFor(int address) { return frames::ByteReply('a', 'b', static_cast<std::uint8_t>(address + 100)); }

struct ProtocolFixture : ::testing::Test {
    ScriptedTransport line;
    VirtualClock clock;
    ScriptedDialogs dialogs;
    Protocol protocol{line, clock, dialogs};

    void AnswerReads(int silentAfter = 1000) {
        line.respond([silentAfter, count = 0](std::string_view frame) mutable -> std::string {
            if (!frame.starts_with("$R")) return {};
            if (count++ >= silentAfter) return {};
            return ByteFor(static_cast<std::uint8_t>(frame[2]));
        });
    }
};

TEST(Frames, CommandFramesCarryRawAddressTwiceAndEndInCr) {
    EXPECT_EQ(frames::ReadFrame(200), Bytes({'$', 'R', 200, 200, 0, 13}));
    EXPECT_EQ(frames::WriteFrame(13, 10), Bytes({'$', 'W', 13, 13, 10, 13}));
    EXPECT_EQ(frames::VersionFrame(), Bytes({'$', 'V', 0, 0, 0, 13}));
    EXPECT_EQ(frames::kEndProgramming, "$FPxx\r");
}

TEST(MatchReply, AcceptsOnlyTheRightStartLengthAndEnding) {
    const std::string reply = "*ab\x05\r\n";
    EXPECT_EQ(MatchReply("\x01\x02" + reply, "*#####", false), reply);
    EXPECT_FALSE(MatchReply("*ab\x05\r", "*#####", false));            // no LF
    EXPECT_FALSE(MatchReply("*ab\x05\r\r", "*#####", false));          // CR CR
    EXPECT_FALSE(MatchReply("*abc\x05\r\n", "*#####", false));         // one too long: ends in "\x05\r"
    EXPECT_FALSE(MatchReply("+ab\x05\r\n", "*#####", false));          // wrong first character
    EXPECT_EQ(MatchReply("*ab\x01\r\n*ab\x02\r\n", "*#####", false), "*ab\x02\r\n");  // the last one wins
    EXPECT_EQ(MatchReply("A\x00\x01\x02\x03\x04\r"s, "A######", true), "A\x00\x01\x02\x03\x04\r"s);
    EXPECT_FALSE(MatchReply("A\x00\x01\x02\x03\x04\r"s, "A######", false));
    EXPECT_FALSE(MatchReply("", "*#####", false));
    EXPECT_FALSE(MatchReply("*\r\n", "", false));
}

TEST_F(ProtocolFixture, ReadBlock_SendsStopProgramThenOneReadPerAddress) {
    AnswerReads();
    const ByteResult r = protocol.ReadBlock(13, 3);
    const std::vector<std::string> expected{"SM\r", "PR\r", frames::ReadFrame(13), frames::ReadFrame(14),
                                            frames::ReadFrame(15)};
    EXPECT_EQ(line.frames(), expected);
    EXPECT_EQ((std::vector<int>{r[1], r[2], r[3]}), (std::vector<int>{113, 114, 115}));
    // 0.1 after SM and PR, 0.1 after each read; the replies are there by then.
    EXPECT_NEAR(clock.now(), 0.2 + 3 * 0.1, 1e-9);
}

TEST_F(ProtocolFixture, ReadBlock_ReplyWithoutLf_TimesOutIntoRetryCancelBox) {
    line.respond([](std::string_view) { return "*ab\x05\r"s; });
    protocol.setLanguageOffset(0);
    const ByteResult r = protocol.ReadBlock(0, 1);
    EXPECT_TRUE(r.cancelled());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    const Message& box = dialogs.shown()[0];
    EXPECT_EQ(box.textId, 85);
    EXPECT_EQ(box.text, "Comunicazione impossibile con l' apparato");
    EXPECT_EQ(box.buttons, Buttons::RetryCancel);
    // The box comes only once the 4 s since the send have passed, and not much later.
    EXPECT_GT(clock.now(), 0.2 + 4.0);
    EXPECT_LT(clock.now(), 0.2 + 4.0 + 0.02);
}

TEST_F(ProtocolFixture, ReadBlock_CancelAtThirdAddress_KeepsFirstTwoBytes) {
    AnswerReads(2);
    const ByteResult r = protocol.ReadBlock(40, 10);
    EXPECT_TRUE(r.cancelled());
    for (std::size_t i = 1; i <= 10; ++i) EXPECT_EQ(int(r[i]), i <= 2 ? 139 + int(i) : 0) << i;
    EXPECT_EQ(line.countFrames(frames::kEndProgramming), 0);  // Cancel sends no recovery
}

TEST_F(ProtocolFixture, ReadBlock_Retry_RestartsWholeBlockAfterStopAndProgram) {
    // The third read goes unanswered once.
    line.respond([count = 0](std::string_view frame) mutable -> std::string {
        if (!frame.starts_with("$R")) return {};
        if (++count == 3) return {};
        return ByteFor(static_cast<std::uint8_t>(frame[2]));
    });
    dialogs.answer(Answer::Retry);
    const ByteResult r = protocol.ReadBlock(0, 3);
    EXPECT_FALSE(r.cancelled());
    EXPECT_EQ(r[3], 102);
    const std::vector<std::string> expected{
        "SM\r", "PR\r", frames::ReadFrame(0), frames::ReadFrame(1), frames::ReadFrame(2),
        "$FPxx\r",  // recovery after Retry
        "$FPxx\r",  // the block's own before restarting
        "SM\r", "PR\r", frames::ReadFrame(0), frames::ReadFrame(1), frames::ReadFrame(2)};
    EXPECT_EQ(line.frames(), expected);
    // Waits: 0.2 + 2 reads, the time-out, 0.5, 1, then 0.2 + 3 reads.
    EXPECT_NEAR(clock.now(), 0.2 + 0.2 + 4.0 + 0.5 + 1.0 + 0.2 + 0.3, 0.02);
}

TEST_F(ProtocolFixture, ReadBlock_TakesExactlyThePlannedPauses) {
    AnswerReads();
    ProgressMeter meter;
    meter.Start({{Step::ReadingSettings, pauses::Block(10)}, {Step::ReadingOutputScale, 1.0}});
    protocol.setProgressMeter(&meter);
    protocol.ReadBlock(6, 10);
    EXPECT_NEAR(meter.remainingSeconds(), 1.0, 1e-9);
}

// A cancel ends a pause, a reply wait and a read at once, with the error flag and without the
// Retry/Cancel box; ReturnToWorkingMode then leaves programming mode and any stream.
TEST_F(ProtocolFixture, Cancel_EndsTheReadAtOnceWithoutTheBox) {
    CancelToken token;
    protocol.setCancelToken(&token);
    line.respond([&](std::string_view frame) -> std::string {
        if (frame == frames::ReadFrame(8)) token.Cancel();  // never answered
        return frame.starts_with("$R") && frame != frames::ReadFrame(8) ? ByteFor(frame[2]) : std::string();
    });
    const double start = clock.now();
    EXPECT_TRUE(protocol.ReadBlock(6, 10).cancelled());
    EXPECT_LT(clock.now() - start, 0.2 + 3 * 0.1 + 0.01);  // no 4 s time-out
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_TRUE(protocol.ReadVersion().cancelled());
    const std::size_t sent = line.frames().size();
    protocol.ReturnToWorkingMode();
    const std::vector<std::string> closing{"SM\r", "$FPxx\r"};
    EXPECT_EQ(std::vector<std::string>(line.frames().begin() + static_cast<std::ptrdiff_t>(sent), line.frames().end()),
              closing);
}

TEST_F(ProtocolFixture, ReadBlock_StaysInsideTheMemory) {
    AnswerReads();
    const ByteResult r = protocol.ReadBlock(254, 5);
    EXPECT_EQ(line.countFrames(frames::ReadFrame(254)) + line.countFrames(frames::ReadFrame(255)), 2);
    EXPECT_EQ(line.frames().size(), 4u);
    EXPECT_EQ(r[2], static_cast<std::uint8_t>(355));
    EXPECT_EQ(protocol.ReadBlock(256, 1)[0], 0);
    EXPECT_EQ(protocol.ReadBlock(-1, 1)[0], 0);
}

// A pulled cable makes the port vanish: the read says so at once instead of waiting out its
// time-out, and Retry opens the same port again.
TEST_F(ProtocolFixture, ReadBlock_PulledCable_PortGoneAtOnce_RetryOpensItAgain) {
    AnswerReads();
    protocol.setReopen([this] {  // the adapter is back when the port is opened again
        line.plugCable();
        line.close();
        return line.open("COM1", {}).ok();
    });
    ASSERT_TRUE(line.open("COM1", {}).ok());
    line.pullCable();
    EXPECT_TRUE(protocol.ReadBlock(0, 2).cancelled());
    EXPECT_TRUE(protocol.lineLost());
    EXPECT_LT(clock.now(), timing::kReplyTimeout);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].textId, resources::text::kPortDisappeared);

    dialogs.answer(Answer::Retry);
    const ByteResult r = protocol.ReadBlock(0, 2);
    ASSERT_FALSE(r.cancelled());
    EXPECT_EQ(r[2], 101);
    EXPECT_FALSE(protocol.portGone());
}

TEST_F(ProtocolFixture, ReadVersion_MapsReplyCharactersAndIgnoresStaleInput) {
    line.respond([](std::string_view frame) -> std::string {
        // A stale version-shaped reply before "$V" must not be taken for the answer.
        if (frame == "PR\r") return frames::VersionReply(9, 9, 9, 9);
        if (frame.starts_with("$V")) return frames::VersionReply(1, 0, 2, 9);
        return {};
    });
    const ByteResult r = protocol.ReadVersion();
    ASSERT_FALSE(r.cancelled());
    EXPECT_EQ((std::vector<int>{r[1], r[2], r[3], r[4]}), (std::vector<int>{2, 9, 1, 0}));  // family, model, version, release
    EXPECT_NEAR(clock.now(), 0.4 + 0.1, 1e-9);
}

TEST_F(ProtocolFixture, ReadVersion_RetryThenCancel) {
    dialogs.answer(Answer::Retry).answer(Answer::Cancel);
    EXPECT_TRUE(protocol.ReadVersion().cancelled());
    EXPECT_EQ(dialogs.shown().size(), 2u);
    for (const std::string& frame : {frames::VersionFrame(), std::string("SM\r"), std::string(frames::kEndProgramming)})
        EXPECT_EQ(line.countFrames(frame), 2) << frame;
}

TEST_F(ProtocolFixture, ReadMeasurementFrame_CrOnlyEndingDependsOnModel) {
    const std::string crOnly = "A\x01\x02\x03\x04\x05\r"s;
    const std::string crLf = "A\x01\x02\x03\x04\r\n"s;

    const auto read = [this](int model, const std::string& bytes) {
        protocol.setDeviceModel(model);
        line.feedReceived(bytes);
        const ByteResult r = protocol.ReadMeasurementFrame();
        return r.cancelled() ? std::vector<int>{} : std::vector<int>{r[1], r[2], r[3], r[4], r[5]};
    };
    EXPECT_EQ(read(10, crOnly), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(line.frames().empty());  // listening only
    EXPECT_EQ(read(9, crOnly), std::vector<int>{});
    EXPECT_EQ(read(9, crLf), (std::vector<int>{1, 2, 3, 4, 13}));  // with CR LF the fifth holds the CR
}

TEST_F(ProtocolFixture, ReadMeasurementFrame_Retry_RestartsTheStream) {
    dialogs.answer(Answer::Retry);
    line.respond([](std::string_view frame) -> std::string {
        return frame == "MI\r" ? "A\x01\x02\x03\x04\x05\r"s : std::string();
    });
    const double start = clock.now();
    const ByteResult r = protocol.ReadMeasurementFrame();
    EXPECT_FALSE(r.cancelled());
    const std::vector<std::string> expected{"$FPxx\r", "SM\r", "MI\r"};
    EXPECT_EQ(line.frames(), expected);
    EXPECT_GT(clock.now() - start, 5.0);  // the frame time-out is 5 s
}

// The share shown grows with every pause and every step, never goes back when the plan grows
// or a step overruns, and is 1 only after Finish.
TEST(ProgressMeter, ShareIsMonotonicAndWholeOnlyAtTheEnd) {
    struct Event {
        enum Kind { Advance, Enter, Resize, Finish } kind;
        Step step;
        double seconds;
        double remaining;  // expected afterwards
    };
    const std::vector<Event> events{
        {Event::Advance, Step::TestingConnection, 0.5, 3.5},
        {Event::Advance, Step::TestingConnection, 1.0, 3.0},  // overruns its 1 s: holds
        {Event::Enter, Step::ReadingSettings, 0, 2.0},        // skips Identifying
        {Event::Resize, Step::ReadingCustomCurve, 4.0, 6.0},  // a custom curve found: added at the end
        {Event::Advance, Step::ReadingSettings, 1.5, 4.5},
        {Event::Enter, Step::ReadingCustomCurve, 0, 4.0},
        {Event::Advance, Step::ReadingCustomCurve, 4.0, 0.0},
        {Event::Finish, Step::ReadingCustomCurve, 0, 0.0},
    };
    ProgressMeter meter;
    std::vector<double> shares;
    meter.SetListener([&shares](const ProgressMeter& m) { shares.push_back(m.share()); });
    meter.Start({{Step::TestingConnection, 1.0}, {Step::Identifying, 1.0}, {Step::ReadingSettings, 2.0}});
    for (const Event& e : events) {
        switch (e.kind) {
            case Event::Advance: meter.Advance(e.seconds); break;
            case Event::Enter: meter.Enter(e.step); break;
            case Event::Resize: meter.Resize(e.step, e.seconds); break;
            case Event::Finish: meter.Finish(); break;
        }
        EXPECT_NEAR(meter.remainingSeconds(), e.remaining, 1e-9) << static_cast<int>(e.kind);
        EXPECT_TRUE(e.kind == Event::Finish || meter.share() < 1.0);
        EXPECT_TRUE(e.kind == Event::Resize || e.kind == Event::Finish || meter.step() == e.step);
    }
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_EQ(shares.back(), 1.0);
    EXPECT_FALSE(meter.running());
}

TEST(LineSettings, ParsesBothSpellingsAndRefusesGarbage) {
    LineSettings s;
    ASSERT_TRUE(ParseLineSettings("9600,N,8,1", s));
    EXPECT_EQ(s, LineSettings{});
    ASSERT_TRUE(ParseLineSettings("9600,n,8,1", s));
    EXPECT_EQ(s.parity, 'N');
    for (const char* bad : {"", "9600", "9600,N,8", "9600,N,8,1,", "x,N,8,1", "9600,Q,8,1", "9600,N,9,1", "-1,N,8,1"})
        EXPECT_FALSE(ParseLineSettings(bad, s)) << bad;
}

}  // namespace
}  // namespace vantrel::link
