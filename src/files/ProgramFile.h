// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "device/ConfigRecord.h"
#include "files/FileAccess.h"
#include "files/SafeWrite.h"

// Programming files (.D70): one 671-byte little-endian record, no header.
namespace vantrel::files {

inline constexpr std::size_t kRecordSize = 671;
using RecordBytes = std::array<std::uint8_t, kRecordSize>;

RecordBytes EncodeRecord(const device::ConfigRecord& record);

// Decodes the first 671 bytes: TooShort with fewer, InvalidContent (counts, list indices or
// numbers that no saved configuration holds) when they cannot be a saved configuration.
FileError DecodeRecord(std::span<const std::uint8_t> bytes, device::ConfigRecord& record);

struct ReadResult {
    FileError error = FileError::None;
    int systemError = 0;  // the system's error number, for a file that could not be read
    device::ConfigRecord record;
    bool ok() const { return error == FileError::None; }
    FileProblem problem() const { return {error, systemError}; }
};
// Reads the first 671 bytes of a regular file (a larger file is read no further).
ReadResult ReadProgramFile(const std::filesystem::path& path);

// Writes the record as the first 671 bytes of the file through SafeWrite; bytes an existing
// larger file holds after them are kept.
WriteResult WriteProgramFile(const std::filesystem::path& path, const device::ConfigRecord& record);

}  // namespace vantrel::files
