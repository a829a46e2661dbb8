#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "device/ConfigRecord.h"

// Programming files (.D70): one 671-byte little-endian record, no header.
namespace vantrel::files {

inline constexpr std::size_t kRecordSize = 671;
using RecordBytes = std::array<std::uint8_t, kRecordSize>;

enum class FileError {
    None,
    CannotOpen,      // missing, unreadable, or not a regular file
    TooShort,        // fewer than 671 bytes
    InvalidContent,  // counts, list indices or numbers that no saved configuration holds
    CannotWrite,     // the folder or the file cannot be written
};

RecordBytes EncodeRecord(const device::ConfigRecord& record);

// Decodes the first 671 bytes; InvalidContent when they cannot be a saved configuration.
FileError DecodeRecord(std::span<const std::uint8_t> bytes, device::ConfigRecord& record);

struct ReadResult {
    FileError error = FileError::None;
    device::ConfigRecord record;
    bool ok() const { return error == FileError::None; }
};
ReadResult ReadProgramFile(const std::filesystem::path& path);

// Writes the record as the first 671 bytes of the file; bytes an existing larger file holds
// after them are kept. The file is written whole to a temporary file beside it and renamed
// over the target, so a failure never leaves a half-written file.
FileError WriteProgramFile(const std::filesystem::path& path, const device::ConfigRecord& record);

}  // namespace vantrel::files
