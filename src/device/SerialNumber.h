// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The factory identity that every transmitter carries in cells 0, 13, 226 and 227.
namespace vantrel::device {

struct SerialNumber {
    int customer = 0;     // 0..255
    int yearCode = 0;     // 0..15; the year shown is code + 5 (2005 = 0)
    int order = 0;        // 0..127
    int progressive = 0;  // 0..8191 as stored, 0..8000 on entry
    friend bool operator==(const SerialNumber&, const SerialNumber&) = default;
};

struct SerialCells {
    std::uint8_t cell0 = 0;    // customer
    std::uint8_t cell13 = 0;   // year code (high nibble), order bits 6..3 (low nibble)
    std::uint8_t cell226 = 0;  // order bits 2..0 (bits 7..5), progressive bits 12..8 (bits 4..0)
    std::uint8_t cell227 = 0;  // progressive bits 7..0
    friend bool operator==(const SerialCells&, const SerialCells&) = default;
};

SerialNumber DecodeSerialNumber(const SerialCells& cells);
// Values beyond their fields are cut to the bits the cells hold.
SerialCells EncodeSerialNumber(const SerialNumber& serial);

inline constexpr int kYearShownOffset = 5;
// Customer 255 marks a transmitter whose serial number the user may not look at.
inline constexpr int kHiddenSerialCustomer = 255;
inline bool SerialMenuVisible(const SerialNumber& serial) { return serial.customer != kHiddenSerialCustomer; }

}  // namespace vantrel::device
