// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/exchange/ConfigurationReader.h"

#include <cmath>

#include "device/Families.h"
namespace vantrel::device {

namespace {

// A block, or empty when the user cancelled.
std::optional<link::ByteResult> Read(link::Protocol& protocol, int start, int count) {
    link::ByteResult result = protocol.ReadBlock(start, count);
    if (result.cancelled()) return std::nullopt;
    return result;
}

std::optional<std::uint8_t> ReadCell(link::Protocol& protocol, int address) {
    const auto block = Read(protocol, address, 1);
    if (!block) return std::nullopt;
    return (*block)[1];
}

bool EntryInsideMemory(int address) { return address >= 0 && address + 3 <= kMemorySize; }

// A table entry; code 0 without a read when the entry would lie outside the memory (the
// table pointers of a transmitter that holds no configuration), so that such a transmitter
// can still be read and programmed. Empty only when the read was cancelled.
std::optional<double> ReadTableCode(link::Protocol& protocol, int address) {
    if (!EntryInsideMemory(address)) return 0.0;
    const auto block = Read(protocol, address, 3);
    if (!block) return std::nullopt;
    return Float24DecodeAsRead((*block)[1], (*block)[2], (*block)[3]);
}

std::optional<double> ReadWordOver16(link::Protocol& protocol, int address) {
    const auto block = Read(protocol, address, 2);
    if (!block) return std::nullopt;
    return Word((*block)[1], (*block)[2]) / 16.0;
}

std::optional<double> ReadWordOver1000(link::Protocol& protocol, int address) {
    const auto block = Read(protocol, address, 2);
    if (!block) return std::nullopt;
    return Word((*block)[1], (*block)[2]) / 1000.0;
}

bool ReadRowCalibration(link::Protocol& protocol, const CalibrationRow& row, OutputCalibration& c) {
    const auto a = ReadCell(protocol, row.cellA);
    if (!a) return false;
    const auto b = ReadCell(protocol, row.cellB);
    if (!b) return false;
    const auto cc = ReadCell(protocol, row.cellC);
    if (!cc) return false;
    DecodeRowCalibration(row, *a, *b, *cc, c);
    return true;
}

// Trip words are held as 16-bit signed values.
int SignedWord(std::uint8_t low, std::uint8_t high) { return static_cast<std::int16_t>(Word(low, high)); }

}  // namespace

std::optional<SerialNumber> ReadSerialNumber(link::Protocol& protocol) {
    protocol.EnterStep(link::Step::ReadingSerialNumber);
    SerialCells cells;
    const auto customer = ReadCell(protocol, cell::CustomerId);
    if (!customer) return std::nullopt;
    cells.cell0 = *customer;
    const auto yearOrder = ReadCell(protocol, cell::SerialYearOrder);
    if (!yearOrder) return std::nullopt;
    cells.cell13 = *yearOrder;
    const auto progressive = Read(protocol, cell::SerialProgressive, 2);
    if (!progressive) return std::nullopt;
    cells.cell226 = (*progressive)[1];
    cells.cell227 = (*progressive)[2];
    return DecodeSerialNumber(cells);
}

std::optional<OutputCalibration> ReadOutputCalibration(link::Protocol& protocol, int deviceFamily, int outputType) {
    protocol.EnterStep(link::Step::ReadingOutputCalibration);
    OutputCalibration c;
    const auto word254 = ReadWordOver16(protocol, cell::CalWord254);
    if (!word254) return std::nullopt;
    c.CalWord254 = static_cast<float>(*word254);
    const auto word250 = ReadWordOver16(protocol, cell::CalWord250);
    if (!word250) return std::nullopt;
    c.CalWord250 = static_cast<float>(*word250);

    const FamilyTraits* traits = FindFamily({deviceFamily, 0, 0, 0});
    if (traits == nullptr) return c;  // no calibration known: the values stay 0
    if (traits->calibrationInRows) {
        // Family 4 with output type 0 has no calibration row: its values stay 0.
        if (const auto row = FindCalibrationRow(deviceFamily, outputType))
            if (!ReadRowCalibration(protocol, *row, c)) return std::nullopt;
    } else {
        const auto low = ReadWordOver1000(protocol, 252);
        if (!low) return std::nullopt;
        const auto high = ReadWordOver1000(protocol, 248);
        if (!high) return std::nullopt;
        c.CalValueLow = static_cast<float>(*low);
        c.CalValueHigh = static_cast<float>(*high);
        c.CalCodeLow = c.CalWord254;
        c.CalCodeHigh = c.CalWord250;
    }
    return c;
}

std::optional<OutputScale> ReadOutputScale(link::Protocol& protocol) {
    protocol.EnterStep(link::Step::ReadingOutputScale);
    const auto starts = Read(protocol, cell::OutputTableStart, 2);
    if (!starts) return std::nullopt;
    const int t3 = (*starts)[1];
    const int t4 = (*starts)[2];
    OutputScale scale;
    const auto first = ReadTableCode(protocol, t3);
    if (!first) return std::nullopt;
    scale.firstCode = *first;
    const auto flags = ReadCell(protocol, cell::OptionFlags);
    if (!flags) return std::nullopt;
    // The output table holds N + 1 entries ending at T4 - 1; with the extra end point the
    // entry of the range maximum is the one before the last.
    const int lastEntry = (*flags & option::ExtraEndPoint) ? t4 - 6 : t4 - 3;
    const auto last = ReadTableCode(protocol, lastEntry);
    if (!last) return std::nullopt;
    scale.lastCode = *last;
    const auto low = Read(protocol, cell::GainCode, 6);
    if (!low) return std::nullopt;
    const auto high = Read(protocol, cell::RangeMaxLow, 2);
    if (!high) return std::nullopt;
    // Block 6..11 holds cell 8 at index 3 and cell 9 at index 4; block 14..15 cells 14, 15.
    scale.range = DecodeRange((*high)[2], (*high)[1], (*low)[4], (*low)[3]);
    return scale;
}

namespace {

bool ReadTripsAndTrims(link::Protocol& protocol, ReadConfiguration& r) {
    protocol.EnterStep(link::Step::ReadingTripsAndTrims);
    const auto trips = Read(protocol, cell::Trip2HighCode, 9);  // cells 219..227
    if (!trips) return false;
    const auto at = [&](int address) { return (*trips)[static_cast<std::size_t>(address - cell::Trip2HighCode + 1)]; };
    r.tripWords = {SignedWord(at(223), at(224)), SignedWord(at(225), at(226)), SignedWord(at(219), at(220)),
                   SignedWord(at(221), at(222))};
    r.values.tripValues[5] = at(227);
    const auto trims = Read(protocol, cell::ZeroTrim, 2);
    if (!trims) return false;
    r.zeroSlider = (*trims)[1] - kTrimBias;
    r.spanSlider = (*trims)[2] - kTrimBias;
    r.values.zeroAdjust = r.zeroSlider / 10.0;
    r.values.spanAdjust = r.spanSlider / 10.0;
    return true;
}

void DecodeOutputRange(ReadConfiguration& r) {
    const OutputEnds ends = OutputEndsFromCodes(r.calibration, r.scale.firstCode, r.scale.lastCode);
    const bool reverse = (r.values.flags & option::ReverseOutput) != 0;
    const OutputRange range = RemoveTrims(ends, r.values.zeroAdjust, r.values.spanAdjust, reverse);
    // Without a defined result (no calibration for this output type) the range stays unset.
    const auto known = [](double value) -> std::optional<float> {
        const auto single = static_cast<float>(value);
        if (!std::isfinite(value) || !std::isfinite(single)) return std::nullopt;
        return single;
    };
    r.values.outputFirst = known(range.first);
    r.values.outputSecond = known(range.second);
}

void DecodeTripLevels(ReadConfiguration& r) {
    for (int i = 0; i < 4; ++i)
        r.values.tripValues[static_cast<std::size_t>(i + 1)] = TripLevelFromWord(
            r.tripWords[static_cast<std::size_t>(i)], r.scale.firstCode, r.scale.lastCode, r.values.rangeTop,
            r.values.rangeBottom);
}

}  // namespace

std::optional<ReadConfiguration> ReadConfigurationFromDevice(link::Protocol& protocol, const Identity& identity) {
    ReadConfiguration r;
    const auto serial = ReadSerialNumber(protocol);
    if (!serial) return std::nullopt;
    r.serial = *serial;
    protocol.EnterStep(link::Step::ReadingSettings);
    // Read as the transmitter expects; the bytes are not used, but a Cancel still ends the read.
    if (!Read(protocol, cell::CjcSensorStart, 2)) return std::nullopt;

    const auto cells = Read(protocol, cell::GainCode, 10);  // cells 6..15
    if (!cells) return std::nullopt;
    const auto at = [&](int address) { return (*cells)[static_cast<std::size_t>(address - cell::GainCode + 1)]; };
    r.values.outputFlags = at(cell::GainCode);
    r.outputConfig = at(cell::OutputConfig);
    r.values.outputType = r.outputConfig & 3;
    r.values.inputCode = at(cell::InputCode);
    r.values.flags = at(cell::OptionFlags);
    r.values.tripFlags = at(cell::TripFlags);

    const bool hasTrips = identity.DeviceModel == kModelWithTrips;
    if (hasTrips && !ReadTripsAndTrims(protocol, r)) return std::nullopt;

    const DecodedRange range = DecodeRange(at(cell::RangeMaxHigh), at(cell::RangeMaxLow), at(cell::RangeMinHigh),
                                           at(cell::RangeMinLow));
    r.values.rangeTop = range.top;
    r.values.rangeBottom = range.bottom;

    const auto calibration = ReadOutputCalibration(protocol, identity.DeviceFamily, r.values.outputType);
    if (!calibration) return std::nullopt;  // no second Retry/Cancel box after a Cancel
    const auto scale = ReadOutputScale(protocol);
    if (!scale) return std::nullopt;
    r.calibration = *calibration;
    r.scale = *scale;
    DecodeOutputRange(r);
    if (hasTrips) DecodeTripLevels(r);
    return r;
}

// The pauses of each read step, block by block as the routines above read them.
namespace {

using link::pauses::Block;

double SerialNumberPauses() { return Block(1) + Block(1) + Block(2); }
double SettingsPauses() { return Block(2) + Block(10); }
double TripsAndTrimsPauses() { return Block(9) + Block(2); }

}  // namespace

double OutputCalibrationPauses(int deviceFamily) {
    const FamilyTraits* traits = FindFamily({deviceFamily, 0, 0, 0});
    const double words = Block(2) + Block(2);
    if (traits == nullptr) return words;
    return words + (traits->calibrationInRows ? 3 * Block(1) : 2 * Block(2));
}

double OutputScalePauses() { return Block(2) + Block(3) + Block(1) + Block(3) + Block(6) + Block(2); }

double CustomCurvePauses() {
    return Block(cell::RangeMaxHigh) + Block(cell::FactoryCalibration - cell::TablesStart) +
           Block(cell::FactoryCalibrationSize);
}

link::StepPlan ReadPlan(const Identity& identity) {
    link::StepPlan plan{{link::Step::ReadingSerialNumber, SerialNumberPauses()},
                        {link::Step::ReadingSettings, SettingsPauses()}};
    if (identity.DeviceModel == kModelWithTrips) plan.push_back({link::Step::ReadingTripsAndTrims, TripsAndTrimsPauses()});
    plan.push_back({link::Step::ReadingOutputCalibration, OutputCalibrationPauses(identity.DeviceFamily)});
    // The closing "$FPxx" is the last pause of the read.
    plan.push_back({link::Step::ReadingOutputScale, OutputScalePauses() + link::pauses::Closing()});
    return plan;
}

}  // namespace vantrel::device
