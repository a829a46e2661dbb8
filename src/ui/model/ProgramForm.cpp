// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/ProgramForm.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "device/CustomTable.h"
#include "device/Identify.h"
#include "device/MemoryMap.h"
#include "math/InputCodes.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::ui {

namespace {

namespace pos = device::family;
using math::input::Family;

constexpr double kBurnoutVoltageMax = 700;
constexpr double kBurnoutVoltageSpan = 800;
constexpr double kTrimLimitPercent = kSliderMax / 10.0;
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kRed{255, 0, 0};

void Refill(ChoiceList& list, const std::vector<int>& entries) {
    const int previous = list.selected;
    list.entries = entries;
    if (list.Has(previous))
        list.selected = previous;
    else
        list.selected = previous >= 0 && !entries.empty() ? 0 : -1;
}

int SelectedOrZero(const ChoiceList& list) { return std::max(list.selected, 0); }

double ParseOrZero(const std::string& text) { return resources::ParseNumber(text).value_or(0); }

// The form's family positions are those of the families table's input list.
std::optional<Family> FamilyAt(int position) {
    if (position < 0 || position > static_cast<int>(Family::Current)) return std::nullopt;
    return static_cast<Family>(position);
}

}  // namespace

ProgramForm::ProgramForm(device::WorkingState& state, device::ConfigRecord& record, FormHost& host,
                         link::Dialogs& dialogs)
    : state_(state), record_(record), host_(host), dialogs_(dialogs) {
    internalCjc_.caption = TextRef::Id(resources::text::kCjcInternal);
    linearisation_.caption = TextRef::Id(resources::text::kLinearField);
    filter_.caption = TextRef::Id(resources::text::kFilter);
    verifyBox_.caption = TextRef::Id(resources::text::kVerifyOption);
    unitLabel_.text = TextRef::Id(resources::text::kUnitCelsius);
    burnoutLabel_.text = TextRef::Id(resources::text::kBurnoutUp);
    directionLabel_.text = TextRef::Id(resources::text::kDirect);
    inputRange_.SetTitle(TextRef::Id(resources::text::kInputRange));
    outputRange_.SetTitle(TextRef::Id(resources::text::kOutputRange));
}

void ProgramForm::Changed() {
    ++version_;
    if (listener_) listener_();
}

// ---- Loading and identification ------------------------------------------------------

void ProgramForm::ApplyIdentity(const device::Identity& identity) {
    state_.identity = identity;
    const device::Identification id = device::Identify(identity);
    Refill(inputFamilies_, id.lists.inputFamilies);
    Refill(thermocoupleTypes_, id.lists.tcTypes);
    Refill(rtdSensors_, id.lists.rtdSensors);
    Refill(wirings_, id.lists.wirings);
    Refill(potRanges_, id.lists.potRanges);
    Refill(outputTypes_, id.lists.outputTypes);
    modelNames_ = id.modelNames;
    if (id.tripsVisible) tripsButton_.visible = tripsFrame_.visible = *id.tripsVisible;
    modelText_ = device::IdentityLine(modelNames_, identity);
    Changed();
}

void ProgramForm::Load(const device::Identity& identity, Mode startMode) {
    loading_ = true;
    ApplyIdentity(identity);
    guide_.step = 0;
    temperatureUnit_ = math::Unit::Celsius;
    unitLabel_.text = TextRef::Id(resources::text::kUnitCelsius);
    burnoutDown_ = false;
    outputDirect_ = true;

    // Input side: a type K thermocouple in °C, no custom curve (neither the box nor the flag
    // that programming and Save read).
    inputFamilies_.selected = inputFamilies_.Count() > 0 ? 0 : -1;
    potRanges_.selected = potRanges_.Count() > 0 ? 0 : -1;
    rtdSensors_.selected = rtdSensors_.Count() > 0 ? 0 : -1;
    wirings_.selected = wirings_.Has(device::kThreeWiresIndex) ? device::kThreeWiresIndex : -1;
    rtdSensors_.visible = wirings_.visible = potRanges_.visible = false;
    thermocoupleTypes_.visible = internalCjc_.visible = linearisation_.visible = true;
    unitButton_.visible = unitLabel_.visible = true;
    burnoutButton_.visible = burnoutLabel_.visible = true;
    customCurve_.checked = false;
    state_.CustomActive = false;
    UnlockInputLists();
    thermocoupleTypes_.selected = -1;
    ChooseTcType(0);  // the type handler has no loading guard: it applies the K row
    inputRange_.SetCaptions(TextRef::Id(resources::text::kMaxTemperature),
                            TextRef::Id(resources::text::kMinTemperature));
    SendInputDefault(0, 200);
    SetInternalCjc(true);
    linearisation_.checked = false;
    filter_.checked = false;
    record_.FilterOn = device::kFlagFalse;

    // Output side.
    burnoutLabel_.text = TextRef::Id(resources::text::kBurnoutUp);
    directionLabel_.text = TextRef::Id(resources::text::kDirect);
    outputTypes_.selected = -1;
    ChooseOutputType(0);
    zeroTrim_ = Adjustment{};
    spanTrim_ = Adjustment{};
    tripsNotice_ = TripsNotice::None;

    loading_ = false;
    ChooseMode(startMode);
    commands_.toolGuide.enabled = true;
    state_.EditedSinceLoad = false;  // the defaults replaced whatever was there
    Changed();
}

