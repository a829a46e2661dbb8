// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The reply matcher on arbitrary receive buffers, against a plain scan of every position.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the reply pattern and the line ending; the rest is the buffer.
    constexpr std::string_view kPatterns[] = {frames::kByteReplyPattern, frames::kVersionReplyPattern,
                                              frames::kFramePattern};
    const std::string_view pattern = kPatterns[data[0] % 3];
    const bool crOnly = (data[0] & 4) != 0;
    const std::string_view buffer(reinterpret_cast<const char*>(data + 1), size - 1);
    Require(MatchReply(buffer, pattern, crOnly) == EveryPosition(buffer, pattern, crOnly),
            "the matcher finds what a scan of every position finds");
    return 0;
}
