#include "ui/model/ProgramForm.h"

#include "math/CustomPoints.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "device/Families.h"
#include "device/Identify.h"
#include "device/MemoryMap.h"
#include "math/Units.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::ui {

namespace {

namespace pos = device::family;


constexpr const char* kTcMinimumSpan = " 100";
constexpr const char* kRtdMinimumSpan = "50";
constexpr double kBurnoutVoltageMax = 700;
constexpr double kBurnoutVoltageSpan = 800;
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

}  // namespace

ProgramForm::ProgramForm(device::WorkingState& state, device::ConfigRecord& record, FormHost& host,
                         link::Dialogs& dialogs)
    : state_(state), record_(record), host_(host), dialogs_(dialogs) {
    Giunto.caption = TextRef::Id(91);
    Linear.caption = TextRef::Id(102);
    SmChk.caption = TextRef::Id(228);
    Verify.caption = TextRef::Id(resources::text::kVerifyOption);
    Label5.text = TextRef::Id(108);
    Label9.text = TextRef::Id(176);
    Label15.text = TextRef::Id(177);
    CtlRangeIn.Titolo = TextRef::Id(208);
    CtlRangeOut.Titolo = TextRef::Id(215);
}

void ProgramForm::Changed() {
    ++version_;
    if (listener_) listener_();
}

// ---- Loading and identification ------------------------------------------------------

void ProgramForm::ApplyIdentity(const device::Identity& identity) {
    state_.identity = identity;
    const device::Identification id = device::Identify(identity);
    Refill(Strumento, id.lists.inputFamilies);
    Refill(Tipo, id.lists.tcTypes);
    Refill(pt, id.lists.rtdSensors);
    Refill(fili, id.lists.wirings);
    Refill(TypePot, id.lists.potRanges);
    Refill(Vuscite, id.lists.outputTypes);
    modelNames = id.modelNames;
    if (id.tripsVisible) Soglie.visible = Frame7.visible = *id.tripsVisible;
    modelText = device::IdentityLine(modelNames, identity);
    Changed();
}

void ProgramForm::Load(const device::Identity& identity, Mode startMode) {
    FormLoading = true;
    ApplyIdentity(identity);
    guide.WizardStep = 0;
    UnitCelsius = true;
    BurnoutDown = false;
    OutputDirect = true;

    // Input side: a type K thermocouple in °C.
    Strumento.selected = Strumento.Count() > 0 ? 0 : -1;
    TypePot.selected = TypePot.Count() > 0 ? 0 : -1;
    pt.selected = pt.Count() > 0 ? 0 : -1;
    fili.selected = fili.Has(device::kThreeWiresIndex) ? device::kThreeWiresIndex : -1;
    pt.visible = fili.visible = TypePot.visible = false;
    Tipo.visible = Giunto.visible = Linear.visible = umis.visible = Label5.visible = true;
    BrkOnOff.visible = Label9.visible = true;
    InUnit = "°C";
    InLimitMin = device::kThermocoupleLimits[0].min;
    InLimitMax = device::kThermocoupleLimits[0].max;
    InMinSpan = kTcMinimumSpan;
    Tipo.selected = -1;
    ChooseTcType(0);  // the type handler has no loading guard: it applies the K row
    CtlRangeIn.Titolo = TextRef::Id(208);
    CtlRangeIn.LTMaxp = TextRef::Id(94);
    CtlRangeIn.LTMinp = TextRef::Id(95);
    SendLimits();
    SendInputDefault(0, 200);
    SetGiunto(true);
    Linear.checked = false;
    Linear.caption = TextRef::Id(102);
    Custom.checked = false;
    Label5.text = TextRef::Id(108);
    SmChk.checked = false;
    record_.FilterOn = device::kFlagFalse;

    // Output side.
    Label9.text = TextRef::Id(176);
    Label15.text = TextRef::Id(177);
    CtlRangeOut.Titolo = TextRef::Id(215);
    Vuscite.selected = -1;
    ChooseOutputType(0);
    zero = Adjustment{};
    span = Adjustment{};

    FormLoading = false;
    ChooseMode(startMode);
    main.toolWiz.enabled = true;
    Changed();
}

