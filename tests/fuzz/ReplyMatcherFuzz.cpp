// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The reply matcher on arbitrary receive buffers, against a plain scan of every position, and
// the protocol's reply wait on the same bytes arriving in pieces.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "link/Clock.h"
#include "link/Frames.h"
#include "link/Protocol.h"

using namespace vantrel::link;

namespace {

std::optional<std::string> EveryPosition(std::string_view buffer, std::string_view pattern, bool crOnly) {
    std::optional<std::string> found;
    for (std::size_t i = 0; i + pattern.size() <= buffer.size(); ++i) {
        const std::string_view c = buffer.substr(i, pattern.size());
        if (c[0] != pattern[0]) continue;
        const bool ends = crOnly ? c.back() == '\r' : (c[c.size() - 2] == '\r' && c.back() == '\n');
        if (ends) found = std::string(c);
    }
    return found;
}

// A line that hands a fixed byte string over in pieces of 1 to 9 bytes, one piece per read.
class PieceLine final : public Transport {
public:
    PieceLine(std::string_view bytes, unsigned seed) : m_bytes(bytes), m_seed(seed) {}
    OpenResult open(const std::string&, const LineSettings&) override { return {}; }
    void close() override {}
    bool isOpen() const override { return true; }
    bool write(std::string_view) override { return true; }
    std::string readAll() override {
        m_seed = m_seed * 1103515245u + 12345u;
        const std::string_view piece = m_bytes.substr(m_pos, (m_seed >> 16) % 9 + 1);
        m_pos += piece.size();
        return std::string(piece);
    }
    void discardInput() override {}
    std::size_t bytesAvailable() override { return m_bytes.size() - m_pos; }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
    unsigned m_seed;
};

struct CancelEveryBox final : Dialogs {
    Answer Show(const Message&) override { return Answer::Cancel; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the reply pattern and the line ending; the rest is the buffer.
    constexpr std::string_view kPatterns[] = {frames::kByteReplyPattern, frames::kVersionReplyPattern,
                                              frames::kFramePattern};
    const std::string_view pattern = kPatterns[data[0] % 3];
    const bool crOnly = (data[0] & 4) != 0;
    const std::string_view buffer(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::optional<std::string> whole = MatchReply(buffer, pattern, crOnly);
    Require(whole == EveryPosition(buffer, pattern, crOnly), "the matcher finds what a scan of every position finds");

    // The reply wait, fed in pieces, returns the first reply the arrived bytes allow: a reply
    // of the whole buffer's scan over the same prefix, and one whenever the buffer holds one.
    PieceLine line(buffer, data[0]);
    VirtualClock clock;
    CancelEveryBox dialogs;
    Protocol protocol(line, clock, dialogs);
    protocol.setDeviceModel(crOnly ? frames::kCrOnlyModel : frames::kCrOnlyModel - 1);
    // Long enough for the pause after the send and one pass per piece.
    const double timeout = timing::kAfterSend + static_cast<double>(buffer.size() + 2) * VirtualClock::kReplyStep;
    const ReplyWait wait = protocol.SendAndMatch({}, pattern, timeout, true);
    if (wait.cancelled()) {
        Require(!whole, "a reply in the bytes is found when they arrive in pieces");
        return 0;
    }
    const std::size_t at = buffer.find(wait.reply);
    Require(wait.reply.size() == pattern.size() && at != std::string_view::npos, "the reply came from the bytes");
    Require(MatchReply(buffer.substr(0, at + wait.reply.size()), pattern, crOnly) == wait.reply,
            "the reply is the scan's reply over the bytes up to it");
    return 0;
}
