// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QString>

#include "history/Connection.h"
#include "history/Entry.h"

class QSqlDatabase;

// The history database through Qt SQL: the same schema and the same queries on SQLite and
// PostgreSQL. Only taking the write lock differs (SQLite "BEGIN IMMEDIATE", PostgreSQL an
// advisory lock), so entries from several stations and processes chain up one at a time.
//
// A Store is a database connection: it belongs to the thread that opened it.
namespace vantrel::history {

struct Filter {
    std::optional<std::string> serial;     // a key as SerialKey makes it
    std::optional<int> family;
    std::optional<int> model;
    std::optional<std::string> since;      // stored time form (NormalizeTime), inclusive
    std::optional<std::string> until;      // exclusive
    std::optional<std::string> station;
    std::optional<std::string> operation;  // session::OperationKey
    std::optional<std::string> outcome;    // session::OutcomeKey
    int limit = 0;                         // 0: every matching entry
    bool newestFirst = false;
};

struct ChainCheck {
    enum class Problem {
        None,
        ContentChanged,   // the entry's content, columns or hash were changed
        PreviousMissing,  // the entry before it was removed, or changed together with its hash
        Unreadable,       // the database could not be read to the end
    };
    Problem problem = Problem::None;
    long long entries = 0;   // entries walked
    long long brokenId = 0;  // the first broken entry
    bool intact() const { return problem == Problem::None; }
};

struct StoreOptions {
    int busyTimeoutMs = 5000;  // how long a write waits for another writer's lock
};

class Store {
public:
    static constexpr int kSchemaVersion = 1;

    // Connects, creates the tables on first use and brings an older schema up to date. Empty,
    // with the reason, when the database cannot be reached or was made by a newer program.
    static std::unique_ptr<Store> Open(const Connection& connection, std::string& problem,
                                       const StoreOptions& options = {});
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    enum class Appended { Written, AlreadyThere, Failed };
    // Adds the entry at the end of the chain and sets its id and hashes. An entry whose
    // identifier is already stored (a replay) is left out.
    Appended Append(Entry& entry);

    // Entries in chain order (or newest first); the content only when asked for.
    std::vector<Entry> List(const Filter& filter, bool withContent = false);
    std::optional<Entry> Get(long long id);
    // The newest entry of a transmitter, leaving out the entry with the given identifier.
    std::optional<Entry> LastOf(const std::string& serial, int family, int model, const std::string& leaveOutUuid);
    // The (family, model) pairs that have entries, in order.
    std::vector<std::pair<int, int>> Models();
    // Walks the whole chain and names the first broken entry.
    ChainCheck Check();
    int SchemaVersion();

    // Why the last call failed; empty after a success.
    const std::string& lastError() const { return m_error; }

private:
    Store(QString name, Connection::Kind kind) : m_name(std::move(name)), m_kind(kind) {}
    QSqlDatabase Database() const;
    bool Migrate(std::string& problem);
    bool BeginWrite();
    void Rollback();
    bool Fail(const QString& what);

    QString m_name;
    Connection::Kind m_kind;
    std::string m_error;
};

}  // namespace vantrel::history