// ---- Input side ----------------------------------------------------------------------

float ProgramForm::ToDisplayUnit(float celsius) {
    if (!UnitCelsius) {
        InUnit = "°F";
        return math::CelsiusToFahrenheit(celsius);
    }
    InUnit = "°C";
    return celsius;
}

void ProgramForm::SendLimits() {
    CtlRangeIn.SetSpanMin(resources::StrSingle(InLimitMin) + "/" + resources::StrSingle(InLimitMax) + "/" +
                          InMinSpan);
    CtlRangeIn.UnitM = InUnit;
}

void ProgramForm::SendInputDefault(float low, float high) {
    CtlRangeIn.SetTextMax(high);
    CtlRangeIn.SetTextMin(low);
}

void ProgramForm::ClearWorkingTables() {
    for (int i = 0; i <= 28; ++i) {
        state_.PtPhysical[static_cast<std::size_t>(i)] = 0;
        state_.PtInput[static_cast<std::size_t>(i)] = 0;
    }
    for (int i = 0; i <= 5; ++i) {
        state_.CjcPhysical[static_cast<std::size_t>(i)] = 0;
        state_.CjcInput[static_cast<std::size_t>(i)] = 0;
    }
}

void ProgramForm::ChooseFamily(int index) {
    if (!Strumento.Has(index)) return;
    Strumento.selected = index;
    if (!FormLoading) ApplyFamilyRow(index);
    Changed();
}

void ProgramForm::ApplyFamilyRow(int position) {
    TypePot.visible = false;
    state_.ConfigChanged = true;

    struct Shown {
        bool burnout, linear, giunto, tipo, unit, rtd, wiring, potRange;
    };
    const auto show = [this](Shown s) {
        BrkOnOff.visible = Label9.visible = s.burnout;
        Linear.visible = s.linear;
        Giunto.visible = s.giunto;
        Tipo.visible = s.tipo;
        umis.visible = Label5.visible = s.unit;
        pt.visible = s.rtd;
        fili.visible = s.wiring;
        TypePot.visible = s.potRange;
    };
    const auto labels = [this](TextRef max, TextRef min) {
        CtlRangeIn.LTMaxp = std::move(max);
        CtlRangeIn.LTMinp = std::move(min);
    };

    switch (position) {
    case pos::Thermocouple:
        InLimitMin = ToDisplayUnit(device::kThermocoupleFamilyLimits.min);
        InLimitMax = ToDisplayUnit(device::kThermocoupleFamilyLimits.max);
        InMinSpan = kTcMinimumSpan;
        labels(TextRef::Id(94), TextRef::Id(95));
        show({true, true, true, true, true, false, false, false});
        Tipo.selected = -1;
        ChooseTcType(0);  // K, also when K was already selected
        break;
    case pos::Rtd:
        InLimitMin = ToDisplayUnit(device::kRtdFamilyLimits.min);
        InLimitMax = ToDisplayUnit(device::kRtdFamilyLimits.max);
        InMinSpan = kRtdMinimumSpan;
        labels(TextRef::Id(94), TextRef::Id(95));
        show({true, true, false, false, true, true, true, false});
        ChooseRtdSensor(0);
        ChooseWiring(device::kThreeWiresIndex);
        SendInputDefault(ToDisplayUnit(device::kRtdFamilyLimits.defaultMin),
                         ToDisplayUnit(device::kRtdFamilyLimits.defaultMax));
        break;
    case pos::Potentiometer:
        InLimitMin = 0;
        InLimitMax = 100;
        InMinSpan = "10";
        InUnit = "%";
        labels(TextRef::Literal("% Max"), TextRef::Literal("% Min"));
        SendInputDefault(0, 100);
        show({true, false, false, false, false, false, false, true});
        ChoosePotRange(0);
        break;
    case pos::Voltage: {
        const device::RangeLimits limits = *device::InputLimits(math::input::VoltageCode, state_.identity);
        InLimitMin = limits.min;
        InLimitMax = limits.max;
        InMinSpan = resources::StrSingle(limits.minSpan);
        InUnit = "mV";
        labels(TextRef::Id(96), TextRef::Id(97));
        SendInputDefault(limits.defaultMin, limits.defaultMax);
        show({true, false, false, false, false, false, false, false});
        break;
    }
    case pos::Resistance:
        InLimitMin = 0;
        InLimitMax = 2000;
        InMinSpan = "10";
        InUnit = "Ohm";
        labels(TextRef::Literal("Ohm Max"), TextRef::Literal("Ohm Min"));
        SendInputDefault(0, 100);
        show({true, false, false, false, false, false, true, false});
        ChooseWiring(device::kThreeWiresIndex);
        break;
    case pos::Current:
        InLimitMin = -10;
        InLimitMax = 24;
        InMinSpan = "2";
        InUnit = "mA";
        labels(TextRef::Id(98), TextRef::Id(99));
        SendInputDefault(0, 20);
        show({false, false, false, false, false, false, false, false});
        break;
    default:
        break;
    }
    SendLimits();
    ClearWorkingTables();
}