// ---- Input side ----------------------------------------------------------------------

float ProgramForm::ToDisplayUnit(float degreesCelsius) const {
    return celsius() ? degreesCelsius : math::CelsiusToFahrenheit(degreesCelsius);
}

// Limits of a temperature arrive in °C and are shown in the form's unit; the smallest span of
// a thermocouple stays the number it is in either unit (as the range entry always offered
// it), an RTD's converts by the factor alone.
void ProgramForm::SetInputLimits(const device::RangeLimits& limits, bool temperature) {
    inputLimits_ = limits;
    if (!temperature) return;
    inputUnit_ = temperatureUnit_;
    inputLimits_.min = ToDisplayUnit(limits.min);
    inputLimits_.max = ToDisplayUnit(limits.max);
    if (FamilyPosition() == pos::Rtd && !celsius()) inputLimits_.minSpan = math::CelsiusSpanToFahrenheit(limits.minSpan);
}

void ProgramForm::SendLimits() {
    inputRange_.SetLimits(inputLimits_.min, inputLimits_.max, inputLimits_.minSpan);
}

void ProgramForm::SendInputDefault(float low, float high) {
    inputRange_.SetTextMax(static_cast<double>(high));
    inputRange_.SetTextMin(static_cast<double>(low));
}

void ProgramForm::ClearWorkingTables() {
    // The editor's rows (29 sensor points, 6 cold-junction points); the last entries of the
    // working tables are never the user's.
    for (int i = 0; i < device::kWorkingPoints - 1; ++i) {
        state_.PtPhysical[static_cast<std::size_t>(i)] = 0;
        state_.PtInput[static_cast<std::size_t>(i)] = 0;
    }
    for (int i = 0; i < device::kWorkingPointsCjc - 1; ++i) {
        state_.CjcPhysical[static_cast<std::size_t>(i)] = 0;
        state_.CjcInput[static_cast<std::size_t>(i)] = 0;
    }
}

void ProgramForm::ChooseFamily(int index) {
    if (measuring_) return;
    if (!inputFamilies_.Has(index)) return;
    const bool changed = index != inputFamilies_.selected;
    inputFamilies_.selected = index;
    if (!loading_) {
        ApplyFamilyRow(index);
        // Levels set for another kind of input mean nothing for this one.
        if (changed && state_.HasTrips()) tripsNotice_ = TripsNotice::InputChanged;
    }
    Changed();
}

void ProgramForm::ApplyFamilyRow(int position) {
    potRanges_.visible = false;
    state_.MarkEdited();

    struct Shown {
        bool burnout, linear, cjc, types, unit, rtd, wiring, potRange;
    };
    const auto show = [this](Shown s) {
        burnoutButton_.visible = burnoutLabel_.visible = s.burnout;
        linearisation_.visible = s.linear;
        internalCjc_.visible = s.cjc;
        thermocoupleTypes_.visible = s.types;
        unitButton_.visible = unitLabel_.visible = s.unit;
        rtdSensors_.visible = s.rtd;
        wirings_.visible = s.wiring;
        potRanges_.visible = s.potRange;
    };
    const auto linearFamily = [this](Family family) {
        const device::RangeLimits limits = *device::InputLimits(math::input::FirstCode(family), state_.identity);
        SetInputLimits(limits, false);
        inputUnit_ = math::InputUnit(math::input::FirstCode(family), false);
        SendInputDefault(limits.defaultMin, limits.defaultMax);
    };

    switch (FamilyAt(position).value_or(Family::TemperatureDifference)) {
    case Family::Thermocouple:
        SetInputLimits(device::kThermocoupleFamilyLimits, true);
        inputRange_.SetCaptions(TextRef::Id(resources::text::kMaxTemperature),
                                TextRef::Id(resources::text::kMinTemperature));
        show({true, true, true, true, true, false, false, false});
        thermocoupleTypes_.selected = -1;
        ChooseTcType(0);  // K, also when K was already selected
        break;
    case Family::Rtd:
        SetInputLimits(device::kRtdFamilyLimits, true);
        inputRange_.SetCaptions(TextRef::Id(resources::text::kMaxTemperature),
                                TextRef::Id(resources::text::kMinTemperature));
        show({true, true, false, false, true, true, true, false});
        ChooseRtdSensor(0);
        ChooseWiring(device::kThreeWiresIndex);
        SendInputDefault(ToDisplayUnit(device::kRtdFamilyLimits.defaultMin),
                         ToDisplayUnit(device::kRtdFamilyLimits.defaultMax));
        break;
    case Family::Potentiometer:
        linearFamily(Family::Potentiometer);
        inputRange_.SetCaptions(TextRef::Literal("% Max"), TextRef::Literal("% Min"));
        show({true, false, false, false, false, false, false, true});
        ChoosePotRange(0);
        break;
    case Family::Voltage:
        linearFamily(Family::Voltage);
        inputRange_.SetCaptions(TextRef::Id(resources::text::kMaxVoltage), TextRef::Id(resources::text::kMinVoltage));
        show({true, false, false, false, false, false, false, false});
        break;
    case Family::Resistance:
        linearFamily(Family::Resistance);
        inputRange_.SetCaptions(TextRef::Literal("Ohm Max"), TextRef::Literal("Ohm Min"));
        show({true, false, false, false, false, false, true, false});
        ChooseWiring(device::kThreeWiresIndex);
        break;
    case Family::Current:
        linearFamily(Family::Current);
        inputRange_.SetCaptions(TextRef::Id(resources::text::kMaxCurrent), TextRef::Id(resources::text::kMinCurrent));
        show({false, false, false, false, false, false, false, false});
        break;
    case Family::TemperatureDifference:
        break;
    }
    inputRange_.SetUnit(inputUnit_ ? std::string(math::Symbol(*inputUnit_)) : std::string());
    SendLimits();
    ClearWorkingTables();
}

