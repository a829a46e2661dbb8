// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ProgramPlan.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

#include "device/Families.h"

#include "math/Breakpoints.h"
#include "math/ColdJunction.h"
#include "math/Gain.h"
#include "math/InputCodes.h"
#include "math/InputConfig.h"
#include "math/OutputCodes.h"
#include "math/TripWords.h"
#include "math/Units.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::device {

namespace in = math::input;
using resources::ToSingle;

namespace {


struct PlanBuilder {
    std::vector<WriteEntry> writes;

    void Append(int address, int value) {
        writes.push_back({static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(value & 0xFF)});
    }
    void AppendFloat24(int address, double value) {
        const Float24Bytes bytes = Float24Encode(value);
        for (int k = 0; k < 3; ++k) Append(address + k, bytes[static_cast<std::size_t>(k)]);
    }
    void AppendWord(int address, int word) {
        const auto w = static_cast<unsigned>(word) & 0xFFFFu;
        Append(address, static_cast<int>(w & 0xFF));
        Append(address + 1, static_cast<int>(w >> 8));
    }
};

// Every table value must be a number the three-byte format holds.
template <typename T>
bool AllEncodable(const std::vector<T>& values) {
    return std::all_of(values.begin(), values.end(), [](T v) { return FitsFloat24(static_cast<double>(v)); });
}

// Custom curves come from the editor or a file; their counts must fit the table layout.
bool CustomTableFits(const WorkingState& working, int inputCode, int optionFlags) {
    const int limit = MaxSegments(working.identity);
    if (working.SegmentCount < 2 || working.SegmentCount > limit || working.SegmentCount % 2 != 0) return false;
    const bool cjcTable = (optionFlags & option::InternalCjc) != 0 && math::input::IsThermocouple(inputCode);
    return !cjcTable || (working.CjcSegmentCount >= 1 && working.CjcSegmentCount <= kWorkingPointsCjc - 2);
}

// Inputs whose tables depend on constants only the factory block gives: the 400 mV scale,
// the two widest voltage ranges, the current input and the resistance inputs' current law.
bool NeedsFactoryCalibration(int code, int inputConfig) {
    if (in::IsThermocouple(code)) return false;
    if (math::IsPotentiometerConfig(inputConfig)) return false;
    return inputConfig > math::kInputConfigHighRange || math::IsHighRangeConfig(inputConfig) ||
           code == in::CurrentCode || in::UsesRtdCurrent(code);
}

}  // namespace

std::string PlanRefusalText(const ProgramPlan& plan, int languageOffset) {
    if (plan.status == PlanStatus::InvalidConfiguration && plan.problem)
        return ConfigProblemText(*plan.problem, languageOffset);
    return PlanStatusText(plan.status, languageOffset);
}

std::string PlanStatusText(PlanStatus status, int languageOffset) {
    switch (status) {
    case PlanStatus::UnsupportedInput: return resources::Text(resources::text::kInputNotProgrammable, languageOffset);
    case PlanStatus::InvalidCustomTable: return resources::Text(resources::text::kPointsTableInvalid, languageOffset);
    case PlanStatus::InvalidCalibration: return resources::Text(resources::text::kCalibrationInvalid, languageOffset);
    case PlanStatus::InvalidConfiguration:
        return resources::Text(resources::text::kConfigurationNotProgrammable, languageOffset);
    default: return {};
    }
}

math::ConverterConstants DeriveConverterConstants(const std::optional<FactoryCalibration>& factory,
                                                  const math::ConverterCalibration& c) {
    math::ConverterConstants k;
    if (!factory) return k;
    const FactoryCalibration& f = *factory;
    k.CalZeroCounts = f.CalZeroCounts;
    k.CalSpanCounts = f.CalSpanCounts;
    k.CalCjcCounts = f.CalCjcCounts;
    k.CalTemperature = f.CalTemperature;
    k.RtdCurrent100 = math::RtdCurrent100From(f.CalRtdLow, c.InCalZero, c.InCalSpan);
    k.RtdCurrent1000 = math::RtdCurrent1000From(f.CalRtdHigh, f.CalZeroCounts, f.CalSpanCounts);
    k.HighRangeRatio = math::HighRangeRatioFrom(f.CalSpanCounts, f.CalZeroCounts, f.CalAux1, c.InCalZero);
    k.InputGain46 = math::InputGain46From(f.CalAux2, f.CalZeroCounts, f.CalSpanCounts);
    return k;
}

