// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ProgramFile.h"

#include <bit>
#include <cmath>
#include <string_view>

namespace vantrel::files {

using device::ConfigRecord;
using device::Point;

namespace {

// Little-endian writer and reader over the record bytes, in stored field order.
class RecordWriter {
public:
    explicit RecordWriter(RecordBytes& bytes) : m_bytes(bytes) {}
    void Int16(std::int16_t value) { Put(static_cast<std::uint16_t>(value), 2); }
    void Single(float value) { Put(std::bit_cast<std::uint32_t>(value), 4); }
    void Double(double value) { Put(std::bit_cast<std::uint64_t>(value), 8); }
    void Byte(std::uint8_t value) { Put(value, 1); }
    std::size_t position() const { return m_pos; }

private:
    void Put(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i) m_bytes[m_pos++] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    RecordBytes& m_bytes;
    std::size_t m_pos = 0;
};

class RecordReader {
public:
    explicit RecordReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::int16_t Int16() { return static_cast<std::int16_t>(Get(2)); }
    float Single() { return std::bit_cast<float>(static_cast<std::uint32_t>(Get(4))); }
    double Double() { return std::bit_cast<double>(Get(8)); }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Get(1)); }
    std::size_t position() const { return m_pos; }

private:
    std::uint64_t Get(int size) {
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i) value |= static_cast<std::uint64_t>(m_bytes[m_pos++]) << (8 * i);
        return value;
    }
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

// One description of the field order serves both directions.
template <typename Io, typename Record>
void TransferFields(Io& io, Record& r) {
    io(r.InputType); io(r.TcType); io(r.RtdSensor); io(r.Wires); io(r.PotRange);
    io(r.Spare1); io(r.Spare2); io(r.InRangeMax); io(r.InRangeMin); io(r.CjcInternal);
    io(r.Spare3); io(r.LinearOn); io(r.LangOffset); io(r.UnitCelsius); io(r.ZeroAdjust);
    io(r.SpanAdjust); io(r.CustomOn); io(r.PointCount); io(r.PointCountCjc);
    for (auto& p : r.Points) { io(p.physical); io(p.input); }
    for (auto& p : r.PointsCjc) { io(p.physical); io(p.input); }
    io(r.BurnoutDown); io(r.OutputDirect); io(r.OutRangeMax); io(r.OutRangeMin);
    io(r.OutputType); io(r.FilterOn); io(r.Trip1High); io(r.Trip1Low); io(r.Trip2High);
    io(r.Trip2Low); io(r.TripDelay); io(r.TripMode);
}

struct Encoder {
    RecordWriter& w;
    void operator()(std::int16_t v) { w.Int16(v); }
    void operator()(float v) { w.Single(v); }
    void operator()(double v) { w.Double(v); }
    void operator()(std::uint8_t v) { w.Byte(v); }
};

struct Decoder {
    RecordReader& r;
    void operator()(std::int16_t& v) { v = r.Int16(); }
    void operator()(float& v) { v = r.Single(); }
    void operator()(double& v) { v = r.Double(); }
    void operator()(std::uint8_t& v) { v = r.Byte(); }
};

bool InRange(int value, int lowest, int highest) { return value >= lowest && value <= highest; }

// A list index of the form is its entry or -1 (a list left without a selection).
bool ListIndexValid(std::int16_t index, int entries) { return InRange(index, -1, entries - 1); }

bool AllFinite(std::initializer_list<float> values) {
    for (float v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

bool PointsFinite(const ConfigRecord& r) {
    // The counts are checked against the tables' sizes before this is called.
    for (std::size_t i = 0; i < static_cast<std::size_t>(r.PointCount); ++i)
        if (!std::isfinite(r.Points[i].physical) || !std::isfinite(r.Points[i].input)) return false;
    for (std::size_t i = 0; i < static_cast<std::size_t>(r.PointCountCjc); ++i)
        if (!std::isfinite(r.PointsCjc[i].physical) || !std::isfinite(r.PointsCjc[i].input)) return false;
    return true;
}

// What no configuration saved by the program can hold: loading it would put the form or the
// transmitter in a state the program cannot represent.
bool PlausibleRecord(const ConfigRecord& r) {
    return ListIndexValid(r.InputType, 6) && ListIndexValid(r.TcType, 8) &&
           ListIndexValid(r.RtdSensor, 4) && ListIndexValid(r.Wires, 3) &&
           ListIndexValid(r.PotRange, 3) && InRange(r.ZeroAdjust, -50, 50) &&
           InRange(r.SpanAdjust, -50, 50) && InRange(r.PointCount, 0, device::kRecordPoints) &&
           InRange(r.PointCountCjc, 0, device::kRecordPointsCjc) &&
           AllFinite({r.InRangeMax, r.InRangeMin, r.OutRangeMax, r.OutRangeMin, r.Trip1High,
                      r.Trip1Low, r.Trip2High, r.Trip2Low, r.TripDelay}) &&
           PointsFinite(r);
}

}  // namespace

RecordBytes EncodeRecord(const ConfigRecord& record) {
    RecordBytes bytes{};
    RecordWriter writer(bytes);
    Encoder encoder{writer};
    TransferFields(encoder, record);
    return bytes;
}

FileError DecodeRecord(std::span<const std::uint8_t> bytes, ConfigRecord& record) {
    if (bytes.size() < kRecordSize) return FileError::TooShort;
    ConfigRecord decoded;
    RecordReader reader(bytes.first(kRecordSize));
    Decoder decoder{reader};
    TransferFields(decoder, decoded);
    if (!PlausibleRecord(decoded)) return FileError::InvalidContent;
    record = decoded;
    return FileError::None;
}

ReadResult ReadProgramFile(const std::filesystem::path& path) {
    ReadResult result;
    const ReadBytes read = ReadRegularFile(path, kRecordSize, false);
    if (!read.ok()) {
        result.error = read.problem.error;
        result.systemError = read.problem.systemError;
        return result;
    }
    result.error = DecodeRecord(read.bytes, result.record);
    return result;
}

WriteResult WriteProgramFile(const std::filesystem::path& path, const ConfigRecord& record) {
    const RecordBytes bytes = EncodeRecord(record);
    return SafeWrite(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                     ExistingTail::Keep);
}

}  // namespace vantrel::files
