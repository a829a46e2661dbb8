// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Trips.h"

#include "link/Frames.h"

namespace vantrel::sim {

namespace trip = link::frames::trip;

namespace {

constexpr double kDelayTick = 0.05;
constexpr std::uint8_t kTrip1Minimum = 2;  // TripFlags bit 1
constexpr std::uint8_t kTrip2Minimum = 1;  // TripFlags bit 0
constexpr std::uint8_t kReverseOutput = 4; // TripFlags bit 2

}  // namespace

TripSettings TripSettings::FromMemory(const Memory& memory) {
    namespace cell = device::cell;
    TripSettings s;
    s.highCode = {memory.word(cell::Trip1HighCode), memory.word(cell::Trip2HighCode)};
    s.lowCode = {memory.word(cell::Trip1LowCode), memory.word(cell::Trip2LowCode)};
    const std::uint8_t flags = memory.read(cell::TripFlags);
    s.minimum = {(flags & kTrip1Minimum) != 0, (flags & kTrip2Minimum) != 0};
    s.reverse = (flags & kReverseOutput) != 0;
    s.delaySeconds = memory.read(cell::TripDelay) * kDelayTick;
    return s;
}

std::uint8_t TripStates::update(double code, double now, const TripSettings& s) {
    // "Above a level" in input terms: with a reverse output a higher input gives a lower code.
    auto above = [&](unsigned level) { return s.reverse ? code < level : code > level; };
    auto below = [&](unsigned level) { return s.reverse ? code > level : code < level; };
    constexpr std::array<std::uint8_t, 2> activeBit{trip::Trip1Active, trip::Trip2Active};
    constexpr std::array<std::uint8_t, 2> pendingBit{trip::Trip1Pending, trip::Trip2Pending};

    std::uint8_t bits = 0;
    for (std::size_t n = 0; n < 2; ++n) {
        Trip& t = m_trips[n];
        const bool switchOn = s.minimum[n] ? below(s.lowCode[n]) : above(s.highCode[n]);
        const bool switchOff = s.minimum[n] ? above(s.highCode[n]) : below(s.lowCode[n]);
        if (t.active) {
            if (switchOff) t.active = false;
        } else if (switchOn) {
            if (!t.pendingSince) t.pendingSince = now;
            if (now - *t.pendingSince >= s.delaySeconds) t.active = true;
        }
        if (t.active || !switchOn) t.pendingSince.reset();
        if (t.active) bits |= activeBit[n];
        if (t.pendingSince) bits |= pendingBit[n];
    }
    return bits;
}

}  // namespace vantrel::sim
