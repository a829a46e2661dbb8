// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/ConfigRecord.h"
#include "device/CustomCurve.h"
#include "device/Describe.h"
#include "device/Families.h"
#include "device/WorkingState.h"
#include "link/Dialogs.h"
#include "math/Units.h"
#include "ui/model/FormHost.h"
#include "ui/model/GuidedMode.h"
#include "ui/model/MainCommands.h"
#include "ui/model/RangeControl.h"
#include "ui/model/TextRef.h"

// The programming window as a toolkit-free model: what it shows and what its handlers do.
// The model owns its state: the Qt window reads it through the accessors and changes it only
// through the operations, which are the window's events; every operation bumps Version() and
// calls the change listener.
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

// A zero or span trim: the text box and its slider (-50..50, tenths of a percent).
struct Adjustment {
    std::string text = "0";
    int slider = 0;
    bool textSelected = false;
};
enum class AdjustWhich { Zero, Span };

enum class Mode { Measure = 0, Programming = 1 };

inline constexpr int kSliderMin = -50;
inline constexpr int kSliderMax = 50;

// A custom curve rebuilt from a transmitter's tables (physical, input) per point.
using CustomTables = device::CustomCurve;

// What stands beside the trips: nothing, or a warning that the levels no longer fit.
enum class TripsNotice { None, OutsideRange, InputChanged };

class ProgramForm {
public:
    ProgramForm(device::WorkingState& state, device::ConfigRecord& record, FormHost& host, link::Dialogs& dialogs);
    ProgramForm(const ProgramForm&) = delete;
    ProgramForm& operator=(const ProgramForm&) = delete;

    // ---- Input side: what the window shows -------------------------------------------
    const ChoiceList& inputFamilies() const { return inputFamilies_; }
    const ChoiceList& thermocoupleTypes() const { return thermocoupleTypes_; }
    const ChoiceList& rtdSensors() const { return rtdSensors_; }
    const ChoiceList& wirings() const { return wirings_; }
    const ChoiceList& potRanges() const { return potRanges_; }
    const CheckBox& internalCjc() const { return internalCjc_; }
    const CheckBox& linearisation() const { return linearisation_; }
    const CheckBox& customCurve() const { return customCurve_; }
    const Control& unitButton() const { return unitButton_; }
    const Label& unitLabel() const { return unitLabel_; }
    const RangeControl& inputRange() const { return inputRange_; }
    math::Unit temperatureUnit() const { return temperatureUnit_; }
    bool celsius() const { return temperatureUnit_ == math::Unit::Celsius; }
    bool loading() const { return loading_; }
    // The input's limits in the unit shown (the range entry checks against them).
    const device::RangeLimits& inputLimits() const { return inputLimits_; }
    const InputEncoding& encoding() const { return encoding_; }
    int FamilyPosition() const { return inputFamilies_.selected; }

    // ---- Output side -----------------------------------------------------------------
    const ChoiceList& outputTypes() const { return outputTypes_; }
    const RangeControl& outputRange() const { return outputRange_; }
    const Control& burnoutButton() const { return burnoutButton_; }
    const Label& burnoutLabel() const { return burnoutLabel_; }
    const Control& directionButton() const { return directionButton_; }
    const Label& directionLabel() const { return directionLabel_; }
    const CheckBox& filter() const { return filter_; }
    const Adjustment& zeroTrim() const { return zeroTrim_; }
    const Adjustment& spanTrim() const { return spanTrim_; }
    const Control& tripsButton() const { return tripsButton_; }
    const Control& tripsFrame() const { return tripsFrame_; }
    TripsNotice tripsNotice() const { return tripsNotice_; }
    Mode mode() const { return mode_; }
    const Control& actionButton() const { return actionButton_; }
    const TextRef& actionToolTip() const { return actionToolTip_; }
    const Rgb& actionColour() const { return actionColour_; }
    const Control& stopButton() const { return stopButton_; }
    const Control& measureOption() const { return measureOption_; }
    const Control& programmingOption() const { return programmingOption_; }
    const CheckBox& verifyBox() const { return verifyBox_; }
    const std::string& display() const { return display_; }
    bool burnoutDown() const { return burnoutDown_; }
    bool outputDirect() const { return outputDirect_; }

    // ---- Frames guided mode and the operations enable --------------------------------
    const Control& modeFrame() const { return modeFrame_; }
    const Control& inputFrame() const { return inputFrame_; }
    const Control& trimsFrame() const { return trimsFrame_; }
    const Control& outputTypeFrame() const { return outputTypeFrame_; }
    const Control& configurationFrame() const { return configurationFrame_; }
    const Control& optionsPage() const { return optionsPage_; }         // programming mode
    const Control& stateLampFrame() const { return stateLampFrame_; }   // measure mode
    const Control& measurementPage() const { return measurementPage_; } // measure mode

