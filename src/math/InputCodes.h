// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// Input codes of the transmitter (cell 10) and the families they fall into. The code space is
// cut in blocks, one per input family; within a block only some codes are ones this program
// produces (the first of each block, the thermocouple types, the RTD sensors, the
// potentiometer ranges). Every layer asks here, so a block means the same everywhere.
namespace vantrel::math::input {

inline constexpr int ThermocoupleK = 1;
inline constexpr int ThermocoupleB = 5;
inline constexpr int ThermocoupleN = 8;
inline constexpr int Pt100 = 21;
inline constexpr int Pt1000 = 22;
inline constexpr int Ni100 = 23;
inline constexpr int Ni1000 = 24;
inline constexpr int PotentiometerLow = 31;
inline constexpr int PotentiometerHigh = 33;
inline constexpr int VoltageCode = 36;
inline constexpr int CurrentCode = 46;
inline constexpr int ResistanceCode = 51;
inline constexpr int SpecialPlatinum = 56;

// The input families, in the order of the programming form's family list (the position a
// programming file stores); a temperature difference is only ever read from a transmitter.
enum class Family { Thermocouple = 0, Rtd = 1, Potentiometer = 2, Voltage = 3, Resistance = 4, Current = 5,
                    TemperatureDifference = 6 };

// The block a code lies in: 1..20 thermocouple, 21..30 RTD, 31..35 potentiometer, 36..45
// voltage, 46..50 current, 51..55 resistance, 56..60 temperature difference.
constexpr std::optional<Family> FamilyOf(int code) {
    struct Block { int first; int last; Family family; };
    constexpr Block blocks[] = {{1, 20, Family::Thermocouple},  {21, 30, Family::Rtd},
                                {31, 35, Family::Potentiometer}, {36, 45, Family::Voltage},
                                {46, 50, Family::Current},       {51, 55, Family::Resistance},
                                {56, 60, Family::TemperatureDifference}};
    for (const Block& b : blocks)
        if (code >= b.first && code <= b.last) return b.family;
    return std::nullopt;
}

// The first code of a family's block: the code of its first sensor, or of the input itself.
constexpr int FirstCode(Family family) {
    switch (family) {
    case Family::Thermocouple: return ThermocoupleK;
    case Family::Rtd: return Pt100;
    case Family::Potentiometer: return PotentiometerLow;
    case Family::Voltage: return VoltageCode;
    case Family::Current: return CurrentCode;
    case Family::Resistance: return ResistanceCode;
    case Family::TemperatureDifference: return SpecialPlatinum;
    }
    return 0;
}

constexpr bool Is(int code, Family family) { return FamilyOf(code) == family; }
constexpr bool IsThermocouple(int code) { return Is(code, Family::Thermocouple); }
constexpr bool IsRtd(int code) { return Is(code, Family::Rtd); }
constexpr bool IsPotentiometer(int code) { return Is(code, Family::Potentiometer); }
// Inputs read as a voltage across a resistance fed by the converter's current source.
constexpr bool UsesRtdCurrent(int code) { return IsRtd(code) || Is(code, Family::Resistance); }
// Inputs whose range is a temperature (°C, or °F when typed so).
constexpr bool IsTemperature(int code) {
    return IsThermocouple(code) || IsRtd(code) || Is(code, Family::TemperatureDifference);
}
// Codes that programming knows how to turn into tables: the ones the form's choices give.
constexpr bool IsProgrammable(int code) {
    return (code >= ThermocoupleK && code <= ThermocoupleN) || (code >= Pt100 && code <= Ni1000) ||
           (code >= PotentiometerLow && code <= PotentiometerHigh) || code == VoltageCode || code == CurrentCode ||
           code == ResistanceCode;
}

// The index of the sensor (thermocouple type, RTD sensor, potentiometer range) a code
// selects within its family's list; it may lie beyond the list for codes no form produces.
constexpr int SensorIndex(int code) {
    const auto family = FamilyOf(code);
    return family ? code - FirstCode(*family) : -1;
}

}  // namespace vantrel::math::input
