// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/ConfigurationCheck.h"
#include "device/MemoryMap.h"
#include "device/PlanRequest.h"
#include "device/WorkingState.h"
#include "math/Converter.h"

// The programming plan: everything a programming sends to the transmitter, computed from
// the programming form, the working state and what was read from the transmitter, without
// talking to it. The caller sends the writes (one "$W" frame each) only when the status is
// Done.
namespace vantrel::device {

// What was learnt from the transmitter before programming.
struct ProgramDeviceData {
    std::uint8_t Cell7 = 0;                           // OutputConfig as last read
    std::optional<math::ConverterCalibration> Converter;  // the six values, when read
    std::optional<FactoryCalibration> Factory;        // cells 233..247, when read
    std::array<int, 4> PreviousTripWords{};           // trip 1 high, 1 low, 2 high, 2 low
};

// Asked when the range is so narrow that the measurement would be noisy (text 156, Yes/No).
// True continues the programming.
using NoiseQuestion = std::function<bool()>;

enum class PlanStatus {
    Done = 0,
    NoisyRangeRefused = 3,
    UnsupportedInput = 4,    // input code 56 or a code no form choice produces
    InvalidCustomTable = 5,  // custom segment counts that do not fit the transmitter
    InvalidCalibration = 6,  // factory block missing for an input that needs it, or a zero span
    InvalidConfiguration = 7,  // the configuration check refused it (see ProgramPlan::problem)
};

// A message for a refusal other than the noise question, in the language of the offset.
std::string PlanStatusText(PlanStatus status, int languageOffset);

struct WriteEntry {
    std::uint8_t address = 0;
    std::uint8_t value = 0;
    friend bool operator==(const WriteEntry&, const WriteEntry&) = default;
};

struct ProgramPlan {
    PlanStatus status = PlanStatus::Done;
    std::optional<ConfigProblem> problem;  // why the configuration check refused it
    // The caller's variables as programming leaves them.
    int OptionWord = 0;          // with bit 4 updated
    float RangeMax = 0;          // converted (°C, ratio), or the custom curve's range
    float RangeMin = 0;
    int SegmentCount = 0;        // N
    int CjcSegmentCount = 0;     // M
    int InputConfig = 0;
    int GainCode = 0;
    int OutputConfig = 0;
    TableStarts Layout;
    std::vector<WriteEntry> writes;  // every entry in order, cell 7 (cell::OutputConfig) among them
    std::vector<WriteEntry> sent;    // what goes on the line (families 1 and 2 skip cell 7)
    // Trips (model 10): the words and flags after this programming.
    bool TripWordsUpdated = false;
    std::array<int, 4> TripWords{};
    std::uint8_t TripFlags = 0;
    // The working tables, single precision, breakpoint 1 first.
    std::vector<float> BreakTemp;
    std::vector<float> BreakSignal;
    std::vector<float> BreakVolts;
    std::vector<float> BreakOutput;
    std::vector<double> CjcSensorTable;
    std::vector<double> CjcEmfTable;
    // How the sensor signals were shaped for the converter, for whoever draws the tables
    // against the sensor's curve.
    math::ConverterConstants Constants;
    int Multiplier = 1;
};

// Converter constants from the factory block and the input converter's calibration; without
// a block the defaults of math::ConverterConstants stand.
math::ConverterConstants DeriveConverterConstants(const std::optional<FactoryCalibration>& factory,
                                                  const math::ConverterCalibration& calibration);

// The message for a refused plan (configuration check, input, custom table, calibration), in
// the language of the offset; empty for a plan that was not refused that way.
std::string PlanRefusalText(const ProgramPlan& plan, int languageOffset);

// Computes the whole programming. `working` supplies the custom tables and counts, the trip
// values and the identity (family, model, firmware version).
ProgramPlan MakeProgramPlan(const PlanRequest& form, const WorkingState& working, const ProgramDeviceData& device,
                            const NoiseQuestion& askNoise);


}  // namespace vantrel::device
