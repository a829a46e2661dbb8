// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Store.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <system_error>

namespace vantrel::history {

namespace {

// Each step brings the schema from the version before it to its own (index + 1). The types
// are those both databases know, so the schema is the same on both.
const std::vector<std::vector<const char*>>& Migrations() {
    static const std::vector<std::vector<const char*>> steps = {
        {
            "CREATE TABLE history_entry ("
            " id BIGINT NOT NULL PRIMARY KEY,"
            " uuid VARCHAR(64) NOT NULL UNIQUE,"
            " recorded_at VARCHAR(32) NOT NULL,"
            " station VARCHAR(255) NOT NULL,"
            " os_user VARCHAR(255) NOT NULL,"
            " port VARCHAR(255) NOT NULL,"
            " operation VARCHAR(32) NOT NULL,"
            " outcome VARCHAR(32) NOT NULL,"
            " family INTEGER NOT NULL,"
            " model INTEGER NOT NULL,"
            " serial VARCHAR(32) NOT NULL,"
            " content TEXT NOT NULL,"
            " previous_hash VARCHAR(64) NOT NULL,"
            " hash VARCHAR(64) NOT NULL)",
            // A transmitter's entries, and the entries of a period.
            "CREATE INDEX history_entry_transmitter ON history_entry (serial, family, model, id)",
            "CREATE INDEX history_entry_time ON history_entry (recorded_at)",
        },
    };
    return steps;
}

constexpr const char* kColumns =
    "id, uuid, recorded_at, station, os_user, port, operation, outcome, family, model, serial, previous_hash, hash";
// Any number, the same for every station: the key of the advisory lock all PostgreSQL writers take.
constexpr const char* kPostgresWriteLock = "SELECT pg_advisory_xact_lock(7061984)";

std::atomic<int> g_connections{0};

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QVariant& value) { return value.toString().toStdString(); }

// The columns of kColumns, then the content when selected after them.
Entry ReadEntry(const QSqlQuery& q, bool withContent) {
    Entry e;
    e.id = q.value(0).toLongLong();
    e.uuid = S(q.value(1));
    e.time = S(q.value(2));
    e.station = S(q.value(3));
    e.user = S(q.value(4));
    e.port = S(q.value(5));
    e.operation = S(q.value(6));
    e.outcome = S(q.value(7));
    e.family = q.value(8).toInt();
    e.model = q.value(9).toInt();
    e.serial = S(q.value(10));
    e.previousHash = S(q.value(11));
    e.hash = S(q.value(12));
    if (withContent) e.content = S(q.value(13));
    return e;
}

bool SameColumns(const Entry& a, const Entry& b) {
    return a.uuid == b.uuid && a.time == b.time && a.station == b.station && a.user == b.user && a.port == b.port &&
           a.operation == b.operation && a.outcome == b.outcome && a.family == b.family && a.model == b.model &&
           a.serial == b.serial;
}

}  // namespace

std::unique_ptr<Store> Store::Open(const Connection& connection, std::string& problem, const StoreOptions& options) {
    const QString name = QStringLiteral("vantrel-history-%1").arg(++g_connections);
    std::unique_ptr<Store> store(new Store(name, connection.kind));
    {
        QSqlDatabase db;
        if (connection.kind == Connection::Kind::Sqlite) {
            std::error_code ignored;
            if (connection.file.has_parent_path()) std::filesystem::create_directories(connection.file.parent_path(), ignored);
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(Q(connection.file.string()));
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(options.busyTimeoutMs));
        } else {
            db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(Q(connection.host));
            db.setPort(connection.port);
            db.setDatabaseName(Q(connection.database));
            db.setUserName(Q(connection.user));
            db.setPassword(Q(connection.password));
            db.setConnectOptions(Q(connection.options));
        }
        if (!db.isValid()) {
            problem = "no Qt SQL driver for " + connection.Display() + " (" + S(db.lastError().text()) + ")";
            return nullptr;
        }
        if (!db.open()) {
            problem = connection.Display() + ": " + S(db.lastError().text());
            return nullptr;
        }
        QSqlQuery q(db);
        if (connection.kind == Connection::Kind::Sqlite) {
            // Readers do not wait for the writer, and a commit costs no disk flush of its own:
            // an entry survives a crash of the program, if not always a power cut.
            q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        } else {
            q.exec(QStringLiteral("SET lock_timeout = %1").arg(options.busyTimeoutMs));
            // The server's notices ("already exists, skipping") are no news to the user.
            q.exec(QStringLiteral("SET client_min_messages = warning"));
        }
    }
    if (!store->Migrate(problem)) {
        problem = connection.Display() + ": " + problem;
        return nullptr;
    }
    return store;
}