    // ---- Texts, link state ------------------------------------------------------------
    const std::string& summary() const { return summary_; }
    const std::string& modelText() const { return modelText_; }
    bool deviceConnected() const { return deviceConnected_; }
    double progressValue() const { return progressValue_; }
    bool linkIndicatorsGrey() const { return linkIndicatorsGrey_; }
    const Rgb& stateLamp() const { return stateLamp_; }
    // The last read, kept for re-rendering the summary; empty before one.
    const std::optional<device::ReadValues>& lastRead() const { return lastRead_; }
    const MainCommands& commands() const { return commands_; }
    GuidedMode& guide() { return guide_; }
    const GuidedMode& guide() const { return guide_; }

    // ---- Loading and identification ----------------------------------------------------
    // The form's defaults for the identified transmitter; ends with the guide key enabled.
    void Load(const device::Identity& identity, Mode startMode = Mode::Measure);
    // Refills the lists for the identity (selections kept where they still exist), the
    // model names, the trips visibility and the model text box.
    void ApplyIdentity(const device::Identity& identity);

    // ---- Input operations --------------------------------------------------------------
    void ChooseFamily(int index);
    void ChooseTcType(int index);
    void ChooseRtdSensor(int index);
    void ChooseWiring(int index);
    void ChoosePotRange(int index);
    void ClickInternalCjc(bool checked);
    void ClickLinear(bool checked);
    void ClickCustom(bool checked);
    void ToggleUnit();
    // The user types in the input range boxes (marks the configuration changed).
    void TypeInputRange(std::string min, std::string max);
    void TypeInputMax(std::string text);
    void TypeInputMin(std::string text);
    RangeVerdict LeaveInputRange();   // validation, then the burn-out availability rule

    // Encodes the input side into the input code and option flags; sets CustomActive.
    InputEncoding EncodeInput();

    // ---- Output operations -------------------------------------------------------------
    void ChooseOutputType(int index);
    void TypeOutputRange(std::string min, std::string max);
    void TypeOutputMax(std::string text);
    void TypeOutputMin(std::string text);
    RangeVerdict LeaveOutputRange();
    void ToggleBurnout();
    void ToggleDirection();
    void ClickFilter(bool checked);
    void ClickVerify(bool checked);
    // Keys the trim boxes accept: digits, Backspace, Enter, '-', '.', ','.
    static bool AdjustKeyAccepted(char key);
    void SetAdjustText(AdjustWhich which, std::string text);
    // Enter and leaving the box: a number within ±5 % moves the slider; anything else is
    // refused with a message and the box shows the slider's value again, so what the box
    // shows is what is saved and programmed.
    void AdjustEnter(AdjustWhich which);
    void AdjustFocusLost(AdjustWhich which);
    void MoveSlider(AdjustWhich which, int position);
    void ClickTrips();
    void ChooseMode(Mode newMode);
    void PressAction();
    void PressStop();
    void SetDisplay(std::string text);
    bool measuring() const { return measuring_; }
    // One live value: the status lamp and the display change together (one redraw).
    void ShowReading(Rgb stateLamp, std::string text);

    // ---- What the flows and the main window report -------------------------------------
    // Communication failed: the not-connected state.
    void EnterNotConnectedState();
    // The connection test's result: a transmitter answers (true) or not.
    void SetConnected(bool connected);
    // The zero and span sliders as the read found them (cells 217/218 - 127).
    void SetSliders(int zeroPosition, int spanPosition);
    // The status lamp (red idle, light green while an operation runs, blinking while
    // measuring).
    void SetStateLamp(Rgb colour);
    // The main window's busy picture and progress timer around a read.
    void SetBusy(bool busy);
    // The window caption after a load or a save.
    void SetCaption(std::string caption);
    // An operation that ended in measure mode gives the action back.
    void OfferAction();
    // Windows > Programming/Measure: the option frames and the measurement page swap places.
    void ToggleOptionsPage();

    // ---- Reading back ------------------------------------------------------------------
    // Describe configuration: applies a read to the form and the working state and returns
    // the summary (also kept in summary()). A custom configuration's tables come with it.
    std::string ApplyRead(const device::ReadValues& values, const std::optional<CustomTables>& tables = std::nullopt);
    // The summary of the last read in the current language, with the sliders' adjustments;
    // the form is left as the user has it.
    std::string RenderSummary();

    // ---- Language ----------------------------------------------------------------------
    // The texts that belong to the language: the range controls' messages, the summary (or
    // the not-connected texts). Clears the loading flag.
    void ApplyLanguage();

