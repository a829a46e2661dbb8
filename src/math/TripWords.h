// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

#include "math/OutputCodes.h"

// Trip levels as the transmitter holds them: words in output converter units.
namespace vantrel::math {

// Levels in the order trip 1 high, trip 1 low, trip 2 high, trip 2 low.
using TripLevelArray = std::array<float, 4>;
using TripWordArray = std::array<int, 4>;

// The levels are typed in the unit of the input range. Programming converts the range
// before it builds the tables (°F to °C, percent to a ratio), so the levels are converted
// the same way; with a custom curve the range stays the curve's physical column as typed
// and the levels stay as they are.
TripLevelArray TripLevelsInTableUnits(const TripLevelArray& levels, int inputCode, int optionFlags, bool custom);

// True when every level lies inside [rangeMin, rangeMax].
bool TripLevelsInRange(const TripLevelArray& levels, double rangeMin, double rangeMax);

// Output code of each level, rounded half to even.
TripWordArray TripWords(const TripLevelArray& levels, double rangeMin, double rangeMax, const OutputLine& line,
                        bool outputDirect);

// Cell 12: the trip mode bits, with bit 2 set for a reverse output.
std::uint8_t TripFlagsForOutput(std::uint8_t tripFlags, bool outputDirect);

}  // namespace vantrel::math
