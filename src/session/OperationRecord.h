// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/ProgramPlan.h"
#include "device/SerialNumber.h"
#include "device/exchange/VerifyWrites.h"
#include "device/WorkingState.h"

// What a session tells the outside world about each operation it ran on a transmitter: one
// record per identify, read, programming, comparison and serial-number read, handed to an
// OperationRecorder when the operation ends. The session knows nothing of where the record
// goes (the history database, a test's list).
namespace vantrel::session {

enum class Operation {
    Identify,         // connection test and "$V"
    Read,             // identify and read the configuration (the programming window's loading)
    Program,          // programming with its read-back
    ProgramVerified,  // programming, every written cell read back, then the read-back
    Compare,          // the transmitter's configuration against a file
    SerialRead,       // the serial-number cells
};

enum class Outcome {
    Done,
    Cancelled,            // a Retry/Cancel box was answered Cancel (in the command-line tool by its policy)
    CommunicationFailed,  // the port would not open, or the line went away (a write was refused)
    Refused,              // programming refused: noisy range declined, or not programmable here
    Interrupted,          // the line went away in the middle of the writes
    WrittenNotConfirmed,  // written, but the read-back or the verification could not be completed
    VerifyFailed,         // written, but a cell read back holds something else
    Different,            // compare: the transmitter holds another configuration
};

// The transmitter's 256 cells as far as an operation read them.
struct MemoryImage {
    std::array<std::uint8_t, 256> cells{};
    std::bitset<256> known;

    void Put(int address, std::uint8_t value) {
        if (address < 0 || address > 255) return;
        cells[static_cast<std::size_t>(address)] = value;
        known.set(static_cast<std::size_t>(address));
    }
    bool Has(int address) const { return address >= 0 && address < 256 && known.test(static_cast<std::size_t>(address)); }
    bool Empty() const { return known.none(); }
    // Cells known here take the other image's value where it knows them.
    void Merge(const MemoryImage& other) {
        for (int a = 0; a < 256; ++a)
            if (other.Has(a)) Put(a, other.cells[static_cast<std::size_t>(a)]);
    }
    // True when a cell known in both images holds different values.
    bool DiffersFrom(const MemoryImage& other) const {
        for (int a = 0; a < 256; ++a)
            if (Has(a) && other.Has(a) && cells[static_cast<std::size_t>(a)] != other.cells[static_cast<std::size_t>(a)])
                return true;
        return false;
    }
    // The serial number, when its four cells were read.
    std::optional<device::SerialNumber> Serial() const;
};

struct OperationRecord {
    Operation operation = Operation::Read;
    Outcome outcome = Outcome::CommunicationFailed;
    std::string port;
    std::optional<device::Identity> identity;      // unset when no transmitter identified itself
    std::optional<device::SerialNumber> serial;    // unset when the serial number was not read
    std::vector<std::uint8_t> configuration;       // the programming file's bytes; empty when none
    MemoryImage memoryBefore;                      // the cells as found
    MemoryImage memoryAfter;                       // programming: the cells read after the writes
    std::string summary;                           // the summary text (lines ended by CR LF)
    std::vector<device::WriteEntry> writes;        // programming: the plan's writes as sent
    std::optional<device::VerifyResult> verify;    // programming with verification
};

// Receives every operation a session ran, when it ends, on the thread that ran it. It must
// neither block nor fail the operation: whatever goes wrong with the record is its own
// business.
class OperationRecorder {
public:
    virtual ~OperationRecorder() = default;
    virtual void Record(const OperationRecord& record) = 0;
};

// Stable names for files, databases and scripts ("read", "program-verify", "written-not-confirmed").
const char* OperationKey(Operation operation);
const char* OutcomeKey(Outcome outcome);
std::optional<Operation> OperationFromKey(const std::string& key);
std::optional<Outcome> OutcomeFromKey(const std::string& key);
// Italian text identifiers of the names people read (English at +300).
int OperationTextId(Operation operation);
int OutcomeTextId(Outcome outcome);

}  // namespace vantrel::session