void ProgramForm::ChooseTcType(int index) {
    if (measuring_) return;
    state_.MarkEdited();
    if (!thermocoupleTypes_.Has(index) || index >= static_cast<int>(device::kThermocoupleLimits.size())) return;
    thermocoupleTypes_.selected = index;
    internalCjc_.visible = true;
    internalCjc_.enabled = index != device::kThermocoupleB;  // type B needs no cold-junction compensation
    const device::RangeLimits& row = device::kThermocoupleLimits[static_cast<std::size_t>(index)];
    SetInputLimits(row, true);
    inputRange_.SetUnit(std::string(math::Symbol(temperatureUnit_)));
    SendInputDefault(ToDisplayUnit(row.defaultMin), ToDisplayUnit(row.defaultMax));
    SendLimits();
    Changed();
}

void ProgramForm::ChooseRtdSensor(int index) {
    if (measuring_) return;
    state_.MarkEdited();
    if (!rtdSensors_.Has(index) || index >= static_cast<int>(device::kRtdLimits.size())) return;
    rtdSensors_.selected = index;
    if (loading_) return;
    const device::RangeLimits& row = device::kRtdLimits[static_cast<std::size_t>(index)];
    SetInputLimits(row, true);
    inputRange_.SetUnit(std::string(math::Symbol(temperatureUnit_)));
    SendInputDefault(ToDisplayUnit(row.defaultMin), ToDisplayUnit(row.defaultMax));
    SendLimits();
    Changed();
}

void ProgramForm::ChooseWiring(int index) {
    if (measuring_) return;
    state_.MarkEdited();
    if (!wirings_.Has(index)) return;
    wirings_.selected = index;
    Changed();
}

void ProgramForm::ChoosePotRange(int index) {
    if (measuring_) return;
    state_.MarkEdited();
    if (!potRanges_.Has(index)) return;
    potRanges_.selected = index;
    if (loading_) return;
    SetInputLimits(*device::InputLimits(math::input::PotentiometerLow, state_.identity), false);
    SendLimits();
    Changed();
}

void ProgramForm::SetInternalCjc(bool checked) {
    internalCjc_.checked = checked;
    internalCjc_.caption = TextRef::Id(checked ? resources::text::kCjcInternal : resources::text::kCjcExternal);
}

void ProgramForm::ClickInternalCjc(bool checked) {
    if (measuring_) return;
    state_.MarkEdited();
    SetInternalCjc(checked);
    Changed();
}

void ProgramForm::SetLinear(bool checked) { linearisation_.checked = checked; }

void ProgramForm::ClickLinear(bool checked) {
    if (measuring_) return;
    state_.MarkEdited();
    SetLinear(checked);
    Changed();
}

// Trip levels are typed in the unit of the range; they follow it like the range ends.
void ProgramForm::ConvertTripLevels(bool toCelsius) {
    if (!state_.HasTrips()) return;
    for (float& level : state_.TripLevels) {
        const float converted = toCelsius ? math::FahrenheitToCelsius(level) : math::CelsiusToFahrenheit(level);
        if (std::isfinite(converted)) level = converted;
    }
}

