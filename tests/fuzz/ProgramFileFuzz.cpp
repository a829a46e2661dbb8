// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The .D70 reader on arbitrary bytes: never a crash; what it accepts is written back to the
// same bytes and accepted again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "files/ProgramFile.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    device::ConfigRecord record;
    if (files::DecodeRecord(bytes, record) != files::FileError::None) return 0;
    const files::RecordBytes encoded = files::EncodeRecord(record);
    Require(std::equal(encoded.begin(), encoded.end(), bytes.begin()), "a decoded record encodes to its own bytes");
    device::ConfigRecord again;
    Require(files::DecodeRecord(encoded, again) == files::FileError::None, "an encoded record decodes again");
    return 0;
}
