// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Families.h"

namespace vantrel::device {

namespace {

using math::input::Family;
using K = OutputKind;

constexpr RangeLimits kPotentiometer{0, 100, 10, 0, 100};
constexpr RangeLimits kVoltage{-10000, 10000, 2, 0, 100};
constexpr RangeLimits kNarrowVoltage{-100, 700, 2, 0, 100};
constexpr RangeLimits kResistance{0, 2000, 10, 0, 100};
constexpr RangeLimits kCurrent{-10, 24, 2, 0, 20};

const std::vector<Family> kAllInputs = {Family::Thermocouple, Family::Rtd,        Family::Potentiometer,
                                        Family::Voltage,      Family::Resistance, Family::Current};
const std::vector<Family> kInputsWithoutCurrent = {Family::Thermocouple, Family::Rtd, Family::Potentiometer,
                                                   Family::Voltage, Family::Resistance};

// Families 1 and 2: a 4..20 mA output only; the burn-out bit means "down"; the calibration is
// two words; cell 7 is not written; gain code 32 below firmware 4.
FamilyTraits CurrentOnlyFamily(int family, std::vector<const char*> names, std::vector<Family> inputs,
                               int lastPotRange, RangeLimits voltage) {
    FamilyTraits t;
    t.family = family;
    t.modelNames = std::move(names);
    t.inputs = std::move(inputs);
    t.lastPotRangeTextId = lastPotRange;
    t.voltageInput = voltage;
    t.outputs = {{K::Current, {4, 20, 4, 4, 20}, true}};
    t.outputOfCode = {K::Current, K::Current, K::Current, K::Current};
    t.writesCell7 = false;
    t.calibrationInRows = false;
    t.fixedGainBelowFirmware = 4;
    return t;
}

FamilyTraits Family3() {
    FamilyTraits t;
    t.family = 3;
    t.modelNames = {"KRV8690"};
    t.inputs = kAllInputs;
    t.voltageInput = kVoltage;
    t.outputs = {{K::Current, {-20, 20, 8, 4, 20}, false}, {K::Voltage, {-10, 10, 1, 0, 10}, false}};
    t.outputOfCode = {K::Current, K::Current, K::Voltage, std::nullopt};
    t.currentCode = 1;
    t.currentCodeBelowZero = 0;
    t.voltageCode = 2;
    return t;
}

FamilyTraits Family4(int model, std::vector<const char*> names, bool emptyLine, bool trips) {
    FamilyTraits t;
    t.family = 4;
    t.model = model;
    t.modelNames = std::move(names);
    t.emptyLineAfterNames = emptyLine;
    t.inputs = kAllInputs;
    t.voltageInput = kVoltage;
    t.outputs = {{K::Current, {0, 20, 4, 4, 20}, false}, {K::Voltage, {0, 10, 1, 0, 10}, true}};
    t.outputOfCode = {std::nullopt, K::Voltage, K::Current, std::nullopt};
    t.currentCode = 2;
    t.currentCodeBelowZero = 2;
    t.voltageCode = 1;
    t.tripsShown = trips;
    return t;
}

const std::vector<FamilyTraits>& Rows() {
    static const std::vector<FamilyTraits> rows = {
        CurrentOnlyFamily(1, {"KRV7380 / KRV8620"}, kAllInputs, 203, kVoltage),
        CurrentOnlyFamily(2,
                          {"KRV 3070 / KRV 3070 XB", "KRV 3076 / KRV 3076 XB", "KRV 3087 / KRV 3087 XB",
                           "KRV 3092 / KRV 3097", "KRV 7380 XB / KRV 8620 XB"},
                          kInputsWithoutCurrent, 204, kNarrowVoltage),
        Family3(),
        Family4(kModelWithTrips, {"KRV 8690 XB", "KRV 8736 / KRV 8748"}, false, true),
        Family4(0, {"KRV 7398", "KRV 8698 / KRV 8698YD"}, true, false),
    };
    return rows;
}

}  // namespace

const FamilyTraits* FindFamily(const Identity& identity) {
    for (const FamilyTraits& row : Rows())
        if (row.family == identity.DeviceFamily && (row.model == 0 || row.model == identity.DeviceModel)) return &row;
    return nullptr;
}

std::optional<OutputChoice> OutputChoiceOf(const Identity& identity, int outputTypeIndex) {
    const FamilyTraits* traits = FindFamily(identity);
    if (traits == nullptr || outputTypeIndex < 0 || outputTypeIndex >= static_cast<int>(traits->outputs.size()))
        return std::nullopt;
    return traits->outputs[static_cast<std::size_t>(outputTypeIndex)];
}

std::optional<OutputKind> OutputOfCode(const Identity& identity, int outputType) {
    const FamilyTraits* traits = FindFamily(identity);
    if (traits == nullptr || outputType < 0 || outputType > 3) return std::nullopt;
    return traits->outputOfCode[static_cast<std::size_t>(outputType)];
}

int OutputSelectCode(const Identity& identity, int outputTypeIndex, float outMin) {
    const FamilyTraits* traits = FindFamily(identity);
    if (traits == nullptr) return 0;
    if (outputTypeIndex == static_cast<int>(OutputKind::Voltage)) return traits->voltageCode;
    return outMin >= 0 ? traits->currentCode : traits->currentCodeBelowZero;
}

bool BurnoutBitSet(const Identity& identity, int outputTypeIndex, bool burnoutDown) {
    // An entry the family does not list reads like its first output.
    auto choice = OutputChoiceOf(identity, outputTypeIndex);
    if (!choice) choice = OutputChoiceOf(identity, 0);
    if (!choice) return false;
    return choice->burnoutBitMeansDown ? burnoutDown : !burnoutDown;
}

bool BurnoutDownFromGainCode(const Identity& identity, int gainCode, int outputType) {
    const auto kind = OutputOfCode(identity, outputType);
    const FamilyTraits* traits = FindFamily(identity);
    // An output type the family has no entry for reads like its first output.
    const OutputKind entry = kind.value_or(OutputKind::Current);
    const auto choice = traits ? OutputChoiceOf(identity, static_cast<int>(entry)) : std::nullopt;
    if (!choice) return false;
    const bool bit = (gainCode & 128) != 0;
    return choice->burnoutBitMeansDown ? bit : !bit;
}

std::optional<RangeLimits> InputLimits(int inputCode, const Identity& identity) {
    namespace in = math::input;
    if (!in::IsProgrammable(inputCode)) return std::nullopt;
    const auto index = static_cast<std::size_t>(in::SensorIndex(inputCode));
    switch (*in::FamilyOf(inputCode)) {
    case Family::Thermocouple: return kThermocoupleLimits[index];
    case Family::Rtd: return kRtdLimits[index];
    case Family::Potentiometer: return kPotentiometer;
    case Family::Voltage: {
        const FamilyTraits* traits = FindFamily(identity);
        return traits ? traits->voltageInput : kVoltage;
    }
    case Family::Current: return kCurrent;
    case Family::Resistance: return kResistance;
    case Family::TemperatureDifference: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<RangeLimits> OutputLimits(const Identity& identity, int outputTypeIndex) {
    const auto choice = OutputChoiceOf(identity, outputTypeIndex);
    if (!choice) return std::nullopt;
    return choice->limits;
}

int MaxSensorPoints(const Identity& identity) { return identity.DeviceModel == kModelWithTrips ? 27 : 29; }
int MaxSegments(const Identity& identity) { return identity.DeviceModel == kModelWithTrips ? 26 : 28; }
bool UsesVariantInputConfig(const Identity& identity) {
    return identity.DeviceModel == kModelWithTrips && identity.FirmwareVersion == 5;
}

}  // namespace vantrel::device