namespace {

// One programming computed in stages: the checks, the input side (range units, converter
// constants, range cells, input configuration), the breakpoints and table layout, the
// converter tables, the noise question and the trips. Every value a cell will hold is settled
// before the first write is listed, so a refusal at any stage leaves no writes at all; the
// encoding then lists the cells in the order the transmitter is written.
class PlanComputation {
public:
    PlanComputation(const PlanRequest& form, const WorkingState& working, const ProgramDeviceData& device)
        : form_(form), working_(working), device_(device), code_(form.InputCode), custom_(working.CustomActive),
          traits_(FindFamily(working.identity)) {
        plan_.OptionWord = form.OptionWord;
        plan_.RangeMax = form.RangeMax;
        plan_.RangeMin = form.RangeMin;
        plan_.TripWords = device.PreviousTripWords;
        plan_.TripFlags = working.TripFlags;
    }

    bool Accepted();
    bool ComputeInput();
    bool ComputeBreakpoints();
    bool ComputeTables();
    bool NoiseAccepted(const NoiseQuestion& askNoise);
    void ComputeTrips();
    void Encode();
    ProgramPlan Finished() { return std::move(plan_); }

private:
    void ToTableUnits();
    void EncodeTables();
    void EncodeTripsAndTrims();
    void ChooseSentWrites();

