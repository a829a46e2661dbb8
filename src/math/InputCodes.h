#pragma once

// Input codes of the transmitter (cell 10) and the families they fall into.
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
inline constexpr int Voltage = 36;
inline constexpr int Current = 46;
inline constexpr int Resistance = 51;
inline constexpr int SpecialPlatinum = 56;

constexpr bool IsThermocouple(int code) { return code >= ThermocoupleK && code <= ThermocoupleN; }
constexpr bool IsRtd(int code) { return code >= Pt100 && code <= Ni1000; }
constexpr bool IsPotentiometer(int code) { return code >= PotentiometerLow && code <= PotentiometerHigh; }
// Inputs read as a voltage across a resistance fed by the converter's current source.
constexpr bool UsesRtdCurrent(int code) { return IsRtd(code) || code == Resistance; }
// Inputs whose range is a temperature (°C, or °F when typed so).
constexpr bool IsTemperature(int code) { return IsThermocouple(code) || IsRtd(code) || code == SpecialPlatinum; }
// Codes that programming knows how to turn into tables.
constexpr bool IsProgrammable(int code) {
    return IsThermocouple(code) || IsRtd(code) || IsPotentiometer(code) || code == Voltage || code == Current ||
           code == Resistance;
}

}  // namespace vantrel::math::input
