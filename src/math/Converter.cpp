// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "math/Converter.h"

#include "math/InputCodes.h"
#include "math/InputConfig.h"

namespace vantrel::math {

double ConverterVolts(double counts) { return counts * 1.1 / 4096 - 0.1; }

InputScale LowRangeScale(const ConverterCalibration& calibration) {
    return {ConverterVolts(calibration.InCalZero), ConverterVolts(calibration.InCalSpan), 20};
}

InputScale InputScaleFor(int inputConfig, const ConverterCalibration& calibration, const ConverterConstants& constants) {
    if (inputConfig > kInputConfigHighRange)
        return {ConverterVolts(constants.CalZeroCounts), ConverterVolts(constants.CalSpanCounts), 400};
    return LowRangeScale(calibration);
}

bool IsPotentiometerConfig(int inputConfig) { return (inputConfig & 31) == 5; }

bool IsHighRangeConfig(int inputConfig) {
    const int range = inputConfig & 31;
    return range == 8 || range == 9;
}

double InputConverterVolts(double signalMv, int inputConfig, const InputScale& scale, const ConverterConstants& constants) {
    const double perMv = (scale.Vs - scale.V0) / scale.Ref;
    if (IsHighRangeConfig(inputConfig)) return scale.V0 + signalMv * perMv / constants.HighRangeRatio;
    return scale.V0 + signalMv * perMv;
}

double RtdCurrentFactor(double ohms, const ConverterConstants& constants) {
    return constants.RtdCurrent100 + (100 - ohms) * (constants.RtdCurrent100 - constants.RtdCurrent1000) / 900;
}

double SignalAtConverter(double sensorSignal, int inputCode, const ConverterConstants& constants) {
    if (input::UsesRtdCurrent(inputCode)) return sensorSignal * RtdCurrentFactor(sensorSignal, constants);
    if (inputCode == input::CurrentCode) return sensorSignal * constants.InputGain46;
    return sensorSignal;
}

double RtdCurrent100From(double calRtdLow, double inCalZero, double inCalSpan) {
    return 20 * (calRtdLow - inCalZero) / (inCalSpan - inCalZero) / 100;
}

double RtdCurrent1000From(double calRtdHigh, double calZeroCounts, double calSpanCounts) {
    return 0.4 * (calRtdHigh - calZeroCounts) / (calSpanCounts - calZeroCounts);
}

double HighRangeRatioFrom(double calSpanCounts, double calZeroCounts, double calAux1, double inCalZero) {
    return 20 * (calSpanCounts - calZeroCounts) / (calAux1 - inCalZero);
}

double InputGain46From(double calAux2, double calZeroCounts, double calSpanCounts) {
    return 25 * (calAux2 - calZeroCounts) / (calSpanCounts - calZeroCounts);
}

double CjcSensorSignal(double celsius, const ConverterCalibration& calibration, const ConverterConstants& constants) {
    const double atCalibration =
        (constants.CalCjcCounts - calibration.InCalZero) * 20 / (calibration.InCalSpan - calibration.InCalZero);
    return atCalibration + (celsius - constants.CalTemperature) * 10 / 15.6666;
}

double CjcSensorVolts(double celsius, const ConverterCalibration& calibration, const ConverterConstants& constants) {
    const double signal = CjcSensorSignal(celsius, calibration, constants);
    return ConverterVolts(calibration.InCalZero + (calibration.InCalSpan - calibration.InCalZero) * signal / 20);
}

double CjcEmfVolts(double emfMv, const InputScale& scale) { return emfMv * (scale.Vs - scale.V0) / 20; }

}  // namespace vantrel::math
