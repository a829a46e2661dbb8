// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "device/ProgramPlan.h"
#include "link/Protocol.h"

// Verified programming: the "$W" frames get no answer from the transmitter, so the only way
// to know that every cell holds what was sent is to read each written cell back.
namespace vantrel::device {

struct CellMismatch {
    std::uint8_t address = 0;
    std::uint8_t expected = 0;
    std::uint8_t read = 0;
    friend bool operator==(const CellMismatch&, const CellMismatch&) = default;
};

struct VerifyResult {
    bool completed = false;   // every cell was read (false: a read was cancelled)
    int cellsChecked = 0;
    std::vector<CellMismatch> mismatches;  // in address order
    bool Verified() const { return completed && mismatches.empty(); }
};

// The cells a write list leaves behind: each address once, with the last value sent to it,
// in address order.
std::vector<WriteEntry> ExpectedCells(const std::vector<WriteEntry>& sent);

// Reads back every cell of the write list (contiguous cells in one block read) and compares.
// Ends the exchange with "$FPxx".
VerifyResult VerifyWrites(link::Protocol& protocol, const std::vector<WriteEntry>& sent);
// The protocol's pauses of VerifyWrites for that write list.
double VerifyPauses(const std::vector<WriteEntry>& sent);

}  // namespace vantrel::device
