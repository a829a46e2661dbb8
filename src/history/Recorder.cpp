// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Recorder.h"

#include <utility>

namespace vantrel::history {

HistoryRecorder::HistoryRecorder(RecorderSettings settings)
    : m_settings(std::move(settings)),
      m_here(StampNow()),
      m_spool(m_settings.spool.empty() ? SpoolFileFor(m_settings.connection) : m_settings.spool),
      m_thread(&HistoryRecorder::Run, this) {}

HistoryRecorder::~HistoryRecorder() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void HistoryRecorder::Record(const session::OperationRecord& record) {
    Stamp stamp = m_here;
    stamp.uuid = NewUuid();
    stamp.time = UtcNow();
    const Entry entry = MakeEntry(record, stamp);
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(entry.content);
        m_lastUuid = entry.uuid;
        if (record.serial && SerialUnset(*record.serial)) m_notices.push_back({Notice::Kind::SerialUnset, {}});
    }
    m_wake.notify_one();
}

void HistoryRecorder::Flush() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_queue.empty() && !m_busy; });
}

std::vector<Notice> HistoryRecorder::TakeNotices() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_notices, {});
}

std::string HistoryRecorder::lastUuid() const {
    std::lock_guard lock(m_mutex);
    return m_lastUuid;
}

bool HistoryRecorder::databaseFailing() const {
    std::lock_guard lock(m_mutex);
    return m_failing;
}

void HistoryRecorder::Notify(Notice::Kind kind, const std::string& detail) {
    std::lock_guard lock(m_mutex);
    m_notices.push_back({kind, detail});
}

void HistoryRecorder::Run() {
    // Entries a previous run left in the spool go first.
    if (!m_spool.Empty()) {
        std::string problem;
        if (!m_store) m_store = Store::Open(m_settings.connection, problem, m_settings.store);
        if (m_store && !m_spool.Replay(*m_store).complete) m_store.reset();
    }
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_busy = false;
        m_idle.notify_all();
        m_wake.wait(lock, [this] { return !m_queue.empty() || m_stopping; });
        if (m_queue.empty()) break;
        std::deque<std::string> batch = std::exchange(m_queue, {});
        m_busy = true;
        lock.unlock();
        m_failedThisBatch = false;
        for (const std::string& content : batch) Write(content);
        lock.lock();
    }
    lock.unlock();
    m_store.reset();
}

bool HistoryRecorder::TryDatabase(const std::string& content, std::string& problem) {
    // A database that just failed is not tried again for every entry of the same batch: an
    // unreachable server would make each wait for its time-out.
    if (m_failedThisBatch) return false;
    if (!m_store) m_store = Store::Open(m_settings.connection, problem, m_settings.store);
    if (m_store && !m_spool.Empty() && !m_spool.Replay(*m_store).complete) problem = m_store->lastError();
    if (m_store && m_spool.Empty()) {
        std::optional<Entry> entry = EntryFromContent(content);
        if (!entry || m_store->Append(*entry) != Store::Appended::Failed) return true;
        problem = m_store->lastError();
    }
    // Connected afresh next time: a server that went away leaves a broken connection behind.
    m_store.reset();
    m_failedThisBatch = true;
    return false;
}

void HistoryRecorder::Write(const std::string& content) {
    std::string problem;
    if (TryDatabase(content, problem)) {
        std::lock_guard lock(m_mutex);
        m_failing = false;
        return;
    }
    std::string spoolProblem;
    if (!m_spool.Add(content, spoolProblem)) {
        Notify(Notice::Kind::EntryLost, spoolProblem);
        return;
    }
    bool first = false;
    {
        std::lock_guard lock(m_mutex);
        first = !m_failing;
        m_failing = true;
    }
    if (first && !problem.empty()) Notify(Notice::Kind::DatabaseNotWritten, problem + "\n" + m_spool.path().string());
    else if (first) Notify(Notice::Kind::DatabaseNotWritten, m_spool.path().string());
}

std::optional<LastSeen> FindLastSeen(Store& store, const session::OperationRecord& now, const std::string& leaveOutUuid) {
    const std::string serial = SerialKey(now.serial);
    if (serial == kUnknownSerial || !now.identity) return std::nullopt;
    const std::optional<Entry> last =
        store.LastOf(serial, now.identity->DeviceFamily, now.identity->DeviceModel, leaveOutUuid);
    if (!last) return std::nullopt;
    LastSeen seen;
    seen.entry = *last;
    if (const std::optional<EntryDetails> details = ParseDetails(last->content)) {
        const session::MemoryImage& then =
            details->record.memoryAfter.Empty() ? details->record.memoryBefore : details->record.memoryAfter;
        const session::MemoryImage& current = now.memoryAfter.Empty() ? now.memoryBefore : now.memoryAfter;
        seen.changed = current.DiffersFrom(then);
    }
    return seen;
}

}  // namespace vantrel::history
