// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/OutputCalibration.h"

#include <array>

namespace vantrel::device {

namespace {

constexpr std::array<CalibrationRow, 5> kRows = {{
    {3, 1, 253, 252, 249, 0, 16000, 3412, 1044},
    {3, 2, 230, 229, 228, -7000, 3000, 2848, 1280},
    {3, 0, 248, 232, 231, -12000, 8000, 2800, 1316},
    {4, 2, 253, 252, 249, 0, 16000, 808, 3392},
    {4, 1, 230, 229, 228, 0, 6000, 3148, 944},
}};

}  // namespace

std::optional<CalibrationRow> FindCalibrationRow(int family, int outputType) {
    for (const CalibrationRow& row : kRows)
        if (row.family == family && row.outputType == outputType) return row;
    return std::nullopt;
}

void DecodeRowCalibration(const CalibrationRow& row, int byteA, int byteB, int byteC, OutputCalibration& c) {
    c.CalValueLow = static_cast<float>((byteA + 16 * (byteB & 240) + row.lowOffset) / 1000.0);
    c.CalValueHigh = static_cast<float>((byteC + 256 * (byteB & 15) + row.highOffset) / 1000.0);
    c.CalCodeLow = static_cast<float>(row.codeLow);
    c.CalCodeHigh = static_cast<float>(row.codeHigh);
}

OutputEnds OutputEndsFromCodes(const OutputCalibration& c, double firstCode, double lastCode) {
    const double codeLow = static_cast<double>(c.CalCodeLow);
    const double codeHigh = static_cast<double>(c.CalCodeHigh);
    const double valueLow = static_cast<double>(c.CalValueLow);
    const double valueHigh = static_cast<double>(c.CalValueHigh);
    const double codesPerUnit = (codeHigh - codeLow) / (valueHigh - valueLow);
    return {valueLow + (firstCode - codeLow) / codesPerUnit, valueHigh + (lastCode - codeHigh) / codesPerUnit};
}

OutputRange RemoveTrims(const OutputEnds& ends, double zeroAdjust, double spanAdjust, bool reverseOutput) {
    const double a = ends.low;
    const double b = ends.high;
    const double z = zeroAdjust;
    const double s = spanAdjust;
    if (!reverseOutput) {
        const double span = 100 * (b - a) / (100 - s + z);
        return {b + span * s / 100, a + span * z / 100};
    }
    const double span = 100 * (a - b) / (100 - s + z);
    return {b + span * z / 100, a + span * s / 100};
}

double TripLevelFromWord(double word, double firstCode, double lastCode, double rangeTop, double rangeBottom) {
    return (word - firstCode) / (lastCode - firstCode) * (rangeTop - rangeBottom) + rangeBottom;
}

}  // namespace vantrel::device
