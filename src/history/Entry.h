// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "device/ConfigRecord.h"
#include "session/OperationRecord.h"

// One entry of the history: an operation record with when, where and by whom, as it is
// stored. The whole entry is kept as one canonical JSON text (the "content"); the columns
// that lists filter on repeat parts of it, and the chain hash covers the content, so a later
// change to either is found by the chain check.
namespace vantrel::history {

// The key a transmitter whose serial number is unknown or unset is recorded under.
inline constexpr const char* kUnknownSerial = "unknown";

// When, where and by whom an operation was recorded.
struct Stamp {
    std::string uuid;     // unique across stations: a replayed entry is never written twice
    std::string time;     // UTC, ISO 8601 with milliseconds: "2024-05-03T12:22:05.123Z"
    std::string station;  // the computer's host name
    std::string user;     // the operating-system user
};

// Now, this computer, this user, a new identifier.
Stamp StampNow();
std::string NewUuid();
std::string UtcNow();

struct Entry {
    long long id = 0;  // position in the chain, from 1; 0 while not stored
    std::string uuid;
    std::string time;
    std::string station;
    std::string user;
    std::string port;
    std::string operation;  // session::OperationKey
    std::string outcome;    // session::OutcomeKey
    int family = 0;         // 0 when nothing identified itself
    int model = 0;
    std::string serial;     // "12-10-91-528", or kUnknownSerial
    std::string content;    // the canonical JSON text of the whole entry
    std::string previousHash;
    std::string hash;
};

// Everything an entry holds, decoded from its content.
struct EntryDetails {
    session::OperationRecord record;  // identity, serial, configuration, memory, writes, verify, summary
    bool serialUnset = false;         // the serial number was read but holds no number
};

// The entry of an operation record.
Entry MakeEntry(const session::OperationRecord& record, const Stamp& stamp);
// The columns of an entry from its content; empty when the content is not an entry.
std::optional<Entry> EntryFromContent(const std::string& content);
// Empty when the content is not an entry.
std::optional<EntryDetails> ParseDetails(const std::string& content);
// The configuration an entry holds, decoded; empty when it holds none or it does not decode.
std::optional<device::ConfigRecord> EntryConfiguration(const EntryDetails& details);

// "12-10-91-528" (customer, year as shown, order, progressive); kUnknownSerial when unset.
std::string SerialKey(const std::optional<device::SerialNumber>& serial);
// A serial number as a person types it ("12 10 91 528", "12-10-91-528", "unknown") as its key;
// empty when it is not one.
std::optional<std::string> NormalizeSerial(const std::string& text);
// A read serial number that holds nothing: every field 0, or the cells of an empty memory.
bool SerialUnset(const device::SerialNumber& serial);

// The chain hash of an entry: SHA-256 over its position, the previous entry's hash and its
// content, as 64 lower-case hex digits.
std::string ChainHash(long long id, const std::string& previousHash, const std::string& content);
// The previous hash of the first entry.
inline const std::string kFirstPreviousHash(64, '0');

// A date or time as typed ("2024-05-03", "2024-05-03T14:00", "2024-05-03T14:00:00+02:00") in
// the stored form (UTC, milliseconds, "Z"); a date alone is midnight UTC. Empty when invalid.
std::optional<std::string> NormalizeTime(const std::string& text);

// A memory image as text: two hex digits per cell, ".." for cells not read.
std::string MemoryText(const session::MemoryImage& image);
session::MemoryImage MemoryFromText(const std::string& text);

}  // namespace vantrel::history