Store::~Store() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Store::Database() const { return QSqlDatabase::database(m_name, false); }

bool Store::Fail(const QString& what) {
    m_error = what.toStdString();
    return false;
}

bool Store::BeginWrite() {
    QSqlQuery q(Database());
    if (m_kind == Connection::Kind::Sqlite) {
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) return Fail(q.lastError().text());
        return true;
    }
    if (!q.exec(QStringLiteral("BEGIN"))) return Fail(q.lastError().text());
    if (!q.exec(QString::fromLatin1(kPostgresWriteLock))) {
        const QString error = q.lastError().text();
        Rollback();
        return Fail(error);
    }
    return true;
}

void Store::Rollback() {
    QSqlQuery q(Database());
    q.exec(QStringLiteral("ROLLBACK"));
}

bool Store::Migrate(std::string& problem) {
    const auto failed = [&](const QSqlQuery& q) {
        problem = S(q.lastError().text());
        Rollback();
        return false;
    };
    if (!BeginWrite()) {
        problem = m_error;
        return false;
    }
    QSqlQuery q(Database());
    if (!q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS history_schema (version INTEGER NOT NULL)")))
        return failed(q);
    if (!q.exec(QStringLiteral("SELECT MAX(version) FROM history_schema")) || !q.next()) return failed(q);
    const int version = q.value(0).isNull() ? 0 : q.value(0).toInt();
    q.finish();
    if (version > kSchemaVersion) {
        Rollback();
        problem = "the history database has schema version " + std::to_string(version) +
                  ", newer than this program's " + std::to_string(kSchemaVersion);
        return false;
    }
    const auto& steps = Migrations();
    for (int v = version; v < kSchemaVersion; ++v)
        for (const char* statement : steps[static_cast<std::size_t>(v)])
            if (!q.exec(QString::fromLatin1(statement))) return failed(q);
    if (version < kSchemaVersion) {
        if (!q.exec(QStringLiteral("DELETE FROM history_schema"))) return failed(q);
        q.prepare(QStringLiteral("INSERT INTO history_schema (version) VALUES (?)"));
        q.addBindValue(kSchemaVersion);
        if (!q.exec()) return failed(q);
    }
    if (!q.exec(QStringLiteral("COMMIT"))) return failed(q);
    return true;
}

int Store::SchemaVersion() {
    QSqlQuery q(Database());
    if (!q.exec(QStringLiteral("SELECT MAX(version) FROM history_schema")) || !q.next()) return 0;
    return q.value(0).toInt();
}

Store::Appended Store::Append(Entry& entry) {
    m_error.clear();
    if (!BeginWrite()) return Appended::Failed;
    QSqlQuery q(Database());
    const auto failed = [&] {
        m_error = S(q.lastError().text());
        Rollback();
        return Appended::Failed;
    };
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM history_entry WHERE uuid = ?"));
    q.addBindValue(Q(entry.uuid));
    if (!q.exec() || !q.next()) return failed();
    if (q.value(0).toLongLong() > 0) {
        q.finish();
        if (!q.exec(QStringLiteral("COMMIT"))) return failed();
        return Appended::AlreadyThere;
    }
    if (!q.exec(QStringLiteral("SELECT id, hash FROM history_entry ORDER BY id DESC LIMIT 1"))) return failed();
    long long lastId = 0;
    std::string lastHash = kFirstPreviousHash;
    if (q.next()) {
        lastId = q.value(0).toLongLong();
        lastHash = S(q.value(1));
    }
    q.finish();
    Entry stored = entry;
    stored.id = lastId + 1;
    stored.previousHash = lastHash;
    stored.hash = ChainHash(stored.id, lastHash, stored.content);
    q.prepare(QStringLiteral("INSERT INTO history_entry (id, uuid, recorded_at, station, os_user, port, operation, "
                             "outcome, family, model, serial, previous_hash, hash, content) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(stored.id);
    for (const std::string* text : {&stored.uuid, &stored.time, &stored.station, &stored.user, &stored.port,
                                    &stored.operation, &stored.outcome})
        q.addBindValue(Q(*text));
    q.addBindValue(stored.family);
    q.addBindValue(stored.model);
    q.addBindValue(Q(stored.serial));
    q.addBindValue(Q(stored.previousHash));
    q.addBindValue(Q(stored.hash));
    q.addBindValue(Q(stored.content));
    if (!q.exec()) return failed();
    if (!q.exec(QStringLiteral("COMMIT"))) return failed();
    entry = stored;
    return Appended::Written;
}

std::vector<Entry> Store::List(const Filter& filter, bool withContent) {
    m_error.clear();
    QStringList conditions;
    QVariantList values;
    const auto where = [&](const char* condition, const QVariant& value) {
        conditions << QString::fromLatin1(condition);
        values << value;
    };
    if (filter.serial) where("serial = ?", Q(*filter.serial));
    if (filter.family) where("family = ?", *filter.family);
    if (filter.model) where("model = ?", *filter.model);
    if (filter.since) where("recorded_at >= ?", Q(*filter.since));
    if (filter.until) where("recorded_at < ?", Q(*filter.until));
    if (filter.station) where("station = ?", Q(*filter.station));
    if (filter.operation) where("operation = ?", Q(*filter.operation));
    if (filter.outcome) where("outcome = ?", Q(*filter.outcome));
    QString sql = QStringLiteral("SELECT %1%2 FROM history_entry")
                      .arg(QString::fromLatin1(kColumns), withContent ? QStringLiteral(", content") : QString());
    if (!conditions.isEmpty()) sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += filter.newestFirst ? QStringLiteral(" ORDER BY id DESC") : QStringLiteral(" ORDER BY id");
    if (filter.limit > 0) sql += QStringLiteral(" LIMIT %1").arg(filter.limit);
    QSqlQuery q(Database());
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant& value : values) q.addBindValue(value);
    std::vector<Entry> entries;
    if (!q.exec()) {
        Fail(q.lastError().text());
        return entries;
    }
    while (q.next()) entries.push_back(ReadEntry(q, withContent));
    return entries;
}

std::optional<Entry> Store::Get(long long id) {
    m_error.clear();
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("SELECT %1, content FROM history_entry WHERE id = ?").arg(QString::fromLatin1(kColumns)));
    q.addBindValue(id);
    if (!q.exec()) {
        Fail(q.lastError().text());
        return std::nullopt;
    }
    if (!q.next()) return std::nullopt;
    return ReadEntry(q, true);
}

std::optional<Entry> Store::LastOf(const std::string& serial, int family, int model, const std::string& leaveOutUuid) {
    m_error.clear();
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("SELECT %1, content FROM history_entry WHERE serial = ? AND family = ? AND model = ? "
                             "AND uuid <> ? ORDER BY id DESC LIMIT 1")
                  .arg(QString::fromLatin1(kColumns)));
    q.addBindValue(Q(serial));
    q.addBindValue(family);
    q.addBindValue(model);
    q.addBindValue(Q(leaveOutUuid));
    if (!q.exec()) {
        Fail(q.lastError().text());
        return std::nullopt;
    }
    if (!q.next()) return std::nullopt;
    return ReadEntry(q, true);
}