void ProgramForm::ToggleUnit() {
    if (measuring_) return;
    state_.MarkEdited();
    const bool toCelsius = !celsius();
    temperatureUnit_ = toCelsius ? math::Unit::Celsius : math::Unit::Fahrenheit;
    const auto convert = toCelsius ? math::FahrenheitToCelsius : math::CelsiusToFahrenheit;
    unitLabel_.text = TextRef::Id(toCelsius ? resources::text::kUnitCelsius : resources::text::kUnitFahrenheit);
    inputLimits_.max = convert(inputLimits_.max);
    inputLimits_.min = convert(inputLimits_.min);
    // A span converts by the factor alone: 50 °C is 90 °F wide, not 122.
    if (FamilyPosition() == pos::Rtd)
        inputLimits_.minSpan = toCelsius ? math::FahrenheitSpanToCelsius(inputLimits_.minSpan)
                                         : math::CelsiusSpanToFahrenheit(inputLimits_.minSpan);
    inputUnit_ = temperatureUnit_;
    inputRange_.SetUnit(std::string(math::Symbol(temperatureUnit_)));
    // A range box that does not hold a number a Single keeps, in either unit, is left for the
    // range check to refuse.
    const auto converted = [&](const std::string& text) -> std::optional<float> {
        const auto value = resources::ParseSingle(text);
        if (!value || !std::isfinite(convert(*value))) return std::nullopt;
        return convert(*value);
    };
    if (const auto high = converted(inputRange_.maxText())) inputRange_.SetTextMax(static_cast<double>(*high));
    if (const auto low = converted(inputRange_.minText())) inputRange_.SetTextMin(static_cast<double>(*low));
    ConvertTripLevels(toCelsius);
    SendLimits();
    UpdateTripsNotice();
    Changed();
}

void ProgramForm::SetUnit(bool inCelsius) {
    if (celsius() != inCelsius) ToggleUnit();
}

PointsEditorRequest ProgramForm::PrepareEditor() const {
    PointsEditorRequest request;
    request.encoding = encoding_;
    const int code = encoding_.inputCode;
    const auto family = math::input::FamilyOf(code);
    const bool thermocouple = family == Family::Thermocouple;
    const bool internalCjc = thermocouple && (encoding_.optionFlags & device::option::InternalCjc) != 0;
    bool withWiring = false;
    switch (family.value_or(Family::TemperatureDifference)) {
    case Family::Thermocouple: request.inputUnit = "mV", request.physicalUnit = "Temp"; break;
    case Family::Rtd:
        request.inputUnit = "Ohm", request.physicalUnit = "Temp";
        withWiring = true;
        break;
    case Family::Potentiometer: request.inputUnit = "%", request.physicalUnit = "% Lin."; break;
    case Family::Voltage: request.inputUnit = "mV", request.physicalUnit = "mV Lin."; break;
    case Family::Current: request.inputUnit = "mA", request.physicalUnit = "mA Lin."; break;
    case Family::Resistance:
        request.inputUnit = "Ohm", request.physicalUnit = "Ohm Lin.";
        withWiring = true;
        break;
    case Family::TemperatureDifference: break;
    }
    request.title = " (Custom) ";
    if (family && *family != Family::TemperatureDifference) request.title += T(device::FamilyTextId(*family));
    if (withWiring && wirings_.Has(wirings_.selected)) request.title += " - " + T(wirings_.SelectedTextId());
    if (internalCjc) request.title += " " + T(resources::text::kInternalJunctionCompensation);
    request.coldJunctionPage = internalCjc && internalCjc_.enabled;
    request.coldJunctionTitle = T(resources::text::kCjcPage);
    request.cancelCaption = T(resources::text::kCancel);
    return request;
}

// An accepted curve belongs to the input it was entered for: the lists that would change the
// input stay locked while it is in force; the wiring may still change.
void ProgramForm::ApplyCurveAcceptedState() {
    commands_.language.enabled = true;
    wirings_.enabled = true;
    inputFamilies_.enabled = thermocoupleTypes_.enabled = rtdSensors_.enabled = false;
}

void ProgramForm::UnlockInputLists() {
    inputFamilies_.enabled = thermocoupleTypes_.enabled = rtdSensors_.enabled = wirings_.enabled = true;
}

void ProgramForm::ClickCustom(bool checked) {
    if (measuring_) return;
    customCurve_.checked = checked;
    state_.MarkEdited();
    if (!checked) {
        UnlockInputLists();
        burnoutButton_.enabled = directionButton_.enabled = true;
        EncodeInput();  // CustomActive follows the box, so a file saved now is not marked custom
        Changed();
        return;
    }
    EncodeInput();
    directionButton_.enabled = true;
    Changed();
    if (!editorAllowed_) return;
    const PointsEditorResult result = host_.OpenPointsEditor(PrepareEditor());
    if (result.accepted) {
        ApplyCurveAcceptedState();
        inputRange_.SetTexts(result.rangeMin, result.rangeMax);
    } else {
        ClickCustom(false);
        commands_.language.enabled = true;
    }
    Changed();
}

void ProgramForm::RestoreCustomBox(bool checked) {
    editorAllowed_ = false;
    ClickCustom(checked);
    editorAllowed_ = true;
    if (checked) ApplyCurveAcceptedState();
    Changed();
}

bool ProgramForm::RestoreCustomCurve() {
    // The file holds the user's points only: run the editor's storing steps (the added point
    // of an even table, the segment counts) so programming right after is correct. Without a
    // cold-junction page the editor keeps a count of 2, whatever the file says.
    const InputEncoding e = EncodeInput();
    const bool cjcPage = math::input::IsThermocouple(e.inputCode) && (e.optionFlags & device::option::InternalCjc) != 0;
    const int cjcPoints = cjcPage ? state_.CjcPoints : device::kMinPoints;
    if (!device::CompleteLoadedCurve(state_, state_.SensorPoints - (state_.PointExtra ? 1 : 0), cjcPoints)) {
        RestoreCustomBox(false);
        return false;
    }
    RestoreCustomBox(true);
    return true;
}