    const PlanRequest& form_;
    const WorkingState& working_;
    const ProgramDeviceData& device_;
    const int code_;
    const bool custom_;
    const FamilyTraits* traits_;
    ProgramPlan plan_;
    PlanBuilder writes_;
    // Settled by the stages, in this order.
    float rangeMax_ = 0;
    float rangeMin_ = 0;
    int optionFlags_ = 0;
    int cjcSegments_ = 5;  // M: five unless a custom grid or a linear input says otherwise
    math::ConverterCalibration calibration_;
    math::ConverterConstants constants_;
    RangeCells rangeCells_{};
    math::InputConfigChoice config_{};
    double gainSpan_ = 0;
    math::OutputLine line_{};
};

// Code 56 needs a current law and output series that are not settled: it is refused rather
// than written with guessed values. A custom table must fit the layout; the configuration
// check gives its own reason.
bool PlanComputation::Accepted() {
    if (!in::IsProgrammable(code_)) {
        plan_.status = PlanStatus::UnsupportedInput;
        return false;
    }
    if (custom_ && !CustomTableFits(working_, code_, form_.OptionWord)) {
        plan_.status = PlanStatus::InvalidCustomTable;
        return false;
    }
    if (auto problem = CheckConfiguration(form_, working_)) {
        plan_.status = PlanStatus::InvalidConfiguration;
        plan_.problem = std::move(problem);
        return false;
    }
    return true;
}

// Only temperatures are converted from °F: the Fahrenheit bit may also ride along on a
// potentiometer, whose range is a percentage.
void PlanComputation::ToTableUnits() {
    rangeMax_ = form_.RangeMax;
    rangeMin_ = form_.RangeMin;
    if (in::IsPotentiometer(code_) && !custom_) {
        rangeMax_ = ToSingle(static_cast<double>(rangeMax_) / 100.0);
        rangeMin_ = ToSingle(static_cast<double>(rangeMin_) / 100.0);
    }
    if ((form_.OptionWord & option::Fahrenheit) != 0 && in::IsTemperature(code_)) {
        rangeMax_ = math::FahrenheitToCelsius(rangeMax_);
        rangeMin_ = math::FahrenheitToCelsius(rangeMin_);
    }
    optionFlags_ = form_.OptionWord & ~option::ExtraEndPoint;
}

// Range units, cold-junction segment count, converter constants, range cells and the input
// configuration.
bool PlanComputation::ComputeInput() {
    ToTableUnits();
    if (custom_) {
        if ((optionFlags_ & option::InternalCjc) != 0) cjcSegments_ = working_.CjcSegmentCount;
    } else if (form_.LinearVisible && form_.LinearTicked) {
        cjcSegments_ = 2;
    }
    calibration_ = device_.Converter.value_or(math::ConverterCalibration{});
    constants_ = DeriveConverterConstants(device_.Factory, calibration_);
    plan_.Constants = constants_;

    // The configuration check keeps the ends inside the range cells; the encoder refuses on
    // its own all the same.
    const std::optional<RangeCells> range =
        RangeEncode(static_cast<double>(rangeMax_), static_cast<double>(rangeMin_));
    if (!range) {
        plan_.status = PlanStatus::InvalidConfiguration;
        return false;
    }
    rangeCells_ = *range;

    math::InputConfigArgs args{code_, optionFlags_, static_cast<double>(rangeMax_), static_cast<double>(rangeMin_),
                               UsesVariantInputConfig(working_.identity), {}, {}};
    if (custom_) {
        args.customFirstInput = working_.PtInput[0];
        args.customLastInput = working_.PtInput[static_cast<std::size_t>(working_.SegmentCount)];
    }
    config_ = math::SelectInputConfig(args);
    plan_.InputConfig = config_.inputConfig;
    plan_.Multiplier = config_.multiplier;
    if (!device_.Factory && NeedsFactoryCalibration(code_, config_.inputConfig)) {
        plan_.status = PlanStatus::InvalidCalibration;
        return false;
    }
    return true;
}

// Breakpoints (placed over the range, or the custom curve's), the table layout, the output
// selection and the gain.
bool PlanComputation::ComputeBreakpoints() {
    math::Breakpoints points;
    if (custom_) {
        points = math::CustomBreakpoints(working_.PtPhysical, working_.SegmentCount, working_.PointExtra);
        plan_.BreakSignal = math::CustomBreakpointSignals(working_.PtInput, working_.SegmentCount, code_, constants_);
    } else {
        points = math::PlaceBreakpoints({code_, rangeMin_, rangeMax_, form_.LinearVisible, form_.LinearTicked,
                                         MaxSegments(working_.identity)});
        plan_.BreakSignal = math::BreakpointSignals(points.temps, code_, config_.multiplier, constants_);
    }
    // The configuration check leaves a range the placement can divide; the placement still
    // refuses one it cannot (no segments) rather than hand on an empty table.
    if (points.segments < 1) {
        plan_.status = PlanStatus::InvalidConfiguration;
        return false;
    }
    plan_.BreakTemp = points.temps;
    rangeMin_ = points.rangeMin;
    rangeMax_ = points.rangeMax;
    if (points.extraEndPoint) optionFlags_ |= option::ExtraEndPoint;
    plan_.SegmentCount = points.segments;
    plan_.CjcSegmentCount = cjcSegments_;
    plan_.OptionWord = optionFlags_;
    plan_.RangeMax = rangeMax_;
    plan_.RangeMin = rangeMin_;

    const std::optional<TableStarts> layout = TableLayout(plan_.SegmentCount, plan_.CjcSegmentCount);
    if (!layout) {
        plan_.status = PlanStatus::InvalidCustomTable;
        return false;
    }
    plan_.Layout = *layout;
    plan_.OutputConfig = (device_.Cell7 & 252) + (form_.OutputSelect & 3);

    gainSpan_ = math::GainSignalSpan(static_cast<double>(plan_.BreakSignal.front()),
                                     static_cast<double>(plan_.BreakSignal.back()), config_.inputConfig);
    const Identity& id = working_.identity;
    const bool fixedGain = traits_ != nullptr && id.FirmwareVersion < traits_->fixedGainBelowFirmware;
    plan_.GainCode = math::GainCode({code_, config_.inputConfig, gainSpan_, fixedGain, form_.FilterTicked,
                                     BurnoutBitSet(id, form_.OutputTypeIndex, form_.BurnoutDown)});
    return true;
}

// The output line, the input scale, the cold-junction tables and the breakpoint tables; every
// value must fit the three-byte format.
bool PlanComputation::ComputeTables() {
    line_ = math::OutputEnds(form_.OutMax, form_.OutMin, form_.AdjMax, form_.AdjMin, calibration_);
    const math::InputScale scale = math::InputScaleFor(config_.inputConfig, calibration_, constants_);
    if (config_.cjcCompensation) {
        math::CjcTables cjc;
        if (custom_) {
            // The grid's temperatures are typed in the unit of the option flags; the
            // compensation sensor's law is in °C.
            std::vector<double> celsius;
            std::vector<double> emf;
            for (int j = 0; j <= plan_.CjcSegmentCount; ++j) {
                float t = working_.CjcPhysical[static_cast<std::size_t>(j)];
                if ((optionFlags_ & option::Fahrenheit) != 0) t = math::FahrenheitToCelsius(t);
                celsius.push_back(static_cast<double>(t));
                emf.push_back(static_cast<double>(working_.CjcInput[static_cast<std::size_t>(j)]));
            }
            cjc = math::CustomCjcTables(celsius, emf, calibration_, constants_, scale);
        } else {
            cjc = math::StandardCjcTables(code_, plan_.CjcSegmentCount, calibration_, constants_, scale);
        }
        plan_.CjcSensorTable = cjc.sensorVolts;
        plan_.CjcEmfTable = cjc.emfVolts;
    }
    const bool customPotentiometer = custom_ && in::IsPotentiometer(code_);
    plan_.BreakVolts = math::BreakpointVolts(
        plan_.BreakSignal, config_.inputConfig, scale, constants_, rangeMin_, rangeMax_,
        customPotentiometer ? std::span<const float>(plan_.BreakSignal) : std::span<const float>());
    plan_.BreakOutput = math::BreakpointOutputs(plan_.BreakTemp, rangeMin_, rangeMax_, line_, form_.OutputDirect);
    if (!AllEncodable(plan_.BreakSignal) || !AllEncodable(plan_.BreakVolts) || !AllEncodable(plan_.BreakOutput) ||
        !AllEncodable(plan_.CjcSensorTable) || !AllEncodable(plan_.CjcEmfTable)) {
        plan_.status = PlanStatus::InvalidCalibration;
        return false;
    }
    return true;
}

bool PlanComputation::NoiseAccepted(const NoiseQuestion& askNoise) {
    if (math::RangeIsNoisy(code_, config_.inputConfig, gainSpan_) && !(askNoise && askNoise())) {
        plan_.status = PlanStatus::NoisyRangeRefused;
        return false;
    }
    return true;
}

// The trip levels are typed in the range's unit: they are converted as the range was, and
// kept as they were when they no longer lie inside it.
void PlanComputation::ComputeTrips() {
    if (!working_.HasTrips()) return;
    const auto levels = math::TripLevelsInTableUnits(working_.TripLevels, code_, form_.OptionWord, custom_);
    const auto low = static_cast<double>(rangeMin_);
    const auto high = static_cast<double>(rangeMax_);
    if (!math::TripLevelsInRange(levels, low, high)) return;
    plan_.TripWords = math::TripWords(levels, low, high, line_, form_.OutputDirect);
    plan_.TripWordsUpdated = true;
    plan_.TripFlags = math::TripFlagsForOutput(working_.TripFlags, form_.OutputDirect);
}

void PlanComputation::Encode() {
    PlanBuilder& b = writes_;
    b.Append(cell::RangeMaxHigh, rangeCells_.cell15);
    b.Append(cell::RangeMaxLow, rangeCells_.cell14);
    b.Append(cell::RangeMinHigh, rangeCells_.cell9);
    b.Append(cell::RangeMinLow, rangeCells_.cell8);
    b.Append(cell::InputConfig, plan_.InputConfig);
    b.Append(cell::InputCode, code_);
    b.Append(cell::OptionFlags, plan_.OptionWord);
    b.Append(cell::CjcSensorStart, plan_.Layout.T1);
    b.Append(cell::OddBreakpointsStart, plan_.Layout.T2);
    b.Append(cell::OutputTableStart, plan_.Layout.T3);
    b.Append(cell::CjcEmfStart, plan_.Layout.T4);
    b.Append(cell::OutputConfig, plan_.OutputConfig);
    b.Append(cell::GainCode, plan_.GainCode);
    EncodeTables();
    EncodeTripsAndTrims();
    plan_.writes = std::move(b.writes);
    ChooseSentWrites();
}

// The cold-junction tables from T1 and T4; then the even breakpoints from 16, the odd ones
// from T2 and every output code from T3 (the trip flags go between the two groups).
void PlanComputation::EncodeTables() {
    PlanBuilder& b = writes_;
    for (std::size_t j = 0; j < plan_.CjcSensorTable.size(); ++j)
        b.AppendFloat24(plan_.Layout.T1 + 3 * static_cast<int>(j), plan_.CjcSensorTable[j]);
    for (std::size_t j = 0; j < plan_.CjcEmfTable.size(); ++j)
        b.AppendFloat24(plan_.Layout.T4 + 3 * static_cast<int>(j), plan_.CjcEmfTable[j]);
    if (plan_.TripWordsUpdated) b.Append(cell::TripFlags, plan_.TripFlags);
    const int n = plan_.SegmentCount;
    const auto volts = [&](int i) { return static_cast<double>(plan_.BreakVolts[static_cast<std::size_t>(i - 1)]); };
    for (int i = 2, k = 0; i <= n; i += 2, ++k) b.AppendFloat24(cell::TablesStart + 3 * k, volts(i));
    for (int i = 1, k = 0; i <= n + 1; i += 2, ++k) b.AppendFloat24(plan_.Layout.T2 + 3 * k, volts(i));
    for (int i = 0; i <= n; ++i)
        b.AppendFloat24(plan_.Layout.T3 + 3 * i, static_cast<double>(plan_.BreakOutput[static_cast<std::size_t>(i)]));
}

// Trip words, delay and trims, on the models with trips.
void PlanComputation::EncodeTripsAndTrims() {
    if (!working_.HasTrips()) return;
    PlanBuilder& b = writes_;
    b.AppendWord(cell::Trip1HighCode, plan_.TripWords[0]);
    b.AppendWord(cell::Trip1LowCode, plan_.TripWords[1]);
    b.AppendWord(cell::Trip2HighCode, plan_.TripWords[2]);
    b.AppendWord(cell::Trip2LowCode, plan_.TripWords[3]);
    // The delay cell holds one byte; the trips form keeps the value within it.
    const auto ticks =
        std::clamp<long long>(resources::RoundHalfEven(static_cast<double>(working_.TripDelayTicks)), 0, 255);
    b.Append(cell::TripDelay, static_cast<int>(ticks));
    b.Append(cell::ZeroTrim, form_.ZeroSlider + kTrimBias);
    b.Append(cell::SpanTrim, form_.SpanSlider + kTrimBias);
}

// Cell 7 stays in the list, but the families that keep their output configuration to
// themselves are not sent it.
void PlanComputation::ChooseSentWrites() {
    const bool sendCell7 = traits_ == nullptr || traits_->writesCell7;
    for (const WriteEntry& entry : plan_.writes)
        if (sendCell7 || entry.address != cell::OutputConfig) plan_.sent.push_back(entry);
}

}  // namespace

ProgramPlan MakeProgramPlan(const PlanRequest& form, const WorkingState& working, const ProgramDeviceData& device,
                            const NoiseQuestion& askNoise) {
    PlanComputation computation(form, working, device);
    if (!computation.Accepted() || !computation.ComputeInput() || !computation.ComputeBreakpoints() ||
        !computation.ComputeTables() || !computation.NoiseAccepted(askNoise))
        return computation.Finished();
    computation.ComputeTrips();
    computation.Encode();
    return computation.Finished();
}

}  // namespace vantrel::device
