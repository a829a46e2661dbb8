// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ProgramPlan.h"

#include "device/Families.h"
#include <algorithm>
#include <cmath>

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
    ProgramPlan plan;

    void Append(int address, int value) {
        plan.writes.push_back({static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(value & 0xFF)});
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

ProgramPlan MakeProgramPlan(const PlanRequest& form, const WorkingState& working, const ProgramDeviceData& device,
                            const NoiseQuestion& askNoise) {
    PlanBuilder b;
    ProgramPlan& plan = b.plan;
    const int code = form.InputCode;
    const bool custom = working.CustomActive;
    const Identity& id = working.identity;
    plan.OptionWord = form.OptionWord;
    plan.RangeMax = form.RangeMax;
    plan.RangeMin = form.RangeMin;
    plan.TripWords = device.PreviousTripWords;
    plan.TripFlags = working.TripFlags;

    // Code 56 needs a current law and output series that are not settled; refuse it rather
    // than write guessed values.
    if (!in::IsProgrammable(code)) {
        plan.status = PlanStatus::UnsupportedInput;
        return plan;
    }
    if (custom && !CustomTableFits(working, code, form.OptionWord)) {
        plan.status = PlanStatus::InvalidCustomTable;
        return plan;
    }
    if (auto problem = CheckConfiguration(form, working)) {
        plan.status = PlanStatus::InvalidConfiguration;
        plan.problem = std::move(problem);
        return plan;
    }

    // 1. Range units. Only temperatures are converted from °F: bit 3 may also ride along on
    // a potentiometer, whose range is a percentage.
    float rangeMax = form.RangeMax;
    float rangeMin = form.RangeMin;
    if (in::IsPotentiometer(code) && !custom) {
        rangeMax = ToSingle(static_cast<double>(rangeMax) / 100.0);
        rangeMin = ToSingle(static_cast<double>(rangeMin) / 100.0);
    }
    if ((form.OptionWord & option::Fahrenheit) != 0 && in::IsTemperature(code)) {
        rangeMax = math::FahrenheitToCelsius(rangeMax);
        rangeMin = math::FahrenheitToCelsius(rangeMin);
    }
    int optionFlags = form.OptionWord & ~option::ExtraEndPoint;

    // 2. Segment counts and calibration.
    int m = 5;
    if (custom) {
        if ((optionFlags & option::InternalCjc) != 0) m = working.CjcSegmentCount;
    } else if (form.LinearVisible && form.LinearTicked) {
        m = 2;
    }
    const math::ConverterCalibration cal = device.Converter.value_or(math::ConverterCalibration{});
    const math::ConverterConstants constants = DeriveConverterConstants(device.Factory, cal);
    plan.Constants = constants;

    // 5. Range ends. The check above keeps them inside the range cells; the encoder refuses
    // on its own all the same.
    const std::optional<RangeCells> range = RangeEncode(static_cast<double>(rangeMax), static_cast<double>(rangeMin));
    if (!range) {
        plan.status = PlanStatus::InvalidConfiguration;
        return plan;
    }
    b.Append(cell::RangeMaxHigh, range->cell15);
    b.Append(cell::RangeMaxLow, range->cell14);
    b.Append(cell::RangeMinHigh, range->cell9);
    b.Append(cell::RangeMinLow, range->cell8);

    // 6. Input configuration.
    math::InputConfigArgs configArgs{code, optionFlags, static_cast<double>(rangeMax), static_cast<double>(rangeMin), UsesVariantInputConfig(id), {}, {}};
    if (custom) {
        configArgs.customFirstInput = working.PtInput[0];
        configArgs.customLastInput = working.PtInput[static_cast<std::size_t>(working.SegmentCount)];
    }
    const math::InputConfigChoice config = math::SelectInputConfig(configArgs);
    plan.InputConfig = config.inputConfig;
    plan.Multiplier = config.multiplier;
    if (!device.Factory && NeedsFactoryCalibration(code, config.inputConfig)) {
        plan.status = PlanStatus::InvalidCalibration;
        plan.writes.clear();
        return plan;
    }
    b.Append(cell::InputConfig, config.inputConfig);

    // 7. Breakpoints.
    math::Breakpoints points;
    if (custom) {
        points = math::CustomBreakpoints(working.PtPhysical, working.SegmentCount, working.PointExtra);
        plan.BreakSignal = math::CustomBreakpointSignals(working.PtInput, working.SegmentCount, code, constants);
    } else {
        points = math::PlaceBreakpoints({code, rangeMin, rangeMax, form.LinearVisible, form.LinearTicked, MaxSegments(id)});
        plan.BreakSignal = math::BreakpointSignals(points.temps, code, config.multiplier, constants);
    }
    // The configuration check leaves a range the placement can divide; the placement still
    // refuses one it cannot (no segments) rather than hand on an empty table.
    if (points.segments < 1) {
        plan.status = PlanStatus::InvalidConfiguration;
        plan.writes.clear();
        return plan;
    }
    plan.BreakTemp = points.temps;
    rangeMin = points.rangeMin;
    rangeMax = points.rangeMax;
    if (points.extraEndPoint) optionFlags |= option::ExtraEndPoint;
    const int n = points.segments;
    plan.SegmentCount = n;
    plan.CjcSegmentCount = m;
    plan.OptionWord = optionFlags;
    plan.RangeMax = rangeMax;
    plan.RangeMin = rangeMin;

    // 8. Codes and table starts.
    const std::optional<TableStarts> layout = TableLayout(n, m);
    if (!layout) {
        plan.status = PlanStatus::InvalidCustomTable;
        plan.writes.clear();
        return plan;
    }
    plan.Layout = *layout;
    b.Append(cell::InputCode, code);
    b.Append(cell::OptionFlags, optionFlags);
    b.Append(cell::CjcSensorStart, plan.Layout.T1);
    b.Append(cell::OddBreakpointsStart, plan.Layout.T2);
    b.Append(cell::OutputTableStart, plan.Layout.T3);
    b.Append(cell::CjcEmfStart, plan.Layout.T4);

    // 9. Output selection.
    plan.OutputConfig = (device.Cell7 & 252) + (form.OutputSelect & 3);
    b.Append(cell::OutputConfig, plan.OutputConfig);

    // 10. Gain.
    const double span = math::GainSignalSpan(static_cast<double>(plan.BreakSignal.front()), static_cast<double>(plan.BreakSignal.back()), config.inputConfig);
    const FamilyTraits* traits = FindFamily(id);
    const bool fixedGain = traits != nullptr && id.FirmwareVersion < traits->fixedGainBelowFirmware;
    plan.GainCode = math::GainCode({code, config.inputConfig, span, fixedGain, form.FilterTicked,
                                    BurnoutBitSet(id, form.OutputTypeIndex, form.BurnoutDown)});
    b.Append(cell::GainCode, plan.GainCode);

    // 12..14. Output line, input scale, cold-junction and breakpoint tables, all computed
    // before anything is asked or written.
    const math::OutputLine line = math::OutputEnds(form.OutMax, form.OutMin, form.AdjMax, form.AdjMin, cal);
    const math::InputScale scale = math::InputScaleFor(config.inputConfig, cal, constants);
    if (config.cjcCompensation) {
        math::CjcTables cjc;
        if (custom) {
            // The grid's temperatures are typed in the unit of the option flags; the
            // compensation sensor's law is in °C.
            std::vector<double> celsius;
            std::vector<double> emf;
            for (int j = 0; j <= m; ++j) {
                float t = working.CjcPhysical[static_cast<std::size_t>(j)];
                if ((optionFlags & option::Fahrenheit) != 0) t = math::FahrenheitToCelsius(t);
                celsius.push_back(static_cast<double>(t));
                emf.push_back(static_cast<double>(working.CjcInput[static_cast<std::size_t>(j)]));
            }
            cjc = math::CustomCjcTables(celsius, emf, cal, constants, scale);
        } else {
            cjc = math::StandardCjcTables(code, m, cal, constants, scale);
        }
        plan.CjcSensorTable = cjc.sensorVolts;
        plan.CjcEmfTable = cjc.emfVolts;
    }
    const bool customPotentiometer = custom && in::IsPotentiometer(code);
    plan.BreakVolts = math::BreakpointVolts(plan.BreakSignal, config.inputConfig, scale, constants, rangeMin, rangeMax,
                                            customPotentiometer ? std::span<const float>(plan.BreakSignal)
                                                                : std::span<const float>());
    plan.BreakOutput = math::BreakpointOutputs(plan.BreakTemp, rangeMin, rangeMax, line, form.OutputDirect);
    if (!AllEncodable(plan.BreakSignal) || !AllEncodable(plan.BreakVolts) || !AllEncodable(plan.BreakOutput) ||
        !AllEncodable(plan.CjcSensorTable) || !AllEncodable(plan.CjcEmfTable)) {
        plan.status = PlanStatus::InvalidCalibration;
        plan.writes.clear();
        return plan;
    }

    // 11. Noise check.
    if (math::RangeIsNoisy(code, config.inputConfig, span) && !(askNoise && askNoise())) {
        plan.status = PlanStatus::NoisyRangeRefused;
        plan.writes.clear();
        return plan;
    }

    // 13. Cold-junction tables.
    for (std::size_t j = 0; j < plan.CjcSensorTable.size(); ++j)
        b.AppendFloat24(plan.Layout.T1 + 3 * static_cast<int>(j), plan.CjcSensorTable[j]);
    for (std::size_t j = 0; j < plan.CjcEmfTable.size(); ++j)
        b.AppendFloat24(plan.Layout.T4 + 3 * static_cast<int>(j), plan.CjcEmfTable[j]);

    // 15. Trips: the levels are typed in the range's unit; convert them as the range was.
    if (working.HasTrips()) {
        const auto levels = math::TripLevelsInTableUnits(working.TripLevels, code, form.OptionWord, custom);
        if (math::TripLevelsInRange(levels, static_cast<double>(rangeMin), static_cast<double>(rangeMax))) {
            plan.TripWords = math::TripWords(levels, static_cast<double>(rangeMin), static_cast<double>(rangeMax), line, form.OutputDirect);
            plan.TripWordsUpdated = true;
            plan.TripFlags = math::TripFlagsForOutput(working.TripFlags, form.OutputDirect);
            b.Append(cell::TripFlags, plan.TripFlags);
        }
    }

    // 17. Tables: even breakpoints from 16, odd ones from T2, every output code from T3.
    for (int i = 2, k = 0; i <= n; i += 2, ++k)
        b.AppendFloat24(cell::TablesStart + 3 * k, static_cast<double>(plan.BreakVolts[static_cast<std::size_t>(i - 1)]));
    for (int i = 1, k = 0; i <= n + 1; i += 2, ++k)
        b.AppendFloat24(plan.Layout.T2 + 3 * k, static_cast<double>(plan.BreakVolts[static_cast<std::size_t>(i - 1)]));
    for (int i = 0; i <= n; ++i) b.AppendFloat24(plan.Layout.T3 + 3 * i, static_cast<double>(plan.BreakOutput[static_cast<std::size_t>(i)]));

    // 18. Trip words, delay and trims (model 10).
    if (working.HasTrips()) {
        b.AppendWord(cell::Trip1HighCode, plan.TripWords[0]);
        b.AppendWord(cell::Trip1LowCode, plan.TripWords[1]);
        b.AppendWord(cell::Trip2HighCode, plan.TripWords[2]);
        b.AppendWord(cell::Trip2LowCode, plan.TripWords[3]);
        // The delay cell holds one byte; the trips form keeps the value within it.
        const auto ticks = std::clamp<long long>(resources::RoundHalfEven(static_cast<double>(working.TripDelayTicks)), 0, 255);
        b.Append(cell::TripDelay, static_cast<int>(ticks));
        b.Append(cell::ZeroTrim, form.ZeroSlider + kTrimBias);
        b.Append(cell::SpanTrim, form.SpanSlider + kTrimBias);
    }

    // 19. What goes on the line: cell 7 stays in the list, but the families that keep their
    // output configuration to themselves are not sent it.
    const bool sendCell7 = traits == nullptr || traits->writesCell7;
    for (const WriteEntry& entry : plan.writes)
        if (sendCell7 || entry.address != cell::OutputConfig) plan.sent.push_back(entry);
    return plan;
}

}  // namespace vantrel::device
