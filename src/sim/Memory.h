// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

#include "device/MemoryMap.h"

namespace vantrel::sim {

// The transmitter's programming memory: 256 cells, any address valid.
class Memory {
public:
    using Cells = std::array<std::uint8_t, device::kMemorySize>;

    Memory() { m_cells.fill(0xFF); }  // an erased memory reads all ones
    explicit Memory(const Cells& cells) : m_cells(cells) {}

    std::uint8_t read(std::uint8_t address) const { return m_cells[address]; }
    void write(std::uint8_t address, std::uint8_t value) { m_cells[address] = value; }
    unsigned word(std::uint8_t address) const {
        return device::Word(m_cells[address], m_cells[static_cast<std::uint8_t>(address + 1)]);
    }
    const Cells& cells() const { return m_cells; }

private:
    Cells m_cells{};
};

}  // namespace vantrel::sim
