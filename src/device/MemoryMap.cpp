// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/MemoryMap.h"

#include <cmath>

#include "resources/NumberFormat.h"

namespace vantrel::device {

namespace {

// Exponents the format's byte holds (exponent + 127 in 0..255).
constexpr int kFloat24MinExponent = -127;
constexpr int kFloat24MaxExponent = 128;
// Range ends share a 4-bit exponent; at 16384 and above it would turn positive and wrap.
constexpr double kRangeCellsLimit = 16384;
constexpr int kMaxTableSegments = 28;
constexpr int kMaxCjcTableSegments = 6;

}  // namespace

using resources::IntFloor;
using resources::RoundHalfEven;

Float24Bytes Float24Encode(double value) {
    // A value that is not a number has nothing to encode; infinity would never leave the
    // scaling loop. Both read as the smallest entry rather than hang or wrap.
    double x = (value == 0.0 || !std::isfinite(value)) ? 1e-8 : value;
    unsigned sign = 0;
    if (x < 0) {
        sign = 1;
        x = -x;
    }
    int exponent = 0;
    while (x >= 2) {
        x /= 2;
        ++exponent;
    }
    while (x < 1) {
        x *= 2;
        --exponent;
    }
    if (exponent > kFloat24MaxExponent) {
        exponent = kFloat24MaxExponent;
        x = 2 - 1.0 / 32768;  // the largest mantissa
    } else if (exponent < kFloat24MinExponent) {
        exponent = kFloat24MinExponent;
        x = 1;
    }
    const auto mantissa = static_cast<unsigned>(IntFloor((x - 1) * 65536 / 2));
    const unsigned word = sign * 32768 + mantissa;
    const unsigned high = word / 256;
    return {static_cast<std::uint8_t>(word - 256 * high), static_cast<std::uint8_t>(high),
            static_cast<std::uint8_t>((exponent + 127) & 0xFF)};
}

bool FitsFloat24(double value) {
    if (!std::isfinite(value)) return false;
    if (value == 0.0) return true;
    int exponent = 0;
    std::frexp(value, &exponent);  // |value| = f x 2^exponent, f in [0.5, 1)
    return exponent - 1 >= kFloat24MinExponent && exponent - 1 <= kFloat24MaxExponent;
}

double Float24Decode(std::uint8_t byte0, std::uint8_t byte1, std::uint8_t byte2) {
    const unsigned word = Word(byte0, byte1);
    const double magnitude = (1.0 + (word & 0x7FFF) / 32768.0) * std::ldexp(1.0, byte2 - 127);
    return (word & 0x8000) ? -magnitude : magnitude;
}

double Float24DecodeWord(unsigned word, std::uint8_t exponentByte) {
    int exponent = exponentByte - 127;
    if (exponent > 127) exponent = 127;
    const double scale = std::ldexp(1.0, exponent);
    if (word < 32768) return (1.0 + word / 32768.0) * scale;
    return -(1.0 + (65536.0 - word) / 32768.0) * scale;
}

namespace {

struct RangeEnd {
    unsigned high = 0;
    unsigned low = 0;
};

RangeEnd EncodeRangeEnd(double half, int exponent) {
    const auto magnitude = static_cast<unsigned>(IntFloor(std::fabs(half) / std::ldexp(1.0, exponent)));
    RangeEnd end;
    end.high = magnitude / 256;
    end.low = magnitude - 256 * end.high;
    if (half < 0) end.high += 32;
    return end;
}

}  // namespace

std::optional<RangeCells> RangeEncode(double rangeMax, double rangeMin) {
    const auto fits = [](double v) { return std::isfinite(v) && std::fabs(v) < kRangeCellsLimit; };
    if (!fits(rangeMax) || !fits(rangeMin)) return std::nullopt;
    const double a = rangeMax / 2;
    const double b = rangeMin / 2;
    const double larger = std::fabs(a) >= std::fabs(b) ? a : b;
    double v = std::fabs(larger) * 32768.0;
    int exponent = -15;
    while (v >= 8192.0) {
        v /= 2;
        ++exponent;
    }
    RangeEnd maxEnd = EncodeRangeEnd(a, exponent);
    RangeEnd minEnd = EncodeRangeEnd(b, exponent);
    const unsigned k = static_cast<unsigned>(-exponent) & 15u;
    if (k & 8u) maxEnd.high += 128;
    if (k & 4u) maxEnd.high += 64;
    if (k & 2u) minEnd.high += 128;
    if (k & 1u) minEnd.high += 64;
    return RangeCells{static_cast<std::uint8_t>(maxEnd.high), static_cast<std::uint8_t>(maxEnd.low),
                      static_cast<std::uint8_t>(minEnd.high), static_cast<std::uint8_t>(minEnd.low)};
}

namespace {

double DecodeRangeEnd(std::uint8_t high, std::uint8_t low, int k) {
    unsigned h = high & 63u;
    double sign = 1;
    if (h >= 32) {
        sign = -1;
        h -= 32;
    }
    return 2 * sign * (h * 256.0 + low) * std::ldexp(1.0, -k);
}

int Bit(std::uint8_t value, int bit) { return (value >> bit) & 1; }

}  // namespace

DecodedRange DecodeRange(std::uint8_t cell15, std::uint8_t cell14, std::uint8_t cell9, std::uint8_t cell8) {
    const int k = 8 * Bit(cell15, 7) + 4 * Bit(cell15, 6) + 2 * Bit(cell9, 7) + Bit(cell9, 6);
    return {DecodeRangeEnd(cell15, cell14, k), DecodeRangeEnd(cell9, cell8, k)};
}

std::optional<TableStarts> TableLayout(int segmentCount, int cjcSegmentCount) {
    if (segmentCount < 1 || segmentCount > kMaxTableSegments || cjcSegmentCount < 0 ||
        cjcSegmentCount > kMaxCjcTableSegments)
        return std::nullopt;
    // Each start is held as a byte, so a half (odd N) rounds to even before the next one.
    const auto t1 = static_cast<int>(RoundHalfEven(16 + 1.5 * segmentCount));
    const int t2 = t1 + 3 * (cjcSegmentCount + 1);
    const int t3 = t2 + (t1 - 16) + 3;
    const int t4 = t3 + 3 * segmentCount + 3;
    return TableStarts{t1, t2, t3, t4};
}

FactoryCalibration DecodeFactoryCalibration(std::span<const std::uint8_t, cell::FactoryCalibrationSize> c) {
    // c[i] is the cell at 233 + i.
    const auto w = [&](std::size_t address) { return static_cast<double>(Word(c[address - 233], c[address - 232])); };
    FactoryCalibration f;
    f.CalRtdHigh = w(233) / 16;
    f.CalAux2 = w(235) / 10;
    f.CalAux1 = w(237) / 10;
    f.CalZeroCounts = w(239) / 16;
    f.CalSpanCounts = w(241) / 16;
    f.CalRtdLow = w(243) / 16;
    f.CalTemperature = (c[245 - 233] + 100) / 10.0;
    f.CalCjcCounts = w(246) / 16;
    return f;
}

}  // namespace vantrel::device
