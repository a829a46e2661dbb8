// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// A memory image whose bytes come from outside the program: the type K emf values of the
// IPTS-68 reference data (NBS Monograph 125, as listed in the thermocouple check values,
// mV) and the transmitter's own formats, worked out by hand. The simulated transmitter
// computes its input with the same mathematics as programming, so a closed loop cannot
// show a wrong curve, encoding or table position; this image can.
//
// Configuration: thermocouple K (input code 1), 0..1120 °C, no internal compensation,
// model 9 (28 segments), 4..20 mA output, output calibration 4 mA = code 800 and
// 20 mA = code 4000, input converter calibration left at its defaults (zero 372 counts,
// span 1516.313 counts for 20 mV).
//
// Hand derivation:
//  - Breakpoints: 1120 °C / 20 °C steps = 56 segments, held to 28: one every 40 °C;
//    breakpoint i (1-based) lies at 40 (i - 1) °C.
//  - Table starts for N = 28, M = 5: T1 = 16 + 1.5 N = 58 (even breakpoints from 16),
//    T2 = T1 + 3 (M + 1) = 76 (odd breakpoints), T3 = T2 + 3 (N / 2 + 1) = 121 (output
//    codes, one per breakpoint), T4 = T3 + 3 (N + 1) = 208.
//  - Converter volts: counts x 1.1 / 4096 - 0.1, so V0 = 372 x 1.1 / 4096 - 0.1
//    = -0.00009765625 V, Vs = 1516.313 x 1.1 / 4096 - 0.1 = 0.3072130 V; a signal of E mV
//    reads V0 + E (Vs - V0) / 20 = V0 + 0.01536553 E volts.
//  - Three-byte format: |x| = (1 + m / 32768) 2^e with m truncated to 15 bits; bytes are the
//    word (sign x 32768 + m) low, high, then e + 127.
//  - Range cells: the ends halved (560, 0) share a 4-bit exponent k, the largest with
//    560 x 2^k < 8192: k = 3, 560 x 8 = 4480 = 17 x 256 + 128. k's bits 3, 2 ride in bits 7, 6
//    of cell 15, bits 1, 0 in bits 7, 6 of cell 9: cells 15, 14, 9, 8 = 17, 128, 192, 0.
//  - Output codes: 800 + t x 3200 / 1120 = 800 + 20 t / 7 at t °C.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "PlanFixtures.h"
#include "device/MemoryMap.h"
#include "device/ProgramPlan.h"

namespace {

using namespace vantrel::device;

struct GoldenCells {
    int address;
    std::vector<int> bytes;
    const char* derivation;
};

const GoldenCells kImage[] = {
    {14, {128, 17}, "range max 1120 °C (cells 14, 15): 4480 x 2 / 2^3, k bits 3..2 = 00"},
    {8, {0, 192}, "range min 0 °C (cells 8, 9), k bits 1..0 = 11"},
    {10, {1}, "input code of type K"},
    {1, {58, 76, 121, 208}, "T1 (cell 1) .. T4 (cell 4)"},
    // Breakpoint volts. E from the IPTS-68 check values; V = V0 + 0.01536553 E.
    {76, {0xCC, 0xCC, 0x71}, "0 °C, E = 0: V = -9.765625e-5 = -(1 + 19660.8 / 32768) 2^-14, odd breakpoint 1 at T2"},
    {22, {0xD8, 0x7F, 0x7B}, "200 °C, E = 8.13655 mV: V = 0.1249248 = (1 + 32728.5 / 32768) 2^-4, even breakpoint 6"},
    {91, {0xEF, 0x00, 0x7D}, "400 °C, E = 16.39545 mV: V = 0.2518271 = (1 + 239.5 / 32768) 2^-2, odd breakpoint 11"},
    {37, {0xDA, 0x43, 0x7D}, "600 °C, E = 24.90160 mV: V = 0.3825287 = (1 + 17370.8 / 32768) 2^-2, even breakpoint 16"},
    {106, {0xDF, 0x02, 0x7E}, "800 °C, E = 33.27677 mV: V = 0.5112176 = (1 + 735.2 / 32768) 2^-1, odd breakpoint 21"},
    // Output codes at T3 + 3 i for breakpoint i + 1.
    {121, {0x00, 0x48, 0x88}, "0 °C: code 800 = 1.5625 x 2^9"},
    {142, {0x00, 0x48, 0x89}, "280 °C: code 1600 = 1.5625 x 2^10"},
    {163, {0x00, 0x16, 0x8A}, "560 °C: code 2400 = 1.171875 x 2^11"},
    {184, {0x00, 0x48, 0x8A}, "840 °C: code 3200 = 1.5625 x 2^11"},
    {205, {0x00, 0x7A, 0x8A}, "1120 °C: code 4000 = 1.953125 x 2^11"},
};

TEST(GoldenImage, TypeK0To1120_CellsMatchTheStandardsEmfEncodedByHand) {
    PlanRequest form = vantrel::test::Form(1, 0, 1120, 0);
    WorkingState working;
    working.identity = {3, 9, 5, 1};
    ProgramDeviceData device;
    vantrel::math::ConverterCalibration calibration;
    calibration.OutCalPoint1 = 4;
    calibration.OutCalCode1 = 800;
    calibration.OutCalPoint2 = 20;
    calibration.OutCalCode2 = 4000;
    device.Converter = calibration;
    const ProgramPlan plan = MakeProgramPlan(form, working, device, [] { return true; });
    ASSERT_EQ(plan.status, PlanStatus::Done);

    std::map<int, int> image;
    for (const WriteEntry& w : plan.sent) image[w.address] = w.value;
    for (const GoldenCells& g : kImage)
        for (std::size_t k = 0; k < g.bytes.size(); ++k) {
            const int address = g.address + static_cast<int>(k);
            ASSERT_TRUE(image.count(address)) << "cell " << address << " not written: " << g.derivation;
            EXPECT_EQ(image[address], g.bytes[k]) << "cell " << address << ": " << g.derivation;
        }

    // 1000 °C (even breakpoint 26, cell 16 + 3 x 12 = 52) against the published IPTS-68 table
    // value 41.269 mV: one step of the format there is about 1 µV.
    const double volts = Float24Decode(static_cast<std::uint8_t>(image[52]), static_cast<std::uint8_t>(image[53]),
                                       static_cast<std::uint8_t>(image[54]));
    const double v0 = 372 * 1.1 / 4096 - 0.1;
    const double vs = 1516.313 * 1.1 / 4096 - 0.1;
    EXPECT_NEAR((volts - v0) * 20 / (vs - v0), 41.269, 0.0015);
}

}  // namespace
