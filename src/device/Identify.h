// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "device/WorkingState.h"
#include "math/InputCodes.h"

// What the programming form offers for the identified transmitter: the choice lists (as
// Italian text identifiers, in list order), the model names and whether the trips exist.
namespace vantrel::device {

// Positions of the input-family list; the form, the programming file and the decoder all
// rely on this order.
namespace family {
inline constexpr int Thermocouple = 0;
inline constexpr int Rtd = 1;
inline constexpr int Potentiometer = 2;
inline constexpr int Voltage = 3;
inline constexpr int Resistance = 4;
inline constexpr int Current = 5;
}  // namespace family

// Text identifiers of the list entries that several layers look up.
namespace textid {
inline constexpr int Thermocouple = 31;
inline constexpr int Rtd = 32;
inline constexpr int Potentiometer = 33;
inline constexpr int Voltage = 34;
inline constexpr int Current = 35;
inline constexpr int Resistance = 154;
inline constexpr int TemperatureDifference = 155;
inline constexpr int ThreeWires = 50;
}  // namespace textid

inline constexpr int kThreeWiresIndex = 1;

struct ChoiceLists {
    std::vector<int> inputFamilies;  // thermocouple, RTD, voltage, current, ...
    std::vector<int> tcTypes;        // thermocouple types
    std::vector<int> rtdSensors;     // RTD sensors
    std::vector<int> wirings;        // 2, 3 or 4 wires
    std::vector<int> potRanges;      // potentiometer ranges
    std::vector<int> outputTypes;    // current, voltage
    friend bool operator==(const ChoiceLists&, const ChoiceLists&) = default;
};

struct Identification {
    bool knownFamily = false;           // families 1..4; otherwise the lists stay empty
    ChoiceLists lists;
    std::string modelNames;             // lines ended by CR LF; empty for an unknown family
    std::optional<bool> tripsVisible;   // trips button and frame; unset: leave them as they are
};

// The lists, names and trips visibility for a family and model.
Identification Identify(const Identity& identity);

// The text of the model box: the model names, CR LF, then "( VerSW :  f/ m/ v/ r )".
std::string IdentityLine(const std::string& modelNames, const Identity& identity);

// The text of an input family's list entry (Italian identifier).
int FamilyTextId(math::input::Family family);

// Models 9 and 10 are the ones this program knows how to configure.
inline bool IsAcceptedModel(int deviceModel) { return deviceModel == 9 || deviceModel == kModelWithTrips; }

}  // namespace vantrel::device
