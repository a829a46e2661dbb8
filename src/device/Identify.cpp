#include "device/Identify.h"


#include "resources/NumberFormat.h"

namespace vantrel::device {

namespace {

constexpr const char* kCrLf = "\r\n";

// One row per family (and, for family 4, per model): names, lists that differ, trips.
struct FamilyRow {
    int family;
    int model;  // 0: any model
    bool anyOtherModel;
    std::vector<const char*> names;
    bool extraEmptyLine;  // family 4 without trips: an empty line precedes the identity line
    bool hasCurrentInput;
    int lastPotRange;
    bool hasVoltageOutput;
    bool tripsVisible;
};

const std::vector<FamilyRow>& FamilyRows() {
    static const std::vector<FamilyRow> rows = {
        {1, 0, false, {"KRV7380 / KRV8620"}, false, true, 203, false, false},
        {2, 0, false,
         {"KRV 3070 / KRV 3070 XB", "KRV 3076 / KRV 3076 XB", "KRV 3087 / KRV 3087 XB",
          "KRV 3092 / KRV 3097", "KRV 7380 XB / KRV 8620 XB"},
         false, false, 204, false, false},
        {3, 0, false, {"KRV8690"}, false, true, 203, true, false},
        {4, kModelWithTrips, false, {"KRV 8690 XB", "KRV 8736 / KRV 8748"}, false, true, 203, true, true},
        {4, 0, true, {"KRV 7398", "KRV 8698 / KRV 8698YD"}, true, true, 203, true, false},
    };
    return rows;
}

const FamilyRow* FindRow(const Identity& identity) {
    for (const FamilyRow& row : FamilyRows()) {
        if (row.family != identity.DeviceFamily) continue;
        if (row.model == 0 || row.model == identity.DeviceModel) return &row;
    }
    return nullptr;
}

ChoiceLists ListsFor(const FamilyRow& row) {
    ChoiceLists lists;
    lists.inputFamilies = {textid::Thermocouple, textid::Rtd, textid::Potentiometer, textid::Voltage,
                           textid::Resistance};
    if (row.hasCurrentInput) lists.inputFamilies.push_back(textid::Current);
    lists.tcTypes = {36, 37, 38, 39, 40, 41, 42, 183};
    lists.rtdSensors = {43, 44, 45, 46};
    lists.wirings = {49, 50, 51};
    lists.potRanges = {201, 202, row.lastPotRange};
    lists.outputTypes = {textid::Current};
    if (row.hasVoltageOutput) lists.outputTypes.push_back(textid::Voltage);
    return lists;
}

std::string NamesText(const FamilyRow& row) {
    std::string text;
    for (std::size_t i = 0; i < row.names.size(); ++i) {
        if (i > 0) text += kCrLf;
        text += row.names[i];
    }
    if (row.extraEmptyLine) text += kCrLf;
    return text;
}

}  // namespace

Identification Identify(const Identity& identity) {
    Identification result;
    const FamilyRow* row = FindRow(identity);
    if (row == nullptr) return result;
    result.knownFamily = true;
    result.lists = ListsFor(*row);
    result.modelNames = NamesText(*row);
    result.tripsVisible = row->tripsVisible;
    return result;
}

std::string IdentityLine(const std::string& modelNames, const Identity& identity) {
    using resources::Str;
    return modelNames + kCrLf + "( VerSW : " + Str(identity.DeviceFamily) + "/" + Str(identity.DeviceModel) +
           "/" + Str(identity.FirmwareVersion) + "/" + Str(identity.FirmwareRelease) + " )";
}

}  // namespace vantrel::device
