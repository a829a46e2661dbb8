// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "Fifo.h"
#include "TempFolder.h"
#include "files/ProgramFile.h"

using namespace vantrel;
using files::FileError;

namespace {

// Writes values at the documented byte offsets, independently of the program's encoder.
struct ByteImage {
    std::vector<unsigned char> bytes = std::vector<unsigned char>(671, 0);
    void I16(std::size_t offset, int value) {
        const auto v = static_cast<std::uint16_t>(value);
        bytes[offset] = static_cast<unsigned char>(v & 0xFF);
        bytes[offset + 1] = static_cast<unsigned char>(v >> 8);
    }
    void F32(std::size_t offset, float value) {
        const auto v = std::bit_cast<std::uint32_t>(value);
        for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = (v >> (8 * i)) & 0xFF;
    }
    void F64(std::size_t offset, double value) {
        const auto v = std::bit_cast<std::uint64_t>(value);
        for (std::size_t i = 0; i < 8; ++i) bytes[offset + i] = (v >> (8 * i)) & 0xFF;
    }
};

device::ConfigRecord EveryFieldSet() {
    device::ConfigRecord r;
    r.InputType = 1; r.TcType = 7; r.RtdSensor = 3; r.Wires = 2; r.PotRange = 2;
    r.InRangeMax = 123.456f; r.InRangeMin = -45.5f; r.CjcInternal = 1; r.LinearOn = 1;
    r.LangOffset = 300; r.UnitCelsius = -1; r.ZeroAdjust = -50; r.SpanAdjust = 50;
    r.CustomOn = -1; r.PointCount = 30; r.PointCountCjc = 7;
    for (int i = 0; i < 30; ++i) r.Points[static_cast<std::size_t>(i)] = {i * 1.1 - 3, i * 0.37 + 1e-9};
    for (int i = 0; i < 7; ++i) r.PointsCjc[static_cast<std::size_t>(i)] = {-20.0 + 15 * i, 0.04 * i};
    r.BurnoutDown = -1; r.OutputDirect = 0; r.OutRangeMax = 20; r.OutRangeMin = 4;
    r.OutputType = -1; r.FilterOn = -1; r.Trip1High = 150; r.Trip1Low = 140;
    r.Trip2High = 60.25f; r.Trip2Low = 50; r.TripDelay = 30; r.TripMode = 3;
    return r;
}

}  // namespace

TEST(ProgramFile, RoundTripsEveryFieldBitForBit) {
    TempFolder folder;
    const device::ConfigRecord written = EveryFieldSet();
    ASSERT_TRUE(files::WriteProgramFile(folder / "a.D70", written).ok());
    EXPECT_EQ(std::filesystem::file_size(folder / "a.D70"), 671u);
    const files::ReadResult read = files::ReadProgramFile(folder / "a.D70");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(std::memcmp(files::EncodeRecord(read.record).data(), files::EncodeRecord(written).data(), 671), 0);
    EXPECT_EQ(read.record, written);
}

TEST(ProgramFile, ReadsAFileWrittenByAnotherToolFieldByField) {
    ByteImage image;
    image.I16(0, 1); image.I16(2, 4); image.I16(4, 2); image.I16(6, 2); image.I16(8, 1);
    image.F32(14, 180); image.F32(18, -60); image.I16(22, 1); image.I16(26, 1); image.I16(28, 300);
    image.I16(30, 0); image.I16(32, -12); image.I16(34, 7); image.I16(36, -1); image.I16(38, 4);
    image.I16(40, 2); image.F64(42, 0.0); image.F64(50, 1.0); image.F64(42 + 3 * 16, 40.0);
    image.F64(42 + 3 * 16 + 8, 4.5); image.F64(522, -20); image.F64(530, -0.8);
    image.F64(522 + 16, 70); image.F64(530 + 16, 2.9); image.I16(634, -1); image.I16(636, 0);
    image.F32(638, 10); image.F32(642, 0); image.I16(646, -1); image.I16(648, -1);
    image.F32(650, 150); image.F32(654, 140); image.F32(658, 60); image.F32(662, 50);
    image.F32(666, 30); image.bytes[670] = 2;
    device::ConfigRecord r;
    ASSERT_EQ(files::DecodeRecord(image.bytes, r), FileError::None);
    EXPECT_EQ(r.InputType, 1); EXPECT_EQ(r.TcType, 4); EXPECT_EQ(r.RtdSensor, 2); EXPECT_EQ(r.Wires, 2);
    EXPECT_EQ(r.PotRange, 1); EXPECT_EQ(r.InRangeMax, 180); EXPECT_EQ(r.InRangeMin, -60);
    EXPECT_EQ(r.CjcInternal, 1); EXPECT_EQ(r.LinearOn, 1); EXPECT_EQ(r.LangOffset, 300);
    EXPECT_EQ(r.UnitCelsius, 0); EXPECT_EQ(r.ZeroAdjust, -12); EXPECT_EQ(r.SpanAdjust, 7);
    EXPECT_EQ(r.CustomOn, -1); EXPECT_EQ(r.PointCount, 4); EXPECT_EQ(r.PointCountCjc, 2);
    EXPECT_EQ(r.Points[0], (device::Point{0.0, 1.0})); EXPECT_EQ(r.Points[3], (device::Point{40.0, 4.5}));
    EXPECT_EQ(r.PointsCjc[0], (device::Point{-20, -0.8})); EXPECT_EQ(r.PointsCjc[1], (device::Point{70, 2.9}));
    EXPECT_EQ(r.BurnoutDown, -1); EXPECT_EQ(r.OutputDirect, 0); EXPECT_EQ(r.OutRangeMax, 10);
    EXPECT_EQ(r.OutRangeMin, 0); EXPECT_EQ(r.OutputType, -1); EXPECT_EQ(r.FilterOn, -1);
    EXPECT_EQ(r.Trip1High, 150); EXPECT_EQ(r.Trip1Low, 140); EXPECT_EQ(r.Trip2High, 60);
    EXPECT_EQ(r.Trip2Low, 50); EXPECT_EQ(r.TripDelay, 30); EXPECT_EQ(r.TripMode, 2);
    EXPECT_EQ(files::EncodeRecord(r), files::RecordBytes(
        [&] { files::RecordBytes b{}; std::copy(image.bytes.begin(), image.bytes.end(), b.begin()); return b; }()));
}

