// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "device/MemoryMap.h"

using namespace vantrel::device;

namespace {
Float24Bytes Bytes(int b0, int b1, int b2) {
    return {static_cast<std::uint8_t>(b0), static_cast<std::uint8_t>(b1), static_cast<std::uint8_t>(b2)};
}
}  // namespace

// Worked examples; the mantissa is truncated, never rounded up; 0 is written as 1e-8 (never
// three zero bytes), and values beyond the format are held at its ends, never wrapped.
TEST(Float24, Encode_WorkedExamplesZeroAndTheEnds) {
    const std::pair<double, Float24Bytes> cases[] = {
        {1.0, Bytes(0x00, 0x00, 0x7F)}, {-1.5, Bytes(0x00, 0xC0, 0x7F)}, {2.0, Bytes(0x00, 0x00, 0x80)},
        {3.0, Bytes(0x00, 0x40, 0x80)}, {std::nextafter(2.0, 0.0), Bytes(0xFF, 0x7F, 0x7F)},
        {0.0, Float24Encode(1e-8)},
        // 2^200 would wrap the exponent byte to 71 (a tiny number); it stays the largest entry.
        {std::ldexp(1.0, 200), Bytes(0xFF, 0x7F, 0xFF)}, {-std::ldexp(1.0, -200), Bytes(0x00, 0x80, 0x00)},
    };
    for (const auto& [value, bytes] : cases) EXPECT_EQ(Float24Encode(value), bytes) << value;
    for (double v : {0.0, HUGE_VAL, std::nan("")}) EXPECT_EQ(Float24Encode(v)[2], 100) << v;
    EXPECT_NEAR(Float24Decode(Float24Encode(0)[0], Float24Encode(0)[1], Float24Encode(0)[2]), 1e-8, 1e-12);
    for (double v : {std::ldexp(1.0, 128), std::ldexp(1.0, -127), 0.0}) EXPECT_TRUE(FitsFloat24(v)) << v;
    for (double v : {std::ldexp(1.0, 129), std::ldexp(1.0, -128), std::nan(""), -HUGE_VAL})
        EXPECT_FALSE(FitsFloat24(v)) << v;
}

TEST(Float24, Decode_InvertsTheEncodingToFifteenBits) {
    for (double x : {1.0, -1.5, 0.0123, 1234.5678, -0.7, 4095.9, -3300.0, 1e-5}) {
        const auto b = Float24Encode(x);
        const double back = Float24Decode(b[0], b[1], b[2]);
        EXPECT_NEAR(back, x, std::fabs(x) * std::ldexp(1.0, -14)) << x;
        EXPECT_LE(std::fabs(back), std::fabs(x)) << "truncation moves toward zero";
    }
}

TEST(Float24, ReadingSideDecode_TreatsTheSignBitAsTwosComplementWord) {
    EXPECT_DOUBLE_EQ(Float24DecodeAsRead(0x00, 0x40, 0x80), 3.0);
    // -1.5 is written as W = 0xC000; the reading side gives -(1 + 0x4000/32768) = -1.5 too,
    // but -1.25 (W = 0xA000) reads as -(1 + 0x6000/32768) = -1.75.
    EXPECT_DOUBLE_EQ(Float24DecodeAsRead(0x00, 0xC0, 0x7F), -1.5);
    EXPECT_DOUBLE_EQ(Float24DecodeAsRead(0x00, 0xA0, 0x7F), -1.75);
    EXPECT_DOUBLE_EQ(Float24DecodeWord(0, 255), std::ldexp(1.0, 127));
    // Range cells as read: 4096 in cell 15 alone, the sign in bit 5.
    EXPECT_EQ(std::pair(DecodeRange(0x08, 0, 0, 0).top, DecodeRange(0x08, 0, 0, 0).bottom), std::pair(4096.0, 0.0));
    EXPECT_DOUBLE_EQ(DecodeRange(0x28, 0, 0, 0).top, -4096);
}

