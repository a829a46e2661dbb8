#pragma once

#include <array>
#include <optional>

// What each transmitter family accepts on its input and output: the limits of the ranges as
// the range entry enforces them, the range a new choice starts with, and the smallest span.
// The programming form offers these limits and the configuration check refuses a plan that
// leaves them, so both read them from here.
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

// RTD sensors in list order: Pt100, Pt1000, Ni100, Ni1000. Ni100's default maximum stays
// inside its own 180 °C limit.
inline constexpr std::array<RangeLimits, 4> kRtdLimits = {{
    {-200, 850, 50, 0, 200},  // Pt100
    {-200, 200, 50, 0, 100},  // Pt1000
    {-60, 180, 50, 0, 100},   // Ni100
    {-60, 150, 50, 0, 100},   // Ni1000
}};

// The limits an input code takes on a family, in the unit its range is typed in before any
// conversion: °C for temperatures, percent for potentiometers, mV, mA, ohm. Empty for codes
// that no choice of the form produces.
std::optional<RangeLimits> InputLimits(int inputCode, int deviceFamily);

// The output range limits of an output-type entry (0 current, 1 voltage) on a family; empty
// when the family has no such output.
std::optional<RangeLimits> OutputLimits(int deviceFamily, int outputTypeIndex);

}  // namespace vantrel::device
