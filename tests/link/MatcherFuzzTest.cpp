// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "link/Frames.h"
#include "link/Protocol.h"
#include "link/ScriptedDialogs.h"

namespace vantrel::link {
namespace {

// A line that hands over a fixed byte string in random-sized pieces, one piece per read.
class ChunkedLine final : public Transport {
public:
    ChunkedLine(std::string bytes, std::mt19937& random) : m_bytes(std::move(bytes)), m_random(random) {}
    OpenResult open(const std::string&, const LineSettings&) override { return {}; }
    void close() override {}
    bool isOpen() const override { return true; }
    bool write(std::string_view) override { return true; }
    std::string readAll() override {
        const std::size_t n = std::uniform_int_distribution<std::size_t>(0, 9)(m_random);
        std::string piece = m_bytes.substr(m_pos, n);
        m_pos += piece.size();
        return piece;
    }
    void discardInput() override {}
    std::size_t bytesAvailable() override { return m_bytes.size() - m_pos; }

private:
    std::string m_bytes;
    std::size_t m_pos = 0;
    std::mt19937& m_random;
};

std::string RandomBuffer(std::mt19937& random) {
    // Mostly the characters that matter to the matcher, some arbitrary bytes.
    static constexpr char kInteresting[] = {'*', 'A', '\r', '\n', '#', 0};
    std::string s(std::uniform_int_distribution<std::size_t>(0, 40)(random), '\0');
    for (char& c : s) {
        const int pick = std::uniform_int_distribution<int>(0, 9)(random);
        c = pick < 6 ? kInteresting[pick] : static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
    }
    return s;
}

// Every candidate position tested on the whole buffer, the last accepted one kept.
std::optional<std::string> Reference(const std::string& buffer, std::string_view pattern, bool crOnly) {
    std::optional<std::string> found;
    for (std::size_t i = 0; i + pattern.size() <= buffer.size(); ++i) {
        const std::string c = buffer.substr(i, pattern.size());
        if (c[0] != pattern[0]) continue;
        const bool ok = crOnly ? c.back() == '\r' : (c[c.size() - 2] == '\r' && c.back() == '\n');
        if (ok) found = c;
    }
    return found;
}

TEST(MatcherFuzz, PiecewiseArrivalFindsTheSameReplyAsTheWholeBuffer) {
    std::mt19937 random(20240611);
    const std::string_view patterns[] = {frames::kByteReplyPattern, frames::kVersionReplyPattern, frames::kFramePattern};
    for (int round = 0; round < 3000; ++round) {
        const std::string buffer = RandomBuffer(random);
        const std::string_view pattern = patterns[round % 3];
        const bool crOnly = round % 2 == 0;
        const auto whole = MatchReply(buffer, pattern, crOnly);
        ASSERT_EQ(whole, Reference(buffer, pattern, crOnly)) << round;

        // Through the reply wait, bytes arriving in pieces: it returns the first match
        // that the arrived bytes allow, which must be a match of the whole buffer's scan
        // over the same prefix.
        ChunkedLine line(buffer, random);
        VirtualClock clock;
        ScriptedDialogs dialogs;
        Protocol protocol(line, clock, dialogs);
        protocol.setDeviceModel(crOnly ? 10 : 9);
        const ReplyWait wait = protocol.SendAndMatch({}, pattern, 0.3, true);
        const std::string& reply = wait.reply;
        if (wait.cancelled()) {
            EXPECT_FALSE(whole) << round;
            continue;
        }
        ASSERT_EQ(reply.size(), pattern.size());
        const std::size_t at = buffer.find(reply);
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(MatchReply(buffer.substr(0, at + reply.size()), pattern, crOnly), reply) << round;
    }
}

TEST(MatcherFuzz, AReplyHiddenInNoiseIsAlwaysFound) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string noise = RandomBuffer(random);
        // Noise without the reply's first character cannot produce a candidate of its own.
        std::erase(noise, '*');
        const auto data = static_cast<std::uint8_t>(random() & 0xFF);
        const std::string reply = frames::ByteReply('x', 'y', data);
        std::string trailing = RandomBuffer(random);
        std::erase(trailing, '*');
        const auto found = MatchReply(noise + reply + trailing, frames::kByteReplyPattern, false);
        ASSERT_TRUE(found) << round;
        EXPECT_EQ(static_cast<std::uint8_t>((*found)[frames::kByteReplyDataPos]), data);
    }
}

}  // namespace
}  // namespace vantrel::link