void ProgramForm::TypeInputRange(std::string min, std::string max) {
    inputRange_.TypeMin(std::move(min));
    inputRange_.TypeMax(std::move(max));
    state_.MarkEdited();
    Changed();
}

void ProgramForm::TypeInputMax(std::string text) {
    inputRange_.TypeMax(std::move(text));
    state_.MarkEdited();
    Changed();
}

void ProgramForm::TypeInputMin(std::string text) {
    inputRange_.TypeMin(std::move(text));
    state_.MarkEdited();
    Changed();
}

void ProgramForm::SetInputRangeTexts(std::string min, std::string max) {
    inputRange_.SetTexts(std::move(min), std::move(max));
    UpdateTripsNotice();
    Changed();
}

void ProgramForm::SetInputRangeValues(double min, double max) {
    inputRange_.SetTextMin(min);
    inputRange_.SetTextMax(max);
    UpdateTripsNotice();
    Changed();
}

void ProgramForm::ApplyBurnoutAvailability() {
    burnoutButton_.visible = burnoutLabel_.visible = true;
    if (FamilyPosition() != pos::Voltage) return;
    const double high = ParseOrZero(inputRange_.maxText());
    const double low = ParseOrZero(inputRange_.minText());
    if (high > kBurnoutVoltageMax || high - low > kBurnoutVoltageSpan)
        burnoutButton_.visible = burnoutLabel_.visible = false;
}

RangeVerdict ProgramForm::LeaveInputRange() {
    const RangeVerdict verdict = inputRange_.Leave(dialogs_);
    ApplyBurnoutAvailability();
    UpdateTripsNotice();
    Changed();
    return verdict;
}

// A level outside the range is not programmed (the transmitter keeps its words); the user is
// told beside the trips and again before programming. A change of input is said until the
// trips form has been opened.
void ProgramForm::UpdateTripsNotice() {
    if (!state_.HasTrips() || tripsNotice_ == TripsNotice::InputChanged) return;
    const auto low = resources::ParseSingle(inputRange_.minText());
    const auto high = resources::ParseSingle(inputRange_.maxText());
    tripsNotice_ = TripsNotice::None;
    if (!low || !high) return;
    for (float level : state_.TripLevels)
        if (level < *low || level > *high) tripsNotice_ = TripsNotice::OutsideRange;
}

InputEncoding ProgramForm::EncodeInput() {
    namespace opt = device::option;
    InputEncoding e;
    state_.CustomActive = false;
    if (customCurve_.checked) {
        state_.CustomActive = true;
        e.optionFlags += opt::Custom;
    }
    const std::optional<Family> family = FamilyAt(FamilyPosition());
    if (family) {
        e.inputCode = math::input::FirstCode(*family);
        switch (*family) {
        case Family::Thermocouple:
            e.inputCode += SelectedOrZero(thermocoupleTypes_);
            if (internalCjc_.checked) e.optionFlags += opt::InternalCjc;
            if (linearisation_.checked) e.optionFlags += opt::LinearTc;
            break;
        case Family::Rtd:
            e.inputCode += SelectedOrZero(rtdSensors_);
            e.optionFlags = (e.optionFlags & ~7) + SelectedOrZero(wirings_);
            if (linearisation_.checked) e.optionFlags += opt::LinearRtd;
            break;
        case Family::Potentiometer: e.inputCode += SelectedOrZero(potRanges_); break;
        case Family::Resistance: e.optionFlags = (e.optionFlags & ~7) + SelectedOrZero(wirings_); break;
        default: break;
        }
        // Only temperatures have a unit to convert; a potentiometer works in percent.
        if (math::input::IsTemperature(e.inputCode) && !celsius()) e.optionFlags += opt::Fahrenheit;
    }
    if (!outputDirect_) e.optionFlags += opt::ReverseOutput;
    if (outputDirect_ != burnoutDown_) e.optionFlags += opt::BurnoutUpward;
    encoding_ = e;
    return e;
}

// ---- Output side ---------------------------------------------------------------------

void ProgramForm::ChooseOutputType(int index) {
    if (measuring_) return;
    state_.MarkEdited();
    if (!outputTypes_.Has(index)) return;
    outputTypes_.selected = index;
    const bool voltage = index == static_cast<int>(device::OutputKind::Voltage);
    outputRange_.SetUnit(std::string(math::Symbol(voltage ? math::Unit::Volt : math::Unit::Milliamp)));
    outputRange_.SetCaptions(TextRef::Id(voltage ? resources::text::kMaxVoltage : resources::text::kMaxCurrent),
                             TextRef::Id(voltage ? resources::text::kMinVoltage : resources::text::kMinCurrent));
    // A family the table does not know changes only the unit and the captions.
    if (const auto limits = device::OutputLimits(state_.identity, index)) {
        outputRange_.SetTextMin(static_cast<double>(limits->defaultMin));
        outputRange_.SetTextMax(static_cast<double>(limits->defaultMax));
        outputRange_.SetLimits(limits->min, limits->max, limits->minSpan);
    }
    Changed();
}

