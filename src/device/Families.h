// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "device/WorkingState.h"
#include "math/InputCodes.h"

// What each transmitter family and model offers, as data: the model names, the inputs and
// outputs with the limits of their ranges, the output type codes of cell 7 and how the
// burn-out bit reads on each output, where the output calibration lives, whether cell 7 is
// written and whether the trips exist. Code asks this table instead of testing family
// numbers.
namespace vantrel::device {

// Limits of one range: the lowest minimum, the highest maximum, the smallest span, and the
// range a fresh choice starts with. Temperatures are in °C.
struct RangeLimits {
    float min = 0;
    float max = 0;
    float minSpan = 0;
    float defaultMin = 0;
    float defaultMax = 0;
};

// Thermocouple types in list order: K, J, S, R, B, E, T, N.
inline constexpr std::array<RangeLimits, 8> kThermocoupleLimits = {{
    {-200, 1370, 100, 0, 1200},  // K
    {-200, 1200, 100, 0, 400},   // J
    {-50, 1760, 100, 0, 1600},   // S
    {-50, 1760, 100, 0, 1600},   // R
    {400, 1820, 100, 500, 1000}, // B
    {-200, 1000, 100, 0, 200},   // E
    {-200, 400, 100, 0, 100},    // T
    {-200, 1300, 100, 0, 200},   // N
}};
inline constexpr int kThermocoupleB = 4;  // no cold-junction compensation to choose

// RTD sensors in list order: Pt100, Pt1000, Ni100, Ni1000. Ni100's default maximum stays
// inside its own 180 °C limit.
inline constexpr std::array<RangeLimits, 4> kRtdLimits = {{
    {-200, 850, 50, 0, 200},  // Pt100
    {-200, 200, 50, 0, 100},  // Pt1000
    {-60, 180, 50, 0, 100},   // Ni100
    {-60, 150, 50, 0, 100},   // Ni1000
}};

// The limits a whole input family starts with when it is chosen, before a sensor narrows
// them: thermocouples -200..1370 °C, RTDs -200..850 °C.
inline constexpr RangeLimits kThermocoupleFamilyLimits{-200, 1370, 100, 0, 1200};
inline constexpr RangeLimits kRtdFamilyLimits{-200, 850, 50, 0, 100};

// The entries of the output-type list.
enum class OutputKind { Current = 0, Voltage = 1 };

struct OutputChoice {
    OutputKind kind = OutputKind::Current;
    RangeLimits limits;
    bool burnoutBitMeansDown = false;  // cell 6 bit 7 set means "burn-out down" on this output
};

struct FamilyTraits {
    int family = 0;
    int model = 0;  // 0: any model of the family
    std::vector<const char*> modelNames;
    bool emptyLineAfterNames = false;
    std::vector<math::input::Family> inputs;  // the input-family list, in order
    int lastPotRangeTextId = 203;             // the third potentiometer range
    RangeLimits voltageInput;
    std::vector<OutputChoice> outputs;        // the output-type list, in order
    // The output type held in cell 7 (bits 1..0) and the list entry it stands for.
    std::array<std::optional<OutputKind>, 4> outputOfCode{};
    // The output type programming writes into cell 7 for each entry; a current output
    // whose range goes below 0 mA takes its own code on family 3.
    int currentCode = 0;
    int currentCodeBelowZero = 0;
    int voltageCode = 0;
    bool writesCell7 = true;
    bool tripsShown = false;
    bool calibrationInRows = true;   // three cells per output type; else the two words at 252/248
    int fixedGainBelowFirmware = 0;  // gain code 32 for firmware below this (0: never)
};

// The row of the identified family and model; empty for a family outside 1..4.
const FamilyTraits* FindFamily(const Identity& identity);

// The output choice of a list entry on a family; empty when the family has no such entry.
std::optional<OutputChoice> OutputChoiceOf(const Identity& identity, int outputTypeIndex);

// The list entry an output type code read from cell 7 stands for; empty when the family has
// none for it (family 4's output type 0).
std::optional<OutputKind> OutputOfCode(const Identity& identity, int outputType);

// The output type programming writes into cell 7 (and reads the calibration of).
int OutputSelectCode(const Identity& identity, int outputTypeIndex, float outMin);

// Whether cell 6 bit 7 is set for a burn-out state on an output entry.
bool BurnoutBitSet(const Identity& identity, int outputTypeIndex, bool burnoutDown);
// The burn-out state that bit 7 of cell 6 means on the output type read from cell 7.
bool BurnoutDownFromGainCode(const Identity& identity, int gainCode, int outputType);

// The limits an input code takes on a family, in the unit its range is typed in before any
// conversion: °C for temperatures, percent for potentiometers, mV, mA, ohm. Empty for codes
// that no choice of the form produces.
std::optional<RangeLimits> InputLimits(int inputCode, const Identity& identity);

// The output range limits of an output-type entry (0 current, 1 voltage); empty when the
// family has no such output.
std::optional<RangeLimits> OutputLimits(const Identity& identity, int outputTypeIndex);

// The model with trips holds 27 sensor points (26 segments, the tables ending below the trim
// cells); the others 29 (28 segments).
int MaxSensorPoints(const Identity& identity);
int MaxSegments(const Identity& identity);
// The model with trips on firmware version 5 takes the variant input-configuration rows.
bool UsesVariantInputConfig(const Identity& identity);
inline constexpr int kMaxCjcPoints = 6;
inline constexpr int kMinPoints = 2;

}  // namespace vantrel::device
