// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The transmitter's converters as programming sees them. Everything the tables hold is
// expressed at the input converter (a 12-bit converter with a 1.1 V reference and a 0.1 V
// offset) or at the output converter. A simulated transmitter that must reproduce, from a
// physical input, exactly the converter voltage the programmed tables expect uses these
// same relations:
//
//   physical input  --SensorSignal-->  sensor signal s (mV, ohm, mA, ratio)
//                   --SignalAtConverter-->  BreakSignal (mV at the converter input)
//                   --InputConverterVolts-->  converter voltage (what the tables index)
//
// For a potentiometer the converter value is the wiper ratio itself (0..1), not a voltage.
namespace vantrel::math {

// The six values read from the transmitter before programming (output calibration of the
// selected output and the input converter's zero and span counts). Defaults stand when the
// read is not made or fails; the two output codes then stay 0.
struct ConverterCalibration {
    double OutCalCode1 = 0;       // output converter code at OutCalPoint1
    double OutCalCode2 = 0;       // output converter code at OutCalPoint2
    double OutCalPoint2 = 10.105; // output value (mA or V) of the high calibration point
    double OutCalPoint1 = 4.987;  // output value of the low calibration point
    double InCalSpan = 1516.313;  // converter counts with the 20 mV reference applied
    double InCalZero = 372;       // converter counts with 0 mV applied
};

// Constants derived from the factory calibration block (cells 233..247). The defaults are
// those that stand when the block is not read: the three constants without a default are 0,
// as never-computed values.
struct ConverterConstants {
    double RtdCurrent100 = 0.3174;  // mA of the current source into 100 ohm
    double RtdCurrent1000 = 0;      // mA of the current source into 1000 ohm
    double HighRangeRatio = 0;      // attenuation of the two widest voltage ranges
    double InputGain46 = 0;         // mV at the converter per mA of a current input
    double CalZeroCounts = 0;       // converter counts at 0 on the 400 mV range
    double CalSpanCounts = 0;       // converter counts at 400 mV
    double CalCjcCounts = 2947.063; // compensation sensor counts at CalTemperature
    double CalTemperature = 25.8;   // °C at which CalCjcCounts was taken
};

// ---- Converter relations ---------------------------------------------------------------

// Voltage at the input converter for a count value: counts x 1.1 / 4096 - 0.1.
double ConverterVolts(double counts);

// Reference points of the input converter for one InputConfig: V0 at zero signal, Vs at
// the reference signal Ref (20 mV; 400 mV and the factory counts when InputConfig > 128).
struct InputScale {
    double V0 = 0;
    double Vs = 0;
    double Ref = 20;
};
InputScale InputScaleFor(int inputConfig, const ConverterCalibration& calibration, const ConverterConstants& constants);
// V0 and Vs from InCalZero / InCalSpan alone (the 20 mV scale).
InputScale LowRangeScale(const ConverterCalibration& calibration);

// Converter voltage of a converter-input signal (mV) for an InputConfig:
//   (InputConfig AND 31) = 8 or 9: V0 + signal x (Vs - V0) / Ref / HighRangeRatio;
//   otherwise:                    V0 + signal x (Vs - V0) / Ref.
// Not for potentiometers ((InputConfig AND 31) = 5), whose converter value is the ratio.
double InputConverterVolts(double signalMv, int inputConfig, const InputScale& scale, const ConverterConstants& constants);
bool IsPotentiometerConfig(int inputConfig);
bool IsHighRangeConfig(int inputConfig);

// ---- Excitation of resistance inputs and current inputs ---------------------------------

// Current factor k(s) in mA for a resistance of s ohm: a straight line through
// RtdCurrent100 at 100 ohm and RtdCurrent1000 at 1000 ohm.
double RtdCurrentFactor(double ohms, const ConverterConstants& constants);

// Signal at the converter input for a sensor signal s of an input code:
//   codes 21..24 and 51: s x k(s) (mV across the resistance);
//   code 46:             s x InputGain46 (mV for s mA);
//   otherwise:           s.
double SignalAtConverter(double sensorSignal, int inputCode, const ConverterConstants& constants);

// ---- Derivations from the factory block --------------------------------------------------

// 20 x (CalRtdLow - InCalZero) / (InCalSpan - InCalZero) / 100.
double RtdCurrent100From(double calRtdLow, double inCalZero, double inCalSpan);
// 0.4 x (CalRtdHigh - CalZeroCounts) / (CalSpanCounts - CalZeroCounts).
double RtdCurrent1000From(double calRtdHigh, double calZeroCounts, double calSpanCounts);
// 20 x (CalSpanCounts - CalZeroCounts) / (CalAux1 - InCalZero).
double HighRangeRatioFrom(double calSpanCounts, double calZeroCounts, double calAux1, double inCalZero);
// 25 x (CalAux2 - CalZeroCounts) / (CalSpanCounts - CalZeroCounts).
double InputGain46From(double calAux2, double calZeroCounts, double calSpanCounts);

// ---- Cold-junction compensation sensor ----------------------------------------------------

// Signal of the compensation sensor at t °C, in the 20 mV scale:
// Sc + (t - CalTemperature) x 10 / 15.6666 with Sc = (CalCjcCounts - InCalZero) x 20 /
// (InCalSpan - InCalZero).
double CjcSensorSignal(double celsius, const ConverterCalibration& calibration, const ConverterConstants& constants);
// Converter voltage of the compensation sensor at t °C.
double CjcSensorVolts(double celsius, const ConverterCalibration& calibration, const ConverterConstants& constants);
// A thermocouple emf (mV) as a converter voltage difference: emf x (Vs - V0) / 20.
double CjcEmfVolts(double emfMv, const InputScale& scale);

}  // namespace vantrel::math