void ProgramForm::TypeOutputRange(std::string min, std::string max) {
    outputRange_.TypeMin(std::move(min));
    outputRange_.TypeMax(std::move(max));
    state_.MarkEdited();
    Changed();
}

void ProgramForm::TypeOutputMax(std::string text) {
    outputRange_.TypeMax(std::move(text));
    state_.MarkEdited();
    Changed();
}

void ProgramForm::TypeOutputMin(std::string text) {
    outputRange_.TypeMin(std::move(text));
    state_.MarkEdited();
    Changed();
}

void ProgramForm::SetOutputRangeValues(double min, double max) {
    outputRange_.SetTextMin(min);
    outputRange_.SetTextMax(max);
    Changed();
}

RangeVerdict ProgramForm::LeaveOutputRange() {
    const RangeVerdict verdict = outputRange_.Leave(dialogs_);
    Changed();
    return verdict;
}

void ProgramForm::SetBurnout(bool down) {
    burnoutDown_ = down;
    burnoutLabel_.text = TextRef::Id(down ? resources::text::kBurnoutDown : resources::text::kBurnoutUp);
}

void ProgramForm::SetDirection(bool direct) {
    outputDirect_ = direct;
    directionLabel_.text = TextRef::Id(direct ? resources::text::kDirect : resources::text::kReverse);
}

void ProgramForm::ToggleBurnout() {
    if (measuring_) return;
    state_.MarkEdited();
    burnoutDown_ = !burnoutDown_;
    burnoutLabel_.text =
        TextRef::Id(burnoutLabel_.text.id != resources::text::kBurnoutDown ? resources::text::kBurnoutDown
                                                                           : resources::text::kBurnoutUp);
    Changed();
}

void ProgramForm::ToggleDirection() {
    if (measuring_) return;
    state_.MarkEdited();
    SetDirection(!outputDirect_);
    Changed();
}

void ProgramForm::ClickFilter(bool checked) {
    if (measuring_) return;
    state_.MarkEdited();
    filter_.checked = checked;
    record_.FilterOn = device::ToFlag(checked);
    Changed();
}

void ProgramForm::ClickVerify(bool checked) {
    verifyBox_.checked = checked;
    Changed();
}

bool ProgramForm::AdjustKeyAccepted(char key) {
    return (key >= '0' && key <= '9') || key == 8 || key == 13 || key == '-' || key == '.' || key == ',';
}

void ProgramForm::SetAdjustText(AdjustWhich which, std::string text) {
    Adjustment& a = AdjustmentFor(which);
    a.text = std::move(text);
    a.textSelected = false;
    state_.MarkEdited();
    Changed();
}

void ProgramForm::AdjustFocusLost(AdjustWhich which) {
    Adjustment& a = AdjustmentFor(which);
    if (a.text.empty()) a.text = "0";
    const auto value = resources::ParseNumber(a.text);
    if (value && std::fabs(*value) <= kTrimLimitPercent) {
        const int position = static_cast<int>(resources::RoundHalfEven(*value * 10));
        MoveSlider(which, position);
    } else {
        // The box never shows a trim other than the one saved and programmed.
        link::Message message = link::TableMessage(resources::text::kTrimOutOfRange, LanguageOffset(),
                                                   link::Buttons::Ok, link::Icon::Exclamation);
        message.text += " " + a.text;
        dialogs_.Show(message);
        a.text = resources::PlainText(a.slider / 10.0);
        a.textSelected = true;
    }
    Changed();
}

void ProgramForm::AdjustEnter(AdjustWhich which) {
    AdjustFocusLost(which);
    AdjustmentFor(which).textSelected = true;
    Changed();
}

void ProgramForm::MoveSlider(AdjustWhich which, int position) {
    if (measuring_) return;
    state_.MarkEdited();
    Adjustment& a = AdjustmentFor(which);
    a.slider = std::clamp(position, kSliderMin, kSliderMax);
    a.text = resources::PlainText(a.slider / 10.0);
    Changed();
}

void ProgramForm::ClickTrips() {
    if (measuring_) return;
    state_.MarkEdited();
    Changed();
    host_.OpenTripsForm(
        {T(resources::text::kCancel), inputRange_.minText(), inputRange_.maxText(), inputRange_.unit()});
    commands_.language.enabled = true;
    // A custom curve in force keeps the input lists locked.
    if (state_.CustomActive)
        ApplyCurveAcceptedState();
    else
        UnlockInputLists();
    tripsNotice_ = TripsNotice::None;
    UpdateTripsNotice();
    Changed();
}

void ProgramForm::ChooseMode(Mode newMode) {
    if (measuring_) return;
    mode_ = newMode;
    const bool measure = newMode == Mode::Measure;
    actionColour_ = measure ? kYellow : kCyan;
    stopButton_.visible = measure;
    commands_.toolStop.visible = measure;
    actionToolTip_ = TextRef::Id(measure ? resources::text::kMeasure : resources::text::kProgramming);
    stateLampFrame_.visible = measurementPage_.visible = measure;
    optionsPage_.visible = !measure;
    Changed();
}