    // ---- Shared state ------------------------------------------------------------------
    device::WorkingState& state() { return state_; }
    const device::WorkingState& state() const { return state_; }
    device::ConfigRecord& record() { return record_; }
    link::Dialogs& dialogs() { return dialogs_; }
    int LanguageOffset() const { return state_.LanguageOffset(); }
    std::string T(int italianId) const { return resources::Text(italianId, state_.LanguageOffset()); }

    // ---- Restoring a configuration (file, history, transmitter) -----------------------
    void SetInternalCjc(bool checked);
    void SetLinear(bool checked);
    void SetUnit(bool inCelsius);
    void SetBurnout(bool down);       // flag and label, without marking a change
    void SetDirection(bool direct);   // flag and label, without marking a change
    void SetInputRangeTexts(std::string min, std::string max);
    void SetInputRangeValues(double min, double max);
    void SetOutputRangeValues(double min, double max);
    // Sets the custom box without opening the editor (a file or a transmitter restored it).
    void RestoreCustomBox(bool checked);
    // A file restored a custom curve into the working tables: tick the box without the
    // editor and run the editor's storing steps. False (the box cleared) when its counts do
    // not fit the model.
    bool RestoreCustomCurve();

    // ---- Change notification ----------------------------------------------------------
    std::uint64_t Version() const { return version_; }
    void SetChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }
    void Changed();

private:
    friend class GuidedMode;  // the walk enables and disables the form's controls

    float ToDisplayUnit(float degreesCelsius) const;
    void SetInputLimits(const device::RangeLimits& celsiusOrOwnUnit, bool temperature);
    void SendLimits();
    void SendInputDefault(float low, float high);
    void ApplyFamilyRow(int position);
    void ClearWorkingTables();
    void ApplyBurnoutAvailability();
    void ApplyCurveAcceptedState();
    void UnlockInputLists();
    void UpdateTripsNotice();
    void ConvertTripLevels(bool toCelsius);
    Adjustment& AdjustmentFor(AdjustWhich which) { return which == AdjustWhich::Zero ? zeroTrim_ : spanTrim_; }
    PointsEditorRequest PrepareEditor() const;
    void ApplyDescription(const device::Description& d, const std::optional<CustomTables>& tables);
    void StoreTables(const CustomTables& tables);

    // Input side.
    ChoiceList inputFamilies_;
    ChoiceList thermocoupleTypes_;
    ChoiceList rtdSensors_;
    ChoiceList wirings_;
    ChoiceList potRanges_;
    CheckBox internalCjc_;
    CheckBox linearisation_;
    CheckBox customCurve_;
    Control unitButton_;
    Label unitLabel_;
    RangeControl inputRange_;
    math::Unit temperatureUnit_ = math::Unit::Celsius;
    bool loading_ = false;
    device::RangeLimits inputLimits_;
    std::optional<math::Unit> inputUnit_ = math::Unit::Celsius;
    InputEncoding encoding_;

    // Output side.
    ChoiceList outputTypes_;
    RangeControl outputRange_;
    Control burnoutButton_;
    Label burnoutLabel_;
    Control directionButton_;
    Label directionLabel_;
    CheckBox filter_;
    Adjustment zeroTrim_;
    Adjustment spanTrim_;
    Control tripsButton_;
    Control tripsFrame_;
    TripsNotice tripsNotice_ = TripsNotice::None;
    Mode mode_ = Mode::Measure;
    Control actionButton_;
    TextRef actionToolTip_ = TextRef::Id(resources::text::kMeasure);
    Rgb actionColour_{255, 255, 0};
    Control stopButton_;
    Control measureOption_;
    Control programmingOption_;
    CheckBox verifyBox_;
    std::string display_;
    bool burnoutDown_ = false;
    bool outputDirect_ = true;

    Control modeFrame_;
    Control inputFrame_;
    Control trimsFrame_;
    Control outputTypeFrame_;
    Control configurationFrame_;
    Control optionsPage_;
    Control stateLampFrame_;
    Control measurementPage_;

    std::string summary_;
    std::string modelText_;
    std::string modelNames_;
    bool deviceConnected_ = false;
    // A measurement runs: the configuration and its dialogs are out of reach.
    bool measuring_ = false;
    double progressValue_ = 0;
    bool linkIndicatorsGrey_ = false;
    Rgb stateLamp_{255, 0, 0};
    std::optional<device::ReadValues> lastRead_;
    MainCommands commands_;
    GuidedMode guide_{*this};

    device::WorkingState& state_;
    device::ConfigRecord& record_;
    FormHost& host_;
    link::Dialogs& dialogs_;
    bool editorAllowed_ = true;
    std::uint64_t version_ = 0;
    std::function<void()> listener_;
};

}  // namespace vantrel::ui
