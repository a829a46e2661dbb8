// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "math/InputConfig.h"

#include <array>
#include <iterator>

#include "math/InputCodes.h"

namespace vantrel::math {

namespace {

struct VoltageBand {
    double lo;
    double hi;
    int config;
};

// Voltage ranges in mV, narrowest converter range first.
constexpr std::array<VoltageBand, 12> kVoltageBands = {{{-15, 70, 7},
                                                        {-42.5, 42.5, 6},
                                                        {-45, 215, 71},
                                                        {-130, 130, 70},
                                                        {-180, 840, 135},
                                                        {-510, 510, 134},
                                                        {-280, 1320, 9},
                                                        {-800, 800, 8},
                                                        {-900, 3900, 73},
                                                        {-2400, 2400, 72},
                                                        {-3300, 16700, 137},
                                                        {-10000, 10000, 136}}};

int VoltageConfig(double min, double max) {
    for (const auto& band : kVoltageBands)
        if (band.lo <= min && max <= band.hi) return band.config;
    return 0;
}

// Two, three or four wires; a fourth value of the wiring field has no converter setup.
int WiringConfig(int wiring, int base) {
    switch (wiring) {
    case 0: return base + 3;
    case 1: return base + 2;
    case 2: return base + 4;
    default: return 0;
    }
}

constexpr int kPotentiometerConfigs[] = {5, 69, 133};

int StandardConfig(int code, int wiring, bool internalCjc, double min, double max) {
    if (input::IsThermocouple(code)) return internalCjc ? 1 : 7;
    if (input::IsPotentiometer(code)) {
        const int range = input::SensorIndex(code);
        return range < static_cast<int>(std::size(kPotentiometerConfigs)) ? kPotentiometerConfigs[range] : 0;
    }
    switch (code) {
    case input::VoltageCode: return VoltageConfig(min, max);
    case input::CurrentCode: return 138;
    case input::Pt1000:
    case input::Ni1000: return WiringConfig(wiring, 128);
    case input::Pt100: return WiringConfig(wiring, max <= 300 ? 0 : 64);
    case input::Ni100: return WiringConfig(wiring, 0);
    case input::ResistanceCode: return WiringConfig(wiring, max <= 212 ? 0 : (max <= 550 ? 64 : 128));
    case input::SpecialPlatinum: return 75;
    default: return 0;
    }
}

int VariantVoltageConfig(double min, double max) {
    if (min >= -128 && max <= 128) return 6;
    if (min >= -1000 && max <= 1000) return 134;
    if (min >= -10000 && max <= 10000) return 136;
    return 0;
}

int VariantConfig(int code, int wiring, bool internalCjc, double min, double max) {
    switch (code) {
    case 31:
    case 32: return 5;
    case 33: return 133;
    case input::VoltageCode: return VariantVoltageConfig(min, max);
    case input::SpecialPlatinum: return 139;
    case input::Pt100:
    case input::Ni100: return WiringConfig(wiring, max > 700 ? 128 : 0);
    case input::ResistanceCode: return WiringConfig(wiring, max > 350 ? 128 : 0);
    default: return StandardConfig(code, wiring, internalCjc, min, max);
    }
}

bool HasCustomRow(int code) {
    return input::IsThermocouple(code) || input::IsPotentiometer(code) || code == input::VoltageCode ||
           code == input::CurrentCode || code == input::ResistanceCode;
}

}  // namespace

InputConfigChoice SelectInputConfig(const InputConfigArgs& args) {
    const int code = args.inputCode;
    const int wiring = args.optionFlags & 3;
    const bool internalCjc = (args.optionFlags & 1) != 0;
    InputConfigChoice choice;
    choice.multiplier = (code == input::Pt1000 || code == input::Ni1000) ? 10 : 1;
    choice.cjcCompensation = input::IsThermocouple(code) && internalCjc;

    const bool custom = args.customFirstInput.has_value() && args.customLastInput.has_value();
    if (custom) {
        choice.inputConfig =
            HasCustomRow(code) ? StandardConfig(code, wiring, internalCjc, *args.customFirstInput, *args.customLastInput)
                               : 0;
        return choice;
    }
    double min = args.rangeMin;
    double max = args.rangeMax;
    if (code == input::SpecialPlatinum) {
        min = 0;
        max = 800;
        choice.forcedRangeMin = min;
        choice.forcedRangeMax = max;
    }
    const bool variant = args.variantTable;
    choice.inputConfig = variant ? VariantConfig(code, wiring, internalCjc, min, max)
                                 : StandardConfig(code, wiring, internalCjc, min, max);
    return choice;
}

}  // namespace vantrel::math