void ProgramForm::ChooseTcType(int index) {
    if (!Tipo.Has(index) || index >= static_cast<int>(device::kThermocoupleLimits.size())) return;
    Tipo.selected = index;
    Giunto.visible = true;
    Giunto.enabled = index != device::kThermocoupleB;  // type B needs no cold-junction compensation
    const device::RangeLimits& row = device::kThermocoupleLimits[static_cast<std::size_t>(index)];
    InLimitMin = ToDisplayUnit(row.min);
    InLimitMax = ToDisplayUnit(row.max);
    InMinSpan = kTcMinimumSpan;
    SendInputDefault(ToDisplayUnit(row.defaultMin), ToDisplayUnit(row.defaultMax));
    SendLimits();
    Changed();
}

void ProgramForm::ChooseRtdSensor(int index) {
    if (!pt.Has(index) || index >= static_cast<int>(device::kRtdLimits.size())) return;
    pt.selected = index;
    if (FormLoading) return;
    const device::RangeLimits& row = device::kRtdLimits[static_cast<std::size_t>(index)];
    InLimitMin = ToDisplayUnit(row.min);
    InLimitMax = ToDisplayUnit(row.max);
    InMinSpan = kRtdMinimumSpan;
    SendInputDefault(ToDisplayUnit(row.defaultMin), ToDisplayUnit(row.defaultMax));
    SendLimits();
    Changed();
}

void ProgramForm::ChooseWiring(int index) {
    if (!fili.Has(index)) return;
    fili.selected = index;
    Changed();
}

void ProgramForm::ChoosePotRange(int index) {
    if (!TypePot.Has(index)) return;
    TypePot.selected = index;
    if (FormLoading) return;
    InLimitMin = 0;
    InLimitMax = 100;
    InMinSpan = "10";
    SendLimits();
    Changed();
}

void ProgramForm::SetGiunto(bool checked) {
    Giunto.checked = checked;
    Giunto.caption = TextRef::Id(checked ? 91 : 92);
}

void ProgramForm::ClickGiunto(bool checked) {
    SetGiunto(checked);
    Changed();
}

void ProgramForm::ClickLinear(bool checked) {
    Linear.checked = checked;
    Changed();
}

void ProgramForm::ToggleUnit() {
    state_.ConfigChanged = true;
    UnitCelsius = !UnitCelsius;
    const auto convert = UnitCelsius ? math::FahrenheitToCelsius : math::CelsiusToFahrenheit;
    const char* unitText = UnitCelsius ? "  °C" : "  °F";
    Label5.text = TextRef::Id(UnitCelsius ? 108 : 109);
    InLimitMax = convert(InLimitMax);
    InLimitMin = convert(InLimitMin);
    if (FamilyPosition() == pos::Rtd)
        InMinSpan = resources::PlainTextSingle(convert(static_cast<float>(ParseOrZero(InMinSpan))));
    if (encoding.inputCode < 25) measureUnit = unitText;
    InUnit = UnitCelsius ? "  °C" : "°F";
    // A range box that does not hold a number a Single keeps, in either unit, is left for the
    // range check to refuse.
    const auto converted = [&](const std::string& text) -> std::optional<float> {
        const auto value = resources::ParseSingle(text);
        if (!value || !std::isfinite(convert(*value))) return std::nullopt;
        return convert(*value);
    };
    if (const auto high = converted(CtlRangeIn.TextMaxP)) CtlRangeIn.SetTextMax(*high);
    if (const auto low = converted(CtlRangeIn.TextMinP)) CtlRangeIn.SetTextMin(*low);
    SendLimits();
    Changed();
}

