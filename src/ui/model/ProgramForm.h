#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/ConfigRecord.h"
#include "device/CustomCurve.h"
#include "device/Describe.h"
#include "device/WorkingState.h"
#include "link/Dialogs.h"
#include "ui/model/FormHost.h"
#include "ui/model/GuidedMode.h"
#include "ui/model/MainCommands.h"
#include "ui/model/RangeControl.h"
#include "ui/model/TextRef.h"

// The programming window as a toolkit-free model: what it shows and what its handlers do.
// The Qt window binds each control to the member of the same name and calls the handler
// methods on user events; every handler bumps Version() and calls the change listener.
namespace vantrel::ui {

// A drop-down list: entries as Italian text identifiers, in list order.
struct ChoiceList {
    std::vector<int> entries;
    int selected = -1;
    bool visible = true;
    bool enabled = true;

    int Count() const { return static_cast<int>(entries.size()); }
    bool Has(int index) const { return index >= 0 && index < Count(); }
    int SelectedTextId() const { return Has(selected) ? entries[static_cast<std::size_t>(selected)] : 0; }
};

struct CheckBox {
    bool checked = false;
    bool visible = true;
    bool enabled = true;
    TextRef caption;
};

struct Control {
    bool visible = true;
    bool enabled = true;
};

struct Label {
    TextRef text;
    bool visible = true;
};

// A zero or span adjustment: the text box and its slider (-50..50, tenths of a percent).
struct Adjustment {
    std::string text = "0";
    int slider = 0;
    bool textSelected = false;
};
enum class AdjustWhich { Zero, Span };  // AdjMax/Slider3, AdjMin/Slider4

enum class Mode { Measure = 0, Programming = 1 };

inline constexpr int kSliderMin = -50;
inline constexpr int kSliderMax = 50;

// A custom curve rebuilt from a transmitter's tables (physical, input) per point.
using CustomTables = device::CustomCurve;

class ProgramForm {
public:
    ProgramForm(device::WorkingState& state, device::ConfigRecord& record, FormHost& host, link::Dialogs& dialogs);
    ProgramForm(const ProgramForm&) = delete;
    ProgramForm& operator=(const ProgramForm&) = delete;

    // ---- Input side -------------------------------------------------------------------
    ChoiceList Strumento;  // input family
    ChoiceList Tipo;       // thermocouple type
    ChoiceList pt;         // RTD sensor
    ChoiceList fili;       // wiring
    ChoiceList TypePot;    // potentiometer range
    CheckBox Giunto;       // internal cold-junction compensation
    CheckBox Linear;
    CheckBox Custom;
    Control umis;          // °C/°F button
    Label Label5;          // "Unità Temp. : °C" / "°F"
    RangeControl CtlRangeIn;

    bool UnitCelsius = true;
    bool FormLoading = false;
    float InLimitMax = 0;
    float InLimitMin = 0;
    std::string InMinSpan;
    std::string InUnit;
    InputEncoding encoding;            // last par_pgm or read

    // ---- Output side ------------------------------------------------------------------
    ChoiceList Vuscite;    // output type
    RangeControl CtlRangeOut;
    Control BrkOnOff;      // burn-out button
    Label Label9;          // burn-out label
    Control ExitVers;      // direction button
    Label Label15;         // direction label
    CheckBox SmChk;        // filter
    Adjustment zero;       // AdjMax / Slider3
    Adjustment span;       // AdjMin / Slider4
    Control Soglie;        // trips button
    Control Frame7;        // trips frame
    Mode mode = Mode::Measure;
    Control Command1;      // action
    TextRef Command1ToolTip = TextRef::Id(103);
    Rgb Command1Colour{255, 255, 0};
    Control Command3;      // stop
    Control ModoMeasure;   // option button index 0
    Control ModoProgram;   // option button index 1
    CheckBox Verify;       // read every written cell back after programming
    std::string display;   // live measurement value
    bool BurnoutDown = false;
    bool OutputDirect = true;

    // ---- Frames guided mode and the operations enable --------------------------------
    Control modeFrame;
    Control inputFrame;    // input selection
    Control Ranges;        // adjustments
    Control VusciteF;      // output type
    Control cont_tot;      // every configuration control
    Control Ingr;          // option frames (programming mode)
    Control Frame13;       // state lamp (measure mode)
    Control frm_disp;      // measurement display (measure mode)

    // ---- Texts, link state ------------------------------------------------------------
    std::string summaryText;   // rendered in the current language
    std::string modelText;     // txtMod
    std::string modelNames;
    bool deviceConnected = false;
    double progressValue = 0;
    bool linkIndicatorsGrey = false;
    Rgb stateLamp{255, 0, 0};
    std::optional<device::ReadValues> lastRead;  // kept for re-rendering the summary

    MainCommands main;
    GuidedMode guide{*this};

