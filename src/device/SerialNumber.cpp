// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/SerialNumber.h"

namespace vantrel::device {

SerialNumber DecodeSerialNumber(const SerialCells& cells) {
    SerialNumber serial;
    serial.customer = cells.cell0;
    serial.yearCode = (cells.cell13 & 0xF0) >> 4;
    serial.order = (cells.cell13 & 0x0F) * 8 + ((cells.cell226 & 0xE0) >> 5);
    serial.progressive = (cells.cell226 & 0x1F) * 256 + cells.cell227;
    return serial;
}

SerialCells EncodeSerialNumber(const SerialNumber& serial) {
    SerialCells cells;
    cells.cell0 = static_cast<std::uint8_t>(serial.customer & 0xFF);
    cells.cell13 = static_cast<std::uint8_t>(((serial.yearCode & 0x0F) << 4) | ((serial.order & 0x78) >> 3));
    cells.cell226 = static_cast<std::uint8_t>(((serial.order & 0x07) << 5) | ((serial.progressive & 0x1F00) >> 8));
    cells.cell227 = static_cast<std::uint8_t>(serial.progressive & 0xFF);
    return cells;
}

}  // namespace vantrel::device
