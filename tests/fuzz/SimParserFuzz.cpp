// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's command parser on an arbitrary byte stream: the commands do not depend on
// how the stream is cut into pieces, and what waits for more bytes stays small. The simulated
// transmitter takes the same stream: what it queues stays bounded and it still answers after.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "link/Frames.h"
#include "sim/CommandParser.h"
#include "sim/DefaultProfile.h"
#include "sim/Transmitter.h"

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

    static const Profile profile = MakeDefaultProfile();
    Transmitter transmitter(profile.identity, profile.memory);
    double now = 0;
    for (std::size_t at = 0; at < stream.size(); at += piece, now += 0.05) {
        transmitter.receive(stream.substr(at, piece), now);
        Require(transmitter.takeOutput(now + 0.05).size() <= Transmitter::kMaxQueuedBytes, "the output stays bounded");
    }
    // Whatever the bytes wrote into its memory, five CRs bring the receiver to rest and it answers.
    transmitter.receive(std::string(5, '\r') + "SM\r" + vantrel::link::frames::VersionFrame(), now);
    Require(transmitter.takeOutput(now + 1).find(profile.identity.VersionReply()) != std::string::npos,
            "the transmitter still answers");
    return 0;
}