std::vector<std::pair<int, int>> Store::Models() {
    m_error.clear();
    std::vector<std::pair<int, int>> models;
    QSqlQuery q(Database());
    if (!q.exec(QStringLiteral("SELECT DISTINCT family, model FROM history_entry ORDER BY family, model"))) {
        Fail(q.lastError().text());
        return models;
    }
    while (q.next()) models.emplace_back(q.value(0).toInt(), q.value(1).toInt());
    return models;
}

ChainCheck Store::Check() {
    m_error.clear();
    ChainCheck check;
    QSqlQuery q(Database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1, content FROM history_entry ORDER BY id").arg(QString::fromLatin1(kColumns)))) {
        Fail(q.lastError().text());
        check.problem = ChainCheck::Problem::Unreadable;
        return check;
    }
    long long expectedId = 1;
    std::string previousHash = kFirstPreviousHash;
    while (q.next()) {
        const Entry e = ReadEntry(q, true);
        ++check.entries;
        const std::optional<Entry> fromContent = EntryFromContent(e.content);
        if (e.id != expectedId || e.previousHash != previousHash)
            check.problem = ChainCheck::Problem::PreviousMissing;
        else if (e.hash != ChainHash(e.id, e.previousHash, e.content) || !fromContent || !SameColumns(e, *fromContent))
            check.problem = ChainCheck::Problem::ContentChanged;
        if (!check.intact()) {
            check.brokenId = e.id;
            return check;
        }
        expectedId = e.id + 1;
        previousHash = e.hash;
    }
    if (q.lastError().isValid()) {
        Fail(q.lastError().text());
        check.problem = ChainCheck::Problem::Unreadable;
    }
    return check;
}

}  // namespace vantrel::history