    // ---- Loading and identification ----------------------------------------------------
    // The form's defaults for the identified transmitter; ends with the "Wiz" key enabled.
    void Load(const device::Identity& identity, Mode startMode = Mode::Measure);
    // Refills the lists for the identity (selections kept where they still exist), the
    // model names, the trips visibility and the model text box.
    void ApplyIdentity(const device::Identity& identity);

    // ---- Input handlers ----------------------------------------------------------------
    void ChooseFamily(int index);     // Strumento click
    void ChooseTcType(int index);     // Tipo click
    void ChooseRtdSensor(int index);  // pt click
    void ChooseWiring(int index);     // fili click
    void ChoosePotRange(int index);   // TypePot click
    void ClickGiunto(bool checked);
    void ClickLinear(bool checked);
    void ClickCustom(bool checked);
    void ToggleUnit();                // umis click
    void InputRangeWorked();          // the user typed in CtlRangeIn
    RangeVerdict LeaveInputRange();   // validation, then the burn-out availability rule
    int FamilyPosition() const { return Strumento.selected; }

    // Encodes the input side into the input code and option flags; sets CustomActive.
    InputEncoding par_pgm();

    // ---- Output handlers ---------------------------------------------------------------
    void ChooseOutputType(int index);  // Vuscite click
    void OutputRangeWorked();
    RangeVerdict LeaveOutputRange();
    void ToggleBurnout();              // BrkOnOff click
    void ToggleDirection();            // ExitVers click
    void ClickFilter(bool checked);    // SmChk click
    // Keys the adjustment boxes accept: digits, Backspace, Enter, '-', '.', ','.
    static bool AdjustKeyAccepted(char key);
    void SetAdjustText(AdjustWhich which, std::string text);
    void AdjustEnter(AdjustWhich which);
    void AdjustFocusLost(AdjustWhich which);
    void MoveSlider(AdjustWhich which, int position);
    void ClickTrips();                 // Soglie
    void ChooseMode(Mode newMode);     // Modo click
    void PressAction();                // Command1
    void PressStop();                  // Command3
    void SetDisplay(std::string text); // the measurement display's text changed
    // Communication failed: the not-connected state. Returns "Ok".
    std::string Conf_Err_Comm();

    // The connection test's result: a transmitter answers (true) or not.
    void SetConnected(bool connected);
    // The zero and span sliders as the read found them (cells 217/218 - 127).
    void SetSliders(int zeroPosition, int spanPosition);

    // ---- Reading back ------------------------------------------------------------------
    // Describe configuration: applies a read to the form and the working state and returns
    // the summary (also kept in summaryText). A custom configuration's tables come with it.
    std::string ApplyRead(const device::ReadValues& values, const std::optional<CustomTables>& tables = std::nullopt);
    // The summary of the last read in the current language, with the sliders' adjustments;
    // the form is left as the user has it.
    std::string RenderSummary();

    // ---- Shared state ------------------------------------------------------------------
    device::WorkingState& state() { return state_; }
    const device::WorkingState& state() const { return state_; }
    device::ConfigRecord& record() { return record_; }
    link::Dialogs& dialogs() { return dialogs_; }
    int LanguageOffset() const { return state_.LanguageOffset; }
    std::string T(int italianId) const { return resources::Text(italianId, state_.LanguageOffset); }

    // The form's controls for a custom curve in force (editor accepted or curve restored).
    void ApplyCurveAcceptedState();
    // Sets the custom box without opening the editor (a file or a transmitter restored it).
    void RestoreCustomBox(bool checked);
    // Sets the unit to °C or °F, converting limits and range when it changes.
    void SetUnit(bool celsius);
    void SetGiunto(bool checked);
    void SetBurnout(bool down);       // flag and label, without marking a change
    void SetDirection(bool direct);   // flag and label, without marking a change
    // A file restored a custom curve into the working tables: tick the box without the
    // editor and let the host run the editor's storing steps.
    void RestoreCustomCurve();

    // ---- Change notification ----------------------------------------------------------
    std::uint64_t Version() const { return version_; }
    void SetChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }
    void Changed();

private:
    float ToDisplayUnit(float celsius);
    void SendLimits();
    void SendInputDefault(float low, float high);
    void ApplyFamilyRow(int position);
    void ClearWorkingTables();
    void ApplyBurnoutAvailability();
    Adjustment& AdjustmentFor(AdjustWhich which) { return which == AdjustWhich::Zero ? zero : span; }
    PointsEditorRequest PrepareEditor() const;
    void ApplyDescription(const device::Description& d, const std::optional<CustomTables>& tables);
    void StoreTables(const CustomTables& tables);

    device::WorkingState& state_;
    device::ConfigRecord& record_;
    FormHost& host_;
    link::Dialogs& dialogs_;
    bool editorAllowed_ = true;
    std::uint64_t version_ = 0;
    std::function<void()> listener_;
};

}  // namespace vantrel::ui
