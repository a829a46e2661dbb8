// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "history/Connection.h"
#include "history/Spool.h"
#include "history/Store.h"
#include "session/OperationRecord.h"

// The recorder every session hands its operations to. Recording never holds an operation up
// and never fails it: Record() stamps the entry and queues it; a writer thread of its own
// writes it to the database, or, while the database cannot be written, to the spool file,
// from which it is written in order once the database is back. Every entry carries its own
// identifier, so a replay never writes one twice.
//
//   history::HistoryRecorder recorder({connection});
//   session.recorder = &recorder;       // every operation of the session is recorded
//   ...
//   for (const history::Notice& n : recorder.TakeNotices()) show(n);
namespace vantrel::history {

struct RecorderSettings {
    Connection connection;
    std::filesystem::path spool;  // empty: the connection's spool file in the data folder
    StoreOptions store;
};

// What the user is told about the recording.
struct Notice {
    enum class Kind {
        DatabaseNotWritten,  // once per outage: entries go to the spool file (detail: why, and where)
        EntryLost,           // not even the spool file could be written (detail: why)
        SerialUnset,         // an entry was recorded under "unknown"
    };
    Kind kind = Kind::DatabaseNotWritten;
    std::string detail;
};

class HistoryRecorder final : public session::OperationRecorder {
public:
    explicit HistoryRecorder(RecorderSettings settings);
    // Writes what is still queued (to the database or the spool) before it returns.
    ~HistoryRecorder() override;
    HistoryRecorder(const HistoryRecorder&) = delete;
    HistoryRecorder& operator=(const HistoryRecorder&) = delete;

    // Any thread; returns at once.
    void Record(const session::OperationRecord& record) override;
    // Waits until every entry recorded so far is written to the database or the spool.
    void Flush();
    std::vector<Notice> TakeNotices();
    // The identifier of the last entry recorded.
    std::string lastUuid() const;
    // True from a failed write until the next one that succeeds.
    bool databaseFailing() const;
    const Connection& connection() const { return m_settings.connection; }
    const std::filesystem::path& spoolPath() const { return m_spool.path(); }

private:
    void Run();
    void Write(const std::string& content);
    bool TryDatabase(const std::string& content, std::string& problem);
    void Notify(Notice::Kind kind, const std::string& detail);

    RecorderSettings m_settings;
    Stamp m_here;  // station and user, the same for every entry

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::string> m_queue;
    bool m_busy = true;  // the writer is at work (it starts by replaying the spool)
    bool m_stopping = false;
    bool m_failing = false;
    std::vector<Notice> m_notices;
    std::string m_lastUuid;

    // The writer thread's own.
    Spool m_spool;
    std::unique_ptr<Store> m_store;
    bool m_failedThisBatch = false;

    std::thread m_thread;  // last: starts once everything above exists
};

// When a transmitter was seen before, and whether its memory changed since.
struct LastSeen {
    Entry entry;
    bool changed = false;  // a cell read then and now holds another value
};
// The transmitter's newest entry other than leaveOutUuid (the current operation's), compared
// with the memory read now. Empty when it was never seen (or the serial number is unknown).
std::optional<LastSeen> FindLastSeen(Store& store, const session::OperationRecord& now, const std::string& leaveOutUuid);

}  // namespace vantrel::history
