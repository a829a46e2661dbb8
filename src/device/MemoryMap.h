// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// The transmitter's 256-cell programming memory: what each cell holds and the two number
// formats of its tables. Shared by the application and the simulated transmitter, so both
// read and write the same cells the same way.
namespace vantrel::device {

inline constexpr int kMemorySize = 256;

namespace cell {
inline constexpr int CustomerId = 0;
inline constexpr int CjcSensorStart = 1;      // T1
inline constexpr int OddBreakpointsStart = 2; // T2
inline constexpr int OutputTableStart = 3;    // T3
inline constexpr int CjcEmfStart = 4;         // T4
inline constexpr int InputConfig = 5;
inline constexpr int GainCode = 6;
inline constexpr int OutputConfig = 7;
inline constexpr int RangeMinLow = 8;
inline constexpr int RangeMinHigh = 9;
inline constexpr int InputCode = 10;
inline constexpr int OptionFlags = 11;
inline constexpr int TripFlags = 12;
inline constexpr int SerialYearOrder = 13;
inline constexpr int RangeMaxLow = 14;
inline constexpr int RangeMaxHigh = 15;
inline constexpr int TablesStart = 16;        // T0: EvenBreakpoints
inline constexpr int ZeroTrim = 217;
inline constexpr int SpanTrim = 218;
inline constexpr int Trip2HighCode = 219;
inline constexpr int Trip2LowCode = 221;
inline constexpr int Trip1HighCode = 223;
inline constexpr int Trip1LowCode = 225;
inline constexpr int TripDelay = 227;
inline constexpr int SerialProgressive = 226;  // 226, 227 on models without trips
inline constexpr int FactoryCalibration = 233; // 15 cells, 233..247
inline constexpr int FactoryCalibrationSize = 15;
inline constexpr int CalWord250 = 250;
inline constexpr int CalWord254 = 254;
}  // namespace cell

// Trims are stored as slider position + 127.
inline constexpr int kTrimBias = 127;

// OptionFlags (cell 11) bits.
namespace option {
inline constexpr int InternalCjc = 1;       // bit 0
inline constexpr int WiringMask = 3;        // bits 1..0 for RTD and resistance
inline constexpr int LinearTc = 2;          // bit 1, thermocouple
inline constexpr int LinearRtd = 4;         // bit 2, RTD
inline constexpr int Fahrenheit = 8;        // bit 3
inline constexpr int ExtraEndPoint = 16;    // bit 4
inline constexpr int Custom = 32;           // bit 5
inline constexpr int ReverseOutput = 64;    // bit 6
inline constexpr int BurnoutUpward = 128;   // bit 7
}  // namespace option

// Three bytes in ascending address order.
using Float24Bytes = std::array<std::uint8_t, 3>;

// Encodes a table entry: mantissa truncated to 15 bits, sign in bit 7 of the middle byte,
// exponent + 127 in the last byte. Zero is never encoded: it becomes 1e-8. A magnitude the
// exponent byte cannot hold is held at the nearest end of the format rather than wrapped
// (FitsFloat24 tells beforehand).
Float24Bytes Float24Encode(double value);
// True when the value is finite and its exponent fits the format's byte (2^-127 .. below
// 2^129 in magnitude; zero is stored as 1e-8 and fits).
bool FitsFloat24(double value);
// Exact inverse of the encoding.
double Float24Decode(std::uint8_t byte0, std::uint8_t byte1, std::uint8_t byte2);
// The decoding the transmitter reads are taken through: W = the 16-bit word, exponent
// byte - 127 limited to 127; a word with the sign bit set reads as
// -(1 + (65536 - W) / 32768) x 2^E (not the inverse of the encoding for negative values).
double Float24DecodeWord(unsigned word, std::uint8_t exponentByte);
inline double Float24DecodeAsRead(std::uint8_t byte0, std::uint8_t byte1, std::uint8_t byte2) {
    return Float24DecodeWord(byte0 + 256u * byte1, byte2);
}

// The two ends of the input range in the shared-exponent format of cells 15/14 and 9/8.
struct RangeCells {
    std::uint8_t cell15 = 0;  // RangeMax high
    std::uint8_t cell14 = 0;  // RangeMax low
    std::uint8_t cell9 = 0;   // RangeMin high
    std::uint8_t cell8 = 0;   // RangeMin low
    friend bool operator==(const RangeCells&, const RangeCells&) = default;
};
// Empty when an end is not finite or too large for the shared exponent: both ends must lie
// below 16384 in magnitude (the 4-bit exponent would wrap beyond it).
std::optional<RangeCells> RangeEncode(double rangeMax, double rangeMin);

struct DecodedRange {
    double top = 0;
    double bottom = 0;
};
DecodedRange DecodeRange(std::uint8_t cell15, std::uint8_t cell14, std::uint8_t cell9, std::uint8_t cell8);

// Start addresses of the tables for N sensor segments and M cold-junction segments.
// Counts outside 1..28 and 0..6 give no layout: the tables would not fit the memory.
struct TableStarts {
    int T1 = 0;
    int T2 = 0;
    int T3 = 0;
    int T4 = 0;
    friend bool operator==(const TableStarts&, const TableStarts&) = default;
};
std::optional<TableStarts> TableLayout(int segmentCount, int cjcSegmentCount);

// The factory calibration block, cells 233..247.
struct FactoryCalibration {
    double CalRtdHigh = 0;
    double CalAux2 = 0;
    double CalAux1 = 0;
    double CalZeroCounts = 0;
    double CalSpanCounts = 0;
    double CalRtdLow = 0;
    double CalTemperature = 25.8;
    double CalCjcCounts = 2947.063;
};
// Decodes the 15 cells read from address 233.
FactoryCalibration DecodeFactoryCalibration(std::span<const std::uint8_t, cell::FactoryCalibrationSize> cells);

// A 16-bit word, low byte at the lower address.
inline unsigned Word(std::uint8_t low, std::uint8_t high) { return low + 256u * high; }

}  // namespace vantrel::device
