// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/DefaultProfile.h"

#include "device/Families.h"

#include <utility>

namespace vantrel::sim {

namespace {

// Cells of a freshly calibrated family-4 transmitter (everything else erased).
constexpr std::pair<int, std::uint8_t> kFactoryCells[] = {
    // Serial number: customer 12, year code 5, order 91, progressive 528.
    {0, 12}, {13, 0x5B}, {226, 0x62}, {227, 0x10},
    {7, 0x00},  // OutputConfig before the output selection is written
    // Voltage output calibration: 1.000 V at code 3148, 10.000 V at code 944.
    {228, 0xA0}, {229, 0x3F}, {230, 0xE8}, {231, 0x00}, {232, 0x00},
    // Factory block 233..247.
    {233, 0x2B}, {234, 0x29},  // CalRtdHigh  658.69 (x16)
    {235, 0x42}, {236, 0x68},  // CalAux2     2669.0 (x10)
    {237, 0x44}, {238, 0x39},  // CalAux1     1466.0 (x10)
    {239, 0x38}, {240, 0x17},  // CalZeroCounts 371.5
    {241, 0x04}, {242, 0x5F},  // CalSpanCounts 1520.25
    {243, 0xC0}, {244, 0x88},  // CalRtdLow   2188.0
    {245, 0x9E},               // CalTemperature 25.8 °C
    {246, 0x31}, {247, 0xB8},  // CalCjcCounts 2947.06
    // Current output calibration: 4.002 mA at code 808, 19.995 mA at code 3392.
    {248, 0x00}, {249, 0x9B}, {252, 0xFF}, {253, 0xA2},
    // Input converter: span 1516.31 counts (x16 at 250), zero 372 counts (x16 at 254).
    {250, 0xC5}, {251, 0x5E}, {254, 0x40}, {255, 0x17},
};

constexpr int kFamily = 4;
constexpr int kModel = 10;
constexpr int kFirmwareVersion = 1;

// Family 4, output selection 2 (current): cells A, B, C = 253, 252, 249, offsets 0 / 16000,
// converter codes 808 and 3392.
math::ConverterCalibration CurrentOutputCalibration(const Memory& memory) {
    const int a = memory.read(253);
    const int b = memory.read(252);
    const int c = memory.read(249);
    math::ConverterCalibration calibration;
    calibration.OutCalCode1 = 808;
    calibration.OutCalCode2 = 3392;
    calibration.OutCalPoint1 = (a + 16 * (b & 240)) / 1000.0;
    calibration.OutCalPoint2 = (c + 256 * (b & 15) + 16000) / 1000.0;
    calibration.InCalSpan = memory.word(device::cell::CalWord250) / 16.0;
    calibration.InCalZero = memory.word(device::cell::CalWord254) / 16.0;
    return calibration;
}

}  // namespace

Memory FactoryMemory() {
    Memory memory;
    for (const auto& [address, value] : kFactoryCells) memory.write(static_cast<std::uint8_t>(address), value);
    return memory;
}

device::PlanRequest DefaultProgramForm() {
    device::PlanRequest form;
    form.InputCode = 1;  // thermocouple K
    form.OptionWord = device::option::InternalCjc;
    form.RangeMax = 1000;
    form.RangeMin = 0;
    form.OutMax = 20;
    form.OutMin = 4;
    form.OutputTypeIndex = 0;  // current
    form.OutputSelect = device::OutputSelectCode(DefaultWorkingState().identity, form.OutputTypeIndex, form.OutMin);
    form.LinearVisible = true;
    form.LinearTicked = false;
    form.OutputDirect = true;
    return form;
}

device::WorkingState DefaultWorkingState() {
    device::WorkingState working;
    working.identity = {kFamily, kModel, kFirmwareVersion, 0};
    working.TripLevels = {800, 780, 110, 100};  // trip 1 high/low, trip 2 high/low
    working.TripDelayTicks = 20;               // 1 s
    working.TripFlags = 1;                     // trip 2 is a minimum trip
    return working;
}

device::ProgramDeviceData ReadBeforeProgramming(const Memory& memory) {
    device::ProgramDeviceData data;
    data.Cell7 = memory.read(device::cell::OutputConfig);
    data.Converter = CurrentOutputCalibration(memory);
    std::array<std::uint8_t, device::cell::FactoryCalibrationSize> block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = memory.read(static_cast<std::uint8_t>(device::cell::FactoryCalibration + i));
    data.Factory = device::DecodeFactoryCalibration(block);
    data.PreviousTripWords = {static_cast<int>(memory.word(device::cell::Trip1HighCode)),
                              static_cast<int>(memory.word(device::cell::Trip1LowCode)),
                              static_cast<int>(memory.word(device::cell::Trip2HighCode)),
                              static_cast<int>(memory.word(device::cell::Trip2LowCode))};
    return data;
}

void ApplyPlan(const device::ProgramPlan& plan, Memory& memory) {
    for (const device::WriteEntry& entry : plan.sent) memory.write(entry.address, entry.value);
}

Profile MakeDefaultProfile() {
    Profile profile;
    profile.identity = {kFamily, kModel, kFirmwareVersion, 0};
    profile.memory = FactoryMemory();
    const device::ProgramPlan plan = device::MakeProgramPlan(DefaultProgramForm(), DefaultWorkingState(),
                                                             ReadBeforeProgramming(profile.memory), [] { return true; });
    ApplyPlan(plan, profile.memory);
    // A process that lives: a slow swing of 20 °C over two minutes with a little noise, so the
    // trend, the lamps and the bar move in a demonstration.
    profile.input = {Quantity::Temperature, 25, 25, 20, 120, 0.2};
    return profile;
}

}  // namespace vantrel::sim
