// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's command parser on an arbitrary byte stream: the commands do not depend on
// how the stream is cut into pieces, and what waits for more bytes stays small.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "sim/CommandParser.h"

using namespace vantrel::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte sets the piece length of the second reading.
    const std::size_t piece = data[0] % 7 + 1;
    const std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);

    CommandParser whole;
    const std::vector<Command> once = whole.feed(stream);
    CommandParser pieces;
    std::vector<Command> inPieces;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
        for (Command& c : pieces.feed(stream.substr(at, piece))) inPieces.push_back(std::move(c));
        Require(pieces.pending() <= CommandParser::kMaxTextCommand + 2, "pending bytes stay bounded");
    }
    Require(once == inPieces, "the commands do not depend on the pieces");
    Require(whole.pending() == pieces.pending(), "the same bytes wait for more");
    return 0;
}
