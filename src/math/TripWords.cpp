// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "math/TripWords.h"

#include "math/InputCodes.h"
#include "math/Units.h"
#include "resources/NumberFormat.h"

namespace vantrel::math {

TripLevelArray TripLevelsInTableUnits(const TripLevelArray& levels, int inputCode, int optionFlags, bool custom) {
    if (custom) return levels;
    TripLevelArray converted = levels;
    for (float& level : converted) {
        if (input::IsPotentiometer(inputCode)) level = resources::ToSingle(static_cast<double>(level) / 100.0);
        if ((optionFlags & 8) != 0 && input::IsTemperature(inputCode)) level = FahrenheitToCelsius(level);
    }
    return converted;
}

bool TripLevelsInRange(const TripLevelArray& levels, double rangeMin, double rangeMax) {
    for (const float level : levels)
        if (static_cast<double>(level) > rangeMax || static_cast<double>(level) < rangeMin) return false;
    return true;
}

TripWordArray TripWords(const TripLevelArray& levels, double rangeMin, double rangeMax, const OutputLine& line,
                        bool outputDirect) {
    TripWordArray words{};
    for (std::size_t i = 0; i < levels.size(); ++i)
        words[i] = static_cast<int>(
            resources::RoundHalfEven(OutputCodeAt(static_cast<double>(levels[i]), rangeMin, rangeMax, line, outputDirect)));
    return words;
}

std::uint8_t TripFlagsForOutput(std::uint8_t tripFlags, bool outputDirect) {
    return outputDirect ? static_cast<std::uint8_t>(tripFlags & 3) : static_cast<std::uint8_t>(tripFlags | 4);
}

}  // namespace vantrel::math