TEST(RangeCode, Encode_WorkedExamplesAndRoundTrip) {
    // 100..0: the larger end fixes the exponent (k = 7), 0 shares it with magnitude 0.
    EXPECT_EQ(*RangeEncode(100, 0), (RangeCells{25 + 64, 0, 128 + 64, 0}));
    // -50..20: the negative end is the larger, sign in bit 5 of its high byte; k = 8.
    EXPECT_EQ(*RangeEncode(-50, 20), (RangeCells{25 + 32 + 128, 0, 10, 0}));
    for (auto [max, min] : {std::pair{100.0, 0.0}, {-50.0, 20.0}, {1000.0, 0.0}, {1370.0, -200.0}, {0.5, 0.0},
                            {10000.0, -10000.0}, {1.0, 0.2}}) {
        const RangeCells c = *RangeEncode(max, min);
        const DecodedRange d = DecodeRange(c.cell15, c.cell14, c.cell9, c.cell8);
        EXPECT_NEAR(d.top, max, std::fabs(max) / 4096) << max;
        EXPECT_NEAR(d.bottom, min, std::fabs(max) / 4096) << min;
    }
}

TEST(RangeCode, EndsTheSharedExponentCannotHold_AreRefusedNotWrapped) {
    // 16384 would turn the exponent positive and read back as 0.305 (a wrapped 4-bit field).
    EXPECT_TRUE(RangeEncode(16383.5, 0));
    for (auto [max, min] : {std::pair{20000.0, 0.0}, {16384.0, 0.0}, {0.0, -16384.0}, {1e12, -1e12},
                            {std::nan(""), 0.0}, {HUGE_VAL, 0.0}})
        EXPECT_FALSE(RangeEncode(max, min)) << max << " " << min;
}

TEST(TableLayout, WorkedExamples) {
    EXPECT_EQ(TableLayout(28, 5), (TableStarts{58, 76, 121, 208}));
    EXPECT_EQ(TableLayout(26, 5), (TableStarts{55, 73, 115, 196}));
    EXPECT_EQ(TableLayout(2, 2), (TableStarts{19, 28, 34, 43}));
    // Last table byte: T4 + 3M + 2.
    EXPECT_EQ(TableLayout(28, 5)->T4 + 17, 225);
    EXPECT_LT(TableLayout(26, 5)->T4 + 17, cell::ZeroTrim);
    // Counts the memory cannot hold give no layout instead of addresses past cell 255.
    for (auto [n, m] : {std::pair{0, 5}, {-2, 5}, {30, 5}, {1 << 30, 5}, {28, -1}, {28, 7}})
        EXPECT_FALSE(TableLayout(n, m)) << n << " " << m;
}

TEST(FactoryCalibration, Decode_WordsOverSixteenOrTenAndTheTemperatureByte) {
    std::array<std::uint8_t, 15> c{};
    // Little-endian words from cell 233; cell 245 holds the temperature in tenths of a degree.
    const std::pair<int, unsigned> words[] = {{233, 16 * 3000}, {235, 12345},    {237, 5000}, {239, 16 * 400},
                                              {241, 16 * 3600}, {243, 16 * 2000}, {246, 47153}};
    for (const auto& [address, w] : words) {
        c[static_cast<std::size_t>(address - 233)] = static_cast<std::uint8_t>(w & 0xFF);
        c[static_cast<std::size_t>(address - 232)] = static_cast<std::uint8_t>(w >> 8);
    }
    c[12] = 158;
    const FactoryCalibration f = DecodeFactoryCalibration(c);
    EXPECT_EQ((std::vector<double>{f.CalRtdHigh, f.CalAux2, f.CalAux1, f.CalZeroCounts, f.CalSpanCounts, f.CalRtdLow,
                                   f.CalTemperature, f.CalCjcCounts}),
              (std::vector<double>{3000, 1234.5, 500, 400, 3600, 2000, 25.8, 47153 / 16.0}));
}
