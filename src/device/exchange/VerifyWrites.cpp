// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/exchange/VerifyWrites.h"

#include <map>

#include "link/Frames.h"

namespace vantrel::device {

namespace {

// Runs of consecutive addresses: each becomes one block read, so the "SM"/"PR" preamble of a
// block is paid once per run instead of once per cell.
std::vector<std::vector<WriteEntry>> ConsecutiveRuns(const std::vector<WriteEntry>& cells) {
    std::vector<std::vector<WriteEntry>> runs;
    for (const WriteEntry& cell : cells) {
        if (runs.empty() || runs.back().back().address + 1 != cell.address) runs.emplace_back();
        runs.back().push_back(cell);
    }
    return runs;
}

}  // namespace

std::vector<WriteEntry> ExpectedCells(const std::vector<WriteEntry>& sent) {
    std::map<std::uint8_t, std::uint8_t> last;
    for (const WriteEntry& entry : sent) last[entry.address] = entry.value;
    std::vector<WriteEntry> cells;
    cells.reserve(last.size());
    for (const auto& [address, value] : last) cells.push_back({address, value});
    return cells;
}

double VerifyPauses(const std::vector<WriteEntry>& sent) {
    double seconds = link::pauses::Closing();
    for (const std::vector<WriteEntry>& run : ConsecutiveRuns(ExpectedCells(sent)))
        seconds += link::pauses::Block(static_cast<int>(run.size()));
    return seconds;
}

VerifyResult VerifyWrites(link::Protocol& protocol, const std::vector<WriteEntry>& sent) {
    protocol.EnterStep(link::Step::VerifyingWrites);
    VerifyResult result;
    for (const std::vector<WriteEntry>& run : ConsecutiveRuns(ExpectedCells(sent))) {
        const link::ByteResult block = protocol.ReadBlock(run.front().address, static_cast<int>(run.size()));
        if (block.cancelled()) return result;
        for (std::size_t i = 0; i < run.size(); ++i) {
            const std::uint8_t read = block[i + 1];
            ++result.cellsChecked;
            if (read != run[i].value) result.mismatches.push_back({run[i].address, run[i].value, read});
        }
    }
    protocol.SendCommand(link::frames::kEndProgramming);
    result.completed = true;
    return result;
}

}  // namespace vantrel::device
