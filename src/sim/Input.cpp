// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Input.h"

#include <cmath>
#include <cstdint>
#include <numbers>

#include "device/ProgramPlan.h"
#include "math/Converter.h"
#include "math/InputCodes.h"
#include "math/SensorCurves.h"

namespace vantrel::sim {

namespace {

namespace input = math::input;

// The input converter's calibration as the transmitter keeps it: zero and span counts in the
// words at 254 and 250 (sixteenths), the output calibration elsewhere (not needed here).
math::ConverterCalibration CalibrationFromMemory(const Memory& memory) {
    math::ConverterCalibration calibration;
    calibration.InCalSpan = memory.word(device::cell::CalWord250) / 16.0;
    calibration.InCalZero = memory.word(device::cell::CalWord254) / 16.0;
    return calibration;
}

math::ConverterConstants ConstantsFromMemory(const Memory& memory, const math::ConverterCalibration& calibration) {
    std::array<std::uint8_t, device::cell::FactoryCalibrationSize> block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = memory.read(static_cast<std::uint8_t>(device::cell::FactoryCalibration + i));
    return device::DeriveConverterConstants(device::DecodeFactoryCalibration(block), calibration);
}

// 1000-ohm sensors are the 100-ohm curves times ten.
int MultiplierFor(int code) { return code == input::Pt1000 || code == input::Ni1000 ? 10 : 1; }

// The signal at the terminals in the input's own unit (mV, ohm, mA, ratio); for a
// thermocouple the emf of the hot junction against the terminals.
std::optional<double> TerminalSignal(const SimulatedInput& in, int code, bool internalCjc) {
    if (in.quantity != Quantity::Temperature || !input::IsTemperature(code)) return in.value;
    const auto hot = math::SensorSignal(in.value, code, MultiplierFor(code));
    if (!hot) return std::nullopt;
    if (!input::IsThermocouple(code) || !internalCjc) return hot;
    // With internal compensation the cold junction sits at the terminals; the firmware adds
    // its emf back from the compensation sensor. Without it the junction is held at 0 °C
    // outside the transmitter.
    const auto cold = math::SensorSignal(in.coldJunction, code, 1);
    if (!cold) return std::nullopt;
    return *hot - *cold;
}

// A number in [-1, 1] that looks random and is the same for the same frame on every run.
double FrameNoise(long frame) {
    std::uint64_t x = static_cast<std::uint64_t>(frame) * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    return static_cast<double>(x >> 11) / static_cast<double>(1ull << 52) - 1.0;
}

}  // namespace

SimulatedInput InputAt(const SimulatedInput& input, double seconds, long frame) {
    SimulatedInput at = input;
    if (input.drift != 0 && input.driftPeriod > 0)
        at.value += input.drift * std::sin(2 * std::numbers::pi * seconds / input.driftPeriod);
    if (input.noise != 0) at.value += input.noise * FrameNoise(frame);
    return at;
}

std::optional<double> InputConverterValue(const SimulatedInput& in, const Memory& memory,
                                          const std::optional<ProgrammedTables>& tables) {
    if (in.quantity == Quantity::ConverterVolts) return in.value;
    const int code = memory.read(device::cell::InputCode);
    const int config = memory.read(device::cell::InputConfig);
    const bool internalCjc = input::IsThermocouple(code) && (memory.read(device::cell::OptionFlags) & 1) != 0;

    const auto signal = TerminalSignal(in, code, internalCjc);
    if (!signal) return std::nullopt;
    // A potentiometer's converter value is the wiper ratio itself.
    if (math::IsPotentiometerConfig(config)) return *signal;

    const math::ConverterCalibration calibration = CalibrationFromMemory(memory);
    const math::ConverterConstants constants = ConstantsFromMemory(memory, calibration);
    const math::InputScale scale = math::InputScaleFor(config, calibration, constants);
    double volts =
        math::InputConverterVolts(math::SignalAtConverter(*signal, code, constants), config, scale, constants);
    if (internalCjc && tables) volts += tables->coldJunction(math::CjcSensorVolts(in.coldJunction, calibration, constants));
    return volts;
}

}  // namespace vantrel::sim