void ProgramForm::SetUnit(bool celsius) {
    if (UnitCelsius != celsius) ToggleUnit();
}

PointsEditorRequest ProgramForm::PrepareEditor() const {
    PointsEditorRequest request;
    request.encoding = encoding;
    const int code = encoding.inputCode;
    const bool thermocouple = code >= 1 && code <= 20;
    const bool internalCjc = thermocouple && (encoding.optionFlags & device::option::InternalCjc) != 0;
    int familyId = 0;
    bool withWiring = false;
    if (thermocouple) {
        request.inputUnit = "mV", request.physicalUnit = "Temp", familyId = device::textid::Thermocouple;
    } else if (code >= 21 && code <= 24) {
        request.inputUnit = "Ohm", request.physicalUnit = "Temp", familyId = device::textid::Rtd;
        withWiring = true;
    } else if (code >= 31 && code <= 33) {
        request.inputUnit = "%", request.physicalUnit = "% Lin.", familyId = device::textid::Potentiometer;
    } else if (code == 36) {
        request.inputUnit = "mV", request.physicalUnit = "mV Lin.", familyId = device::textid::Voltage;
    } else if (code >= 46 && code <= 50) {
        request.inputUnit = "mA", request.physicalUnit = "mA Lin.", familyId = device::textid::Current;
    } else if (code == 51) {
        request.inputUnit = "Ohm", request.physicalUnit = "Ohm Lin.", familyId = device::textid::Resistance;
        withWiring = true;
    }
    request.title = " (Custom) ";
    if (familyId != 0) request.title += T(familyId);
    if (withWiring && fili.Has(fili.selected)) request.title += " - " + T(fili.SelectedTextId());
    if (internalCjc) request.title += " " + T(209);
    request.coldJunctionPage = internalCjc && Giunto.enabled;
    request.coldJunctionTitle = T(165);
    request.cancelCaption = T(144);
    return request;
}

void ProgramForm::ApplyCurveAcceptedState() {
    main.lingua.enabled = true;
    fili.enabled = true;
    Strumento.enabled = Tipo.enabled = pt.enabled = false;
}

