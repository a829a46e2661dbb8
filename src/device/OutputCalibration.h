// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// What the reading side makes of the output calibration cells and of the output table: the
// output converter's line (code against mA or V), the output range a read configuration was
// programmed for, and the trip levels behind the trip words.
namespace vantrel::device {

// The six values of the output calibration, in the order the transmitter's cells give them.
struct OutputCalibration {
    float CalCodeLow = 0;    // converter code that produces CalValueLow
    float CalCodeHigh = 0;   // converter code that produces CalValueHigh
    float CalValueHigh = 0;  // mA or V at the high calibration point
    float CalValueLow = 0;   // mA or V at the low calibration point
    float CalWord250 = 0;    // w(250) / 16, the input converter's span counts
    float CalWord254 = 0;    // w(254) / 16, the input converter's zero counts
};

// Where families 3 and 4 keep an output's calibration: three cells A, B, C (B holds the high
// nibbles of two 12-bit values, A and C their low bytes), two offsets and the two converter
// codes the values belong to.
struct CalibrationRow {
    int family = 0;
    int outputType = 0;
    int cellA = 0;
    int cellB = 0;
    int cellC = 0;
    int lowOffset = 0;
    int highOffset = 0;
    int codeLow = 0;   // K1
    int codeHigh = 0;  // K2
};

// The row of an output type on a family that keeps its calibration in rows; empty for other
// combinations (family 4 output type 0 has none: its calibration values stay 0).
std::optional<CalibrationRow> FindCalibrationRow(int family, int outputType);

// Families 3 and 4: the values from the bytes of cells A, B and C.
void DecodeRowCalibration(const CalibrationRow& row, int byteA, int byteB, int byteC, OutputCalibration& c);

// Output values (mA or V) at the first output-table entry and at the entry of the range
// maximum, from the converter codes stored there.
struct OutputEnds {
    double low = 0;   // "output low": at the first entry (trimmed)
    double high = 0;  // "output high": at the range maximum (trimmed)
};
OutputEnds OutputEndsFromCodes(const OutputCalibration& c, double firstCode, double lastCode);

// The output range as the user entered it, the trims removed: the exact inverse of how the
// programming applies them (zero and span adjustments in percent).
struct OutputRange {
    double first = 0;   // at the input range's top end
    double second = 0;  // at the input range's bottom end
};
OutputRange RemoveTrims(const OutputEnds& ends, double zeroAdjust, double spanAdjust, bool reverseOutput);

// A trip word (output converter units) back to the input level it stands for.
double TripLevelFromWord(double word, double firstCode, double lastCode, double rangeTop, double rangeBottom);

}  // namespace vantrel::device