TEST(ProgramFile, DamagedFilesAreRefusedAndTheRecordKept) {
    const device::ConfigRecord before = EveryFieldSet();
    const auto refused = [&](std::vector<unsigned char> bytes) {
        device::ConfigRecord r = before;
        const FileError error = files::DecodeRecord(bytes, r);
        EXPECT_EQ(r, before);
        return error;
    };
    ByteImage valid;
    EXPECT_EQ(refused(std::vector<unsigned char>(670, 0)), FileError::TooShort);
    EXPECT_EQ(refused({}), FileError::TooShort);

    // Counts beyond the tables, values that are not numbers, a slider or list beyond its range.
    const std::function<void(ByteImage&)> damages[] = {
        [](ByteImage& i) { i.I16(38, 31); }, [](ByteImage& i) { i.I16(40, 8); }, [](ByteImage& i) { i.I16(38, -1); },
        [](ByteImage& i) { i.F32(14, std::numeric_limits<float>::quiet_NaN()); },
        [](ByteImage& i) { i.F32(642, -std::numeric_limits<float>::infinity()); },
        [](ByteImage& i) { i.I16(38, 2), i.F64(58, std::nan("")); }, [](ByteImage& i) { i.I16(32, 51); },
        [](ByteImage& i) { i.I16(0, 6); }};
    for (const auto& damage : damages) {
        ByteImage image = valid;
        damage(image);
        EXPECT_EQ(refused(image.bytes), FileError::InvalidContent);
    }
}

TEST(ProgramFile, AListLeftWithoutSelectionIsAccepted) {
    ByteImage image;
    image.I16(2, -1);
    device::ConfigRecord r;
    EXPECT_EQ(files::DecodeRecord(image.bytes, r), FileError::None);
    EXPECT_EQ(r.TcType, -1);
}

TEST(ProgramFile, AFileThatCannotBeReadIsRefusedWithItsReason) {
    TempFolder folder;
    folder.Write("short.D70", std::vector<unsigned char>(670, 0));
    std::filesystem::create_directory(folder / "folder.D70");
    FifoFeeder pipe(folder / "pipe.D70", std::string(671, '\0'));
    // Only the record is read from a huge (sparse) file.
    ASSERT_TRUE(files::WriteProgramFile(folder / "huge.D70", EveryFieldSet()).ok());
    std::filesystem::resize_file(folder / "huge.D70", std::uintmax_t{1} << 31);
    const std::pair<const char*, FileError> cases[] = {
        {"none.D70", FileError::Missing},        {"no-such-folder/a.D70", FileError::Missing},
        {"short.D70", FileError::TooShort},      {"folder.D70", FileError::IsFolder},
        {"pipe.D70", FileError::NotRegularFile}, {"huge.D70", FileError::None},
    };
    for (const auto& [name, error] : cases) EXPECT_EQ(files::ReadProgramFile(folder / name).error, error) << name;
    EXPECT_EQ(files::ReadProgramFile(folder / "huge.D70").record, EveryFieldSet());
}

TEST(ProgramFile, SavingIntoALargerFileOverwritesOnlyTheRecord) {
    TempFolder folder;
    std::vector<unsigned char> larger(800, 0xAB);
    folder.Write("big.D70", larger);
    ASSERT_TRUE(files::WriteProgramFile(folder / "big.D70", EveryFieldSet()).ok());
    const auto content = folder.Read("big.D70");
    ASSERT_EQ(content.size(), 800u);
    const files::RecordBytes record = files::EncodeRecord(EveryFieldSet());
    EXPECT_TRUE(std::equal(record.begin(), record.end(), content.begin()));
    EXPECT_TRUE(std::all_of(content.begin() + 671, content.end(), [](unsigned char b) { return b == 0xAB; }));
}

TEST(ProgramFile, AFailedSaveLeavesTheOldFileWholeAndNoTemporaryFile) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "taken.D70");
    EXPECT_EQ(files::WriteProgramFile(folder / "taken.D70", EveryFieldSet()).problem.error, FileError::IsFolder);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.D70"));

    // A full disk, as the file-size limit makes it for this process (the superuser included).
    ASSERT_TRUE(files::WriteProgramFile(folder / "a.D70", EveryFieldSet()).ok());
    const auto before = folder.Read("a.D70");
    const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{100, limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    const files::WriteResult written = files::WriteProgramFile(folder / "a.D70", device::ConfigRecord{});
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousSignal);
    EXPECT_EQ(written.problem.systemError, EFBIG);
    EXPECT_EQ(folder.Read("a.D70"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), std::filesystem::directory_iterator()), 2);
}