void ProgramForm::ClickCustom(bool checked) {
    Custom.checked = checked;
    state_.ConfigChanged = true;
    if (!checked) {
        Strumento.enabled = Tipo.enabled = pt.enabled = fili.enabled = true;
        BrkOnOff.enabled = ExitVers.enabled = true;
        par_pgm();  // CustomActive follows the box, so a file saved now is not marked custom
        Changed();
        return;
    }
    par_pgm();
    ExitVers.enabled = true;
    Changed();
    if (!editorAllowed_) return;
    const PointsEditorResult result = host_.OpenPointsEditor(PrepareEditor());
    if (result.accepted) {
        ApplyCurveAcceptedState();
        CtlRangeIn.TextMinP = result.rangeMin;
        CtlRangeIn.TextMaxP = result.rangeMax;
    } else {
        ClickCustom(false);
        main.lingua.enabled = true;
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

void ProgramForm::RestoreCustomCurve() {
    RestoreCustomBox(true);
    // The file holds the user's points only: run the editor's storing steps (the added
    // point of an even table, the segment counts) so programming right after is correct.
    math::CompleteLoadedCurve(state_, state_.SensorPoints - (state_.PointExtra ? 1 : 0), state_.CjcPoints);
    Changed();
}

void ProgramForm::InputRangeWorked() {
    state_.ConfigChanged = true;
    Changed();
}

void ProgramForm::ApplyBurnoutAvailability() {
    BrkOnOff.visible = Label9.visible = true;
    if (FamilyPosition() != pos::Voltage) return;
    const double high = ParseOrZero(CtlRangeIn.TextMaxP);
    const double low = ParseOrZero(CtlRangeIn.TextMinP);
    if (high > kBurnoutVoltageMax || high - low > kBurnoutVoltageSpan) BrkOnOff.visible = Label9.visible = false;
}

RangeVerdict ProgramForm::LeaveInputRange() {
    const RangeVerdict verdict = CtlRangeIn.Leave(dialogs_);
    ApplyBurnoutAvailability();
    Changed();
    return verdict;
}

InputEncoding ProgramForm::par_pgm() {
    namespace opt = device::option;
    InputEncoding e;
    state_.CustomActive = false;
    if (Custom.checked) {
        state_.CustomActive = true;
        e.optionFlags += opt::Custom;
    }
    const int position = FamilyPosition();
    switch (position) {
    case pos::Thermocouple:
        e.inputCode = SelectedOrZero(Tipo) + 1;
        if (Giunto.checked) e.optionFlags += opt::InternalCjc;
        if (Linear.checked) e.optionFlags += opt::LinearTc;
        break;
    case pos::Rtd:
        e.inputCode = SelectedOrZero(pt) + 21;
        e.optionFlags = (e.optionFlags & ~7) + SelectedOrZero(fili);
        if (Linear.checked) e.optionFlags += opt::LinearRtd;
        break;
    case pos::Potentiometer: e.inputCode = SelectedOrZero(TypePot) + 31; break;
    case pos::Voltage: e.inputCode = 36; break;
    case pos::Resistance:
        e.optionFlags = (e.optionFlags & ~7) + SelectedOrZero(fili);
        e.inputCode = 51;
        break;
    case pos::Current: e.inputCode = 46; break;
    default: break;
    }
    // Only temperatures have a unit to convert; a potentiometer works in percent.
    if ((position == pos::Thermocouple || position == pos::Rtd) && !UnitCelsius) e.optionFlags += opt::Fahrenheit;
    if (!OutputDirect) e.optionFlags += opt::ReverseOutput;
    if ((OutputDirect && !BurnoutDown) || (!OutputDirect && BurnoutDown)) e.optionFlags += opt::BurnoutUpward;
    encoding = e;
    return e;
}

// ---- Output side ---------------------------------------------------------------------

void ProgramForm::ChooseOutputType(int index) {
    if (!Vuscite.Has(index)) return;
    Vuscite.selected = index;
    const bool voltage = index == static_cast<int>(device::OutputKind::Voltage);
    CtlRangeOut.UnitM = voltage ? "V" : "mA";
    CtlRangeOut.LTMaxp = TextRef::Id(voltage ? 96 : 98);
    CtlRangeOut.LTMinp = TextRef::Id(voltage ? 97 : 99);
    // A family the table does not know changes only the unit and the captions.
    if (const auto limits = device::OutputLimits(state_.identity, index)) {
        CtlRangeOut.SetTextMin(limits->defaultMin);
        CtlRangeOut.SetTextMax(limits->defaultMax);
        CtlRangeOut.SetSpanMin(resources::PlainText(limits->min) + "/" + resources::PlainText(limits->max) + "/" +
                               resources::PlainText(limits->minSpan));
    }
    Changed();
}

void ProgramForm::OutputRangeWorked() {
    state_.ConfigChanged = true;
    Changed();
}

RangeVerdict ProgramForm::LeaveOutputRange() {
    const RangeVerdict verdict = CtlRangeOut.Leave(dialogs_);
    Changed();
    return verdict;
}

void ProgramForm::SetBurnout(bool down) {
    BurnoutDown = down;
    Label9.text = TextRef::Id(down ? 175 : 176);
}

void ProgramForm::SetDirection(bool direct) {
    OutputDirect = direct;
    Label15.text = TextRef::Id(direct ? 177 : 178);
}

void ProgramForm::ToggleBurnout() {
    state_.ConfigChanged = true;
    BurnoutDown = !BurnoutDown;
    Label9.text = TextRef::Id(Label9.text.id != 175 ? 175 : 176);
    Changed();
}

void ProgramForm::ToggleDirection() {
    state_.ConfigChanged = true;
    OutputDirect = !OutputDirect;
    Label15.text = TextRef::Id(OutputDirect ? 177 : 178);
    Changed();
}

void ProgramForm::ClickFilter(bool checked) {
    SmChk.checked = checked;
    record_.FilterOn = device::ToFlag(checked);
    Changed();
}

bool ProgramForm::AdjustKeyAccepted(char key) {
    return (key >= '0' && key <= '9') || key == 8 || key == 13 || key == '-' || key == '.' || key == ',';
}

void ProgramForm::SetAdjustText(AdjustWhich which, std::string text) {
    Adjustment& a = AdjustmentFor(which);
    a.text = std::move(text);
    a.textSelected = false;
    Changed();
}

void ProgramForm::AdjustFocusLost(AdjustWhich which) {
    Adjustment& a = AdjustmentFor(which);
    if (a.text.empty()) a.text = "0";
    // Text that is no number, or beyond ±5 %, leaves the slider where it is.
    const auto value = resources::ParseNumber(a.text);
    if (value && *value * 10 >= kSliderMin && *value * 10 <= kSliderMax) {
        const int position = static_cast<int>(resources::RoundHalfEven(*value * 10));
        if (position != a.slider) MoveSlider(which, position);
    }
    Changed();
}

void ProgramForm::AdjustEnter(AdjustWhich which) {
    AdjustFocusLost(which);
    AdjustmentFor(which).textSelected = true;
    Changed();
}

void ProgramForm::MoveSlider(AdjustWhich which, int position) {
    Adjustment& a = AdjustmentFor(which);
    a.slider = std::clamp(position, kSliderMin, kSliderMax);
    a.text = resources::PlainText(a.slider / 10.0);
    Changed();
}

void ProgramForm::ClickTrips() {
    state_.ConfigChanged = true;
    Changed();
    host_.OpenTripsForm({T(144), CtlRangeIn.TextMinP, CtlRangeIn.TextMaxP, CtlRangeIn.UnitM});
    main.lingua.enabled = true;
    Strumento.enabled = Tipo.enabled = pt.enabled = fili.enabled = true;
    Changed();
}

void ProgramForm::ChooseMode(Mode newMode) {
    mode = newMode;
    const bool measure = newMode == Mode::Measure;
    Command1Colour = measure ? kYellow : kCyan;
    Command3.visible = measure;
    main.toolStop.visible = measure;
    Command1ToolTip = TextRef::Id(measure ? 103 : 104);
    Frame13.visible = frm_disp.visible = measure;
    Ingr.visible = !measure;
    Changed();
}

void ProgramForm::PressAction() {
    guide.StopForAction();
    main.toolWiz.enabled = false;
    if (mode == Mode::Measure) {
        umis.enabled = Command1.enabled = Command3.enabled = false;
        main.start.enabled = main.stoppa.enabled = false;
        main.toolbarEnabled = false;
        main.toolTxRx.enabled = true;
        ModoProgram.enabled = false;
        Changed();
        host_.RunMeasurement();
        main.toolbarEnabled = true;
        umis.enabled = ModoProgram.enabled = true;
        ChooseMode(Mode::Measure);
        SetDisplay({});
    } else {
        const InputEncoding e = par_pgm();
        cont_tot.enabled = false;
        main.stoppa.enabled = main.lingua.enabled = false;
        Changed();
        host_.RunProgramming(e);
        main.lingua.enabled = cont_tot.enabled = main.stoppa.enabled = main.start.enabled = true;
    }
    stateLamp = kRed;
    main.toolWiz.enabled = true;
    Changed();
}

void ProgramForm::PressStop() { host_.StopMeasurement(); }

void ProgramForm::SetDisplay(std::string text) {
    display = std::move(text);
    if (display.empty()) {
        main.fullscreen.enabled = false;
    } else {
        main.toolTxRx.enabled = main.fullscreen.enabled = true;
        if (!Command3.enabled) {
            Command3.enabled = true;
            main.stoppa.enabled = true;
            main.toolbarEnabled = true;
            main.toolStart.enabled = false;
        }
    }
    Changed();
}

std::string ProgramForm::Conf_Err_Comm() {
    progressValue = 0.00001;
    linkIndicatorsGrey = true;
    deviceConnected = false;
    modelText = T(84);
    Command1.enabled = Command3.enabled = false;
    main.toolStart.enabled = main.toolStop.enabled = false;
    main.toolConnect.enabled = true;
    main.start.enabled = main.stoppa.enabled = false;
    summaryText = T(115);
    main.busyPictureVisible = false;
    main.progressTimerRunning = false;
    Changed();
    return "Ok";
}

// The connection test's verdict also decides which device commands are offered: after a
// failed test (or a failed read) a later successful one must give them back.
void ProgramForm::SetConnected(bool connected) {
    deviceConnected = connected;
    if (connected) linkIndicatorsGrey = false;
    Command1.enabled = Command3.enabled = connected;
    main.start.enabled = main.stoppa.enabled = connected;
    main.toolStart.enabled = main.toolStop.enabled = connected;
    main.toolConnect.enabled = true;
    Changed();
}

void ProgramForm::SetSliders(int zeroPosition, int spanPosition) {
    MoveSlider(AdjustWhich::Zero, zeroPosition);
    MoveSlider(AdjustWhich::Span, spanPosition);
}

// ---- Reading back --------------------------------------------------------------------

std::string ProgramForm::ApplyRead(const device::ReadValues& values, const std::optional<CustomTables>& tables) {
    lastRead = values;
    const device::DescribeContext context{state_.identity, LanguageOffset(), SelectedOrZero(Vuscite)};
    const device::Description description = device::Describe(values, context);
    encoding = {values.inputCode, values.flags};
    ApplyDescription(description, tables);
    if (state_.HasTrips()) {
        MoveSlider(AdjustWhich::Zero, static_cast<int>(resources::RoundHalfEven(values.zeroAdjust * 10)));
        MoveSlider(AdjustWhich::Span, static_cast<int>(resources::RoundHalfEven(values.spanAdjust * 10)));
    }
    summaryText = description.SummaryText();
    Changed();
    return summaryText;
}

void ProgramForm::ApplyDescription(const device::Description& d, const std::optional<CustomTables>& tables) {
    ApplyIdentity(state_.identity);
    if (d.familyPosition) {
        ChooseFamily(*d.familyPosition);
        if (d.tcType) ChooseTcType(*d.tcType);
        if (d.rtdSensor) ChooseRtdSensor(*d.rtdSensor);
        if (d.potRange) ChoosePotRange(*d.potRange);
        if (d.wiring) ChooseWiring(*d.wiring);
    }
    if (d.cjcInternal) SetGiunto(*d.cjcInternal);
    if (d.linearOn) Linear.checked = *d.linearOn;
    if (d.fahrenheit) SetUnit(!*d.fahrenheit);
    CtlRangeIn.TextMinP = d.inputRangeMin;
    CtlRangeIn.TextMaxP = d.inputRangeMax;

    if (d.outputEntry) ChooseOutputType(*d.outputEntry);
    // An output range without a defined result leaves the boxes as they were.
    if (!d.outputRangeMin.empty()) CtlRangeOut.TextMinP = d.outputRangeMin;
    if (!d.outputRangeMax.empty()) CtlRangeOut.TextMaxP = d.outputRangeMax;
    if (OutputDirect != d.outputDirect) ToggleDirection();
    SetBurnout(d.burnoutDown);
    if (d.hideBurnout) BrkOnOff.visible = Label9.visible = false;
    SmChk.checked = d.filterOn;
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
    math::CompleteLoadedCurve(state_, sensorPoints, tables.cjc.empty() ? 2 : cjcPoints);
}

std::string ProgramForm::RenderSummary() {
    if (!lastRead) return summaryText;
    device::ReadValues values = *lastRead;
    values.zeroAdjust = zero.slider / 10.0;
    values.spanAdjust = span.slider / 10.0;
    const device::DescribeContext context{state_.identity, LanguageOffset(), SelectedOrZero(Vuscite)};
    summaryText = device::Describe(values, context).SummaryText();
    Changed();
    return summaryText;
}

}  // namespace vantrel::ui
