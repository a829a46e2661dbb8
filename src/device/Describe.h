// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/WorkingState.h"
#include "math/Units.h"

// Decoding of a configuration read from a transmitter into the choices of the programming
// form and the summary lines shown beside it. Pure: the form applies the result.
namespace vantrel::device {

// The values a configuration read produces, in the order the transmitter yields them.
struct ReadValues {
    int inputCode = 0;           // cell 10
    int flags = 0;               // cell 11
    std::uint8_t outputFlags = 0;  // cell 6: bit 0 filter, bit 7 burn-out
    double rangeTop = 0;         // °C, mV, mA, ohm, or a 0..1 fraction for the potentiometer
    double rangeBottom = 0;
    // Output at the range top and bottom, adjustments removed; unset when the computation has
    // no defined result (an output type without calibration).
    std::optional<float> outputFirst = 0.0f;
    std::optional<float> outputSecond = 0.0f;
    std::array<double, 7> tripValues{};  // 1..4 trip levels in input units, 5 delay ticks
    std::uint8_t tripFlags = 0;  // cell 12
    double zeroAdjust = 0;       // percent
    double spanAdjust = 0;       // percent
    int outputType = 0;          // cell 7 AND 3
    friend bool operator==(const ReadValues&, const ReadValues&) = default;
};

struct DescribeContext {
    Identity identity;
    int languageOffset = 0;
    // Output-type entry the form shows, kept when the read output type has no entry.
    int currentOutputEntry = 0;
};

// Trip-mode bits: bit 1 marks trip 1 as a minimum trip, bit 0 trip 2 (record, trips form,
// cell 12 and the summary all read them this way).
inline constexpr std::uint8_t kTrip1MinimumBit = 2;
inline constexpr std::uint8_t kTrip2MinimumBit = 1;

struct DecodedTrips {
    std::array<float, 4> levels{};  // trip 1 high, trip 1 low, trip 2 high, trip 2 low, display unit
    float delayTicks = 0;
    std::uint8_t flags = 0;
};

struct Description {
    // Input side; unset when the code has no such choice.
    std::optional<int> familyTextId;   // 31, 32, 33, 34, 35, 154 or 155; unset for unknown codes
    std::optional<int> familyPosition; // position in the input-family list (none for 155)
    std::optional<int> tcType;         // may lie beyond the listed types (codes 9..20)
    std::optional<int> rtdSensor;
    std::optional<int> potRange;
    std::optional<int> wiring;
    std::optional<bool> cjcInternal;
    std::optional<bool> linearOn;
    std::optional<bool> fahrenheit;    // temperature families only
    bool custom = false;
    std::string inputRangeMin;         // "####0.###" in the display unit
    std::string inputRangeMax;
    std::optional<math::Unit> unit;    // the unit the range is shown (and measured) in
    std::string inputUnit;             // "  °C", "  °F", " %", "  mV", "  mA", "  Ohm"

    // Output side.
    std::optional<int> outputEntry;    // unset: the read output type has no list entry here
    std::string outputUnit;            // " mA" or " V"
    std::string outputRangeMin;        // empty when the read output range is unknown
    std::string outputRangeMax;
    bool outputDirect = true;
    bool burnoutDown = false;
    bool hideBurnout = false;          // voltage input whose range the burn-out cannot follow
    bool filterOn = false;

    std::optional<DecodedTrips> trips; // model with trips whose levels are all known

    std::vector<std::string> lines;    // summary lines without their CR LF
    std::string SummaryText() const;   // every line ended by CR LF
};

Description Describe(const ReadValues& values, const DescribeContext& context);

// The display form of a temperature read in °C when the user works in °F.
double CelsiusToFahrenheitForDisplay(double celsius);

// A trip level with the summary's resolution ("800.103"); the unknown mark when undefined.
std::string TripLevelText(double level);

}  // namespace vantrel::device