void ProgramForm::PressAction() {
    guide_.StopForAction();
    commands_.toolGuide.enabled = false;
    if (mode_ == Mode::Measure) {
        // Nothing of the configuration changes while the stream runs.
        unitButton_.enabled = actionButton_.enabled = stopButton_.enabled = false;
        configurationFrame_.enabled = false;
        commands_.start.enabled = commands_.stop.enabled = false;
        commands_.language.enabled = false;
        commands_.toolbarEnabled = false;
        commands_.toolDisplay.enabled = true;
        programmingOption_.enabled = false;
        measuring_ = true;
        Changed();
        host_.RunMeasurement();
        measuring_ = false;
        commands_.toolbarEnabled = true;
        unitButton_.enabled = programmingOption_.enabled = true;
        configurationFrame_.enabled = commands_.language.enabled = true;
        ChooseMode(Mode::Measure);
        SetDisplay({});
    } else {
        const InputEncoding e = EncodeInput();
        if (tripsNotice_ != TripsNotice::None) {
            dialogs_.Show(link::TableMessage(tripsNotice_ == TripsNotice::OutsideRange
                                                 ? resources::text::kTripsOutsideRange
                                                 : resources::text::kTripsInputChanged,
                                             LanguageOffset(), link::Buttons::Ok, link::Icon::Exclamation));
        }
        configurationFrame_.enabled = false;
        commands_.stop.enabled = commands_.language.enabled = false;
        Changed();
        host_.RunProgramming(e);
        commands_.language.enabled = configurationFrame_.enabled = commands_.stop.enabled = commands_.start.enabled =
            true;
    }
    stateLamp_ = kRed;
    commands_.toolGuide.enabled = true;
    Changed();
}

void ProgramForm::PressStop() { host_.StopMeasurement(); }

void ProgramForm::ShowReading(Rgb stateLamp, std::string text) {
    stateLamp_ = stateLamp;
    SetDisplay(std::move(text));
}

void ProgramForm::SetDisplay(std::string text) {
    display_ = std::move(text);
    if (display_.empty()) {
        commands_.fullscreen.enabled = false;
    } else {
        commands_.toolDisplay.enabled = commands_.fullscreen.enabled = true;
        if (!stopButton_.enabled) {
            stopButton_.enabled = true;
            commands_.stop.enabled = true;
            commands_.toolbarEnabled = true;
            commands_.toolStart.enabled = false;
        }
    }
    Changed();
}

void ProgramForm::EnterNotConnectedState() {
    progressValue_ = 0.00001;
    linkIndicatorsGrey_ = true;
    deviceConnected_ = false;
    modelText_ = T(resources::text::kDeviceNotConnected);
    actionButton_.enabled = stopButton_.enabled = false;
    commands_.toolStart.enabled = commands_.toolStop.enabled = false;
    commands_.toolConnect.enabled = true;
    commands_.start.enabled = commands_.stop.enabled = false;
    summary_ = T(resources::text::kNoData);
    commands_.busyPictureVisible = false;
    commands_.progressTimerRunning = false;
    Changed();
}

// The connection test's verdict also decides which device commands are offered: after a
// failed test (or a failed read) a later successful one must give them back.
void ProgramForm::SetConnected(bool connected) {
    deviceConnected_ = connected;
    if (connected) linkIndicatorsGrey_ = false;
    actionButton_.enabled = stopButton_.enabled = connected;
    commands_.start.enabled = commands_.stop.enabled = connected;
    commands_.toolStart.enabled = commands_.toolStop.enabled = connected;
    commands_.toolConnect.enabled = true;
    Changed();
}

void ProgramForm::SetSliders(int zeroPosition, int spanPosition) {
    MoveSlider(AdjustWhich::Zero, zeroPosition);
    MoveSlider(AdjustWhich::Span, spanPosition);
}

void ProgramForm::SetStateLamp(Rgb colour) {
    stateLamp_ = colour;
    Changed();
}

void ProgramForm::SetBusy(bool busy) {
    commands_.busyPictureVisible = busy;
    commands_.progressTimerRunning = busy;
    Changed();
}

void ProgramForm::SetCaption(std::string caption) {
    commands_.caption = std::move(caption);
    Changed();
}

void ProgramForm::OfferAction() {
    actionButton_.enabled = true;
    commands_.start.enabled = true;
    commands_.toolStart.enabled = true;
    Changed();
}

void ProgramForm::ToggleOptionsPage() {
    if (measuring_) return;
    const bool showOptions = !optionsPage_.visible;
    optionsPage_.visible = showOptions;
    measurementPage_.visible = stateLampFrame_.visible = !showOptions;
    Changed();
}

// ---- Reading back --------------------------------------------------------------------

