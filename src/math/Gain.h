// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The amplifier byte (cell 6) and the check that a range is too narrow for a clean
// measurement.
namespace vantrel::math {

// Gain multiplier of the converter range selected by an InputConfig: 1, 3 or 12 for
// (InputConfig AND 192) = 0, 64, 128 (and 12 for 192, which no table produces).
int GainMultiplier(int inputConfig);

// Signal span S of the table: last BreakSignal - first, divided by 20 on the two widest
// voltage ranges ((InputConfig AND 15) = 8 or 9).
double GainSignalSpan(double firstSignal, double lastSignal, int inputConfig);

struct GainArgs {
    int inputCode = 0;
    int inputConfig = 0;
    double signalSpan = 0;      // S
    bool fixedGain = false;     // older firmware of some families takes gain code 32 whatever the span
    bool filterOn = false;
    bool burnoutBit = false;    // bit 7, whose sense the family and output decide
};

inline constexpr int kBurnoutBit = 128;
inline constexpr int kFilterGainCode = 33;

// The gain code, then the filter override, then the burn-out bit.
int GainCode(const GainArgs& args);

// True when the range is so narrow that the measurement would be noisy (2.6 x m > S) and
// the user should confirm it. A potentiometer's signal is a ratio of at most 1, so the
// comparison means nothing there and it is never asked for codes 31..33.
bool RangeIsNoisy(int inputCode, int inputConfig, double signalSpan);

}  // namespace vantrel::math
