// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Identify.h"

#include "device/Families.h"

#include "resources/NumberFormat.h"

namespace vantrel::device {

namespace {

constexpr const char* kCrLf = "\r\n";

ChoiceLists ListsFor(const FamilyTraits& row) {
    ChoiceLists lists;
    for (math::input::Family family : row.inputs) lists.inputFamilies.push_back(FamilyTextId(family));
    lists.tcTypes = {36, 37, 38, 39, 40, 41, 42, 183};
    lists.rtdSensors = {43, 44, 45, 46};
    lists.wirings = {49, 50, 51};
    lists.potRanges = {201, 202, row.lastPotRangeTextId};
    for (const OutputChoice& output : row.outputs)
        lists.outputTypes.push_back(output.kind == OutputKind::Voltage ? textid::Voltage : textid::Current);
    return lists;
}

std::string NamesText(const FamilyTraits& row) {
    std::string text;
    for (std::size_t i = 0; i < row.modelNames.size(); ++i) {
        if (i > 0) text += kCrLf;
        text += row.modelNames[i];
    }
    if (row.emptyLineAfterNames) text += kCrLf;
    return text;
}

}  // namespace

int FamilyTextId(math::input::Family family) {
    using math::input::Family;
    switch (family) {
    case Family::Thermocouple: return textid::Thermocouple;
    case Family::Rtd: return textid::Rtd;
    case Family::Potentiometer: return textid::Potentiometer;
    case Family::Voltage: return textid::Voltage;
    case Family::Resistance: return textid::Resistance;
    case Family::Current: return textid::Current;
    case Family::TemperatureDifference: return textid::TemperatureDifference;
    }
    return 0;
}

Identification Identify(const Identity& identity) {
    Identification result;
    const FamilyTraits* row = FindFamily(identity);
    if (row == nullptr) return result;
    result.knownFamily = true;
    result.lists = ListsFor(*row);
    result.modelNames = NamesText(*row);
    result.tripsVisible = row->tripsShown;
    return result;
}

std::string IdentityLine(const std::string& modelNames, const Identity& identity) {
    using resources::Str;
    return modelNames + kCrLf + "( VerSW : " + Str(identity.DeviceFamily) + "/" + Str(identity.DeviceModel) +
           "/" + Str(identity.FirmwareVersion) + "/" + Str(identity.FirmwareRelease) + " )";
}

}  // namespace vantrel::device
