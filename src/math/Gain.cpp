// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "math/Gain.h"

#include "math/InputCodes.h"
#include "math/InputConfig.h"

namespace vantrel::math {

int GainMultiplier(int inputConfig) {
    switch (inputConfig & kInputConfigGainMask) {
    case 0: return 1;
    case 64: return 3;
    default: return 12;
    }
}

double GainSignalSpan(double firstSignal, double lastSignal, int inputConfig) {
    double span = lastSignal - firstSignal;
    const int range = inputConfig & 15;
    if (range == 8 || range == 9) span /= 20;
    return span;
}

namespace {

int GainForSpan(double s, int m) {
    if (s >= 0 && s < 4.545 * m) return 46;
    if (s < 6.06 * m) return 40;
    if (s < 9.09 * m) return 38;
    if (s < 18.181 * m) return 36;
    if (s < 36.363 * m) return 34;
    return 32;
}

}  // namespace

int GainCode(const GainArgs& args) {
    int code = 0;
    if (args.fixedGain)
        code = 32;
    else if (input::IsPotentiometer(args.inputCode))
        code = 34;
    else
        code = GainForSpan(args.signalSpan, GainMultiplier(args.inputConfig));
    if (args.filterOn) code = kFilterGainCode;
    if (args.burnoutBit) code += kBurnoutBit;
    return code;
}

bool RangeIsNoisy(int inputCode, int inputConfig, double signalSpan) {
    if (input::IsPotentiometer(inputCode)) return false;
    return 2.6 * GainMultiplier(inputConfig) > signalSpan;
}

}  // namespace vantrel::math