std::string ProgramForm::ApplyRead(const device::ReadValues& values, const std::optional<CustomTables>& tables) {
    lastRead_ = values;
    const device::DescribeContext context{state_.identity, LanguageOffset(), SelectedOrZero(outputTypes_)};
    const device::Description description = device::Describe(values, context);
    encoding_ = {values.inputCode, values.flags};
    ApplyDescription(description, tables);
    if (state_.HasTrips()) {
        MoveSlider(AdjustWhich::Zero, static_cast<int>(resources::RoundHalfEven(values.zeroAdjust * 10)));
        MoveSlider(AdjustWhich::Span, static_cast<int>(resources::RoundHalfEven(values.spanAdjust * 10)));
    }
    summary_ = description.SummaryText();
    tripsNotice_ = TripsNotice::None;
    UpdateTripsNotice();
    state_.EditedSinceLoad = false;  // the form holds what the transmitter holds
    Changed();
    return summary_;
}

void ProgramForm::ApplyDescription(const device::Description& d, const std::optional<CustomTables>& tables) {
    ApplyIdentity(state_.identity);
    if (d.familyPosition) {
        // A sensor code beyond the family's list leaves the selection as it is (the summary
        // says the code is unknown); choosing the same family again would reset it to K.
        const bool sensorListed = (!d.tcType || thermocoupleTypes_.Has(*d.tcType)) &&
                                  (!d.rtdSensor || rtdSensors_.Has(*d.rtdSensor)) &&
                                  (!d.potRange || potRanges_.Has(*d.potRange));
        if (sensorListed || FamilyPosition() != *d.familyPosition) ChooseFamily(*d.familyPosition);
        if (d.tcType) ChooseTcType(*d.tcType);
        if (d.rtdSensor) ChooseRtdSensor(*d.rtdSensor);
        if (d.potRange) ChoosePotRange(*d.potRange);
        if (d.wiring) ChooseWiring(*d.wiring);
    }
    if (d.cjcInternal) SetInternalCjc(*d.cjcInternal);
    if (d.linearOn) SetLinear(*d.linearOn);
    if (d.fahrenheit) SetUnit(!*d.fahrenheit);
    inputRange_.SetTexts(d.inputRangeMin, d.inputRangeMax);

    if (d.outputEntry) ChooseOutputType(*d.outputEntry);
    // An output range without a defined result leaves the boxes as they were.
    if (!d.outputRangeMin.empty() && !d.outputRangeMax.empty())
        outputRange_.SetTexts(d.outputRangeMin, d.outputRangeMax);
    if (outputDirect_ != d.outputDirect) ToggleDirection();
    SetBurnout(d.burnoutDown);
    if (d.hideBurnout) burnoutButton_.visible = burnoutLabel_.visible = false;
    filter_.checked = d.filterOn;
    record_.FilterOn = device::ToFlag(d.filterOn);

    if (d.trips) {
        state_.TripLevels = d.trips->levels;
        state_.TripDelayTicks = d.trips->delayTicks;
        state_.TripFlags = d.trips->flags;
    }

    if (!d.custom) {
        ClickCustom(false);
        return;
    }
    if (tables) StoreTables(*tables);
    RestoreCustomBox(true);
}

void ProgramForm::StoreTables(const CustomTables& tables) {
    const auto store = [](const std::vector<device::Point>& points, auto& physical, auto& input) {
        physical.fill(0);
        input.fill(0);
        const std::size_t count = std::min(points.size(), physical.size());
        for (std::size_t i = 0; i < count; ++i) {
            physical[i] = static_cast<float>(points[i].physical);
            // Input values computed back from the converter voltages are kept as shown.
            const std::string shown = resources::Format(points[i].input, "####0.0##");
            input[i] = static_cast<float>(resources::ParseNumber(shown).value_or(points[i].input));
        }
        return static_cast<int>(count);
    };
    const int sensorPoints = store(tables.sensor, state_.PtPhysical, state_.PtInput);
    const int cjcPoints = store(tables.cjc, state_.CjcPhysical, state_.CjcInput);
    // The user's points only came back: the editor's storing steps add the end point of an
    // even table and set the segment counts. Without a cold-junction page the editor keeps
    // a count of 2.
    device::CompleteLoadedCurve(state_, sensorPoints, tables.cjc.empty() ? device::kMinPoints : cjcPoints);
}

std::string ProgramForm::RenderSummary() {
    if (!lastRead_) return summary_;
    device::ReadValues values = *lastRead_;
    values.zeroAdjust = zeroTrim_.slider / 10.0;
    values.spanAdjust = spanTrim_.slider / 10.0;
    const device::DescribeContext context{state_.identity, LanguageOffset(), SelectedOrZero(outputTypes_)};
    summary_ = device::Describe(values, context).SummaryText();
    Changed();
    return summary_;
}

// ---- Language ------------------------------------------------------------------------

void ProgramForm::ApplyLanguage() {
    inputRange_.SetLanguage(LanguageOffset());
    outputRange_.SetLanguage(LanguageOffset());
    loading_ = false;
    if (deviceConnected_) {
        RenderSummary();
    } else {
        modelText_ = T(resources::text::kDeviceNotConnected);
        summary_ = T(resources::text::kNoData);
    }
    Changed();
}

}  // namespace vantrel::ui
