// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sim/Memory.h"

namespace vantrel::sim {

// Trip settings as model 10 keeps them: switching levels as output-converter codes, the mode
// bits and the common delay.
struct TripSettings {
    std::array<unsigned, 2> highCode{};
    std::array<unsigned, 2> lowCode{};
    std::array<bool, 2> minimum{};  // a minimum trip switches on below its low level
    bool reverse = false;           // reverse output: the code falls as the input rises
    double delaySeconds = 0;

    static TripSettings FromMemory(const Memory& memory);
};

// The two trips' switching state. A trip switches on when the measurement passes its level
// and stays past it for the delay (meanwhile it is pending); it switches off at once when the
// measurement comes back past the other level (the hysteresis).
class TripStates {
public:
    // Updates with the output code at time now and returns the frame's trip bits.
    std::uint8_t update(double code, double now, const TripSettings& settings);
    void reset() { *this = TripStates(); }

private:
    struct Trip {
        bool active = false;
        std::optional<double> pendingSince;
    };
    std::array<Trip, 2> m_trips{};
};

}  // namespace vantrel::sim
