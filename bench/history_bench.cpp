// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The history's figures, on SQLite and (when the server programs are installed) on a
// PostgreSQL server started for the run:
//   - the time to write one entry (a verified programming: configuration, both memory images,
//     every write), and the time Record() keeps an operation waiting;
//   - the time to list one transmitter's entries out of ENTRIES (100,000 by default).
// Prints the figures; no assertion on them.
//
//   history_bench [ENTRIES]
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "history/PostgresServer.h"
#include "history/Recorder.h"
#include "history/Store.h"

using namespace vantrel;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTransmitters = 1000;
constexpr int kWrites = 200;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// What a verified programming records: the heaviest entry there is.
session::OperationRecord Programming(int progressive) {
    session::OperationRecord r;
    r.operation = session::Operation::ProgramVerified;
    r.outcome = session::Outcome::Done;
    r.port = "/dev/ttyUSB0";
    r.identity = device::Identity{4, 10, 1, 0};
    r.serial = device::SerialNumber{12, 5, 91, progressive};
    r.summary = "Thermocouple Type K\r\nInput Range: 0 to 1000 °C\r\nOutput Range: 4 to 20 mA\r\n";
    r.configuration.assign(671, 0x2A);
    for (int a = 0; a < 256; ++a) {
        r.memoryBefore.Put(a, static_cast<std::uint8_t>(a));
        r.memoryAfter.Put(a, static_cast<std::uint8_t>(255 - a));
    }
    for (int i = 0; i < kWrites; ++i) r.writes.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)});
    r.verify = device::VerifyResult{true, kWrites, {}};
    return r;
}

// A read of transmitter t: the filler of the listing figure (small, so a large history is
// quick to build).
history::Entry Filler(long long n, int t) {
    session::OperationRecord r;
    r.outcome = session::Outcome::Done;
    r.port = "COM3";
    r.identity = device::Identity{4, 10, 1, 0};
    r.serial = device::SerialNumber{12, 5, t / 8000, t % 8000 + 1};
    history::Stamp stamp{"filler-" + std::to_string(n), "2024-01-01T00:00:00.000Z", "bench", "bench"};
    return history::MakeEntry(r, stamp);
}

// Appends the filler entries with a correct chain, many to a statement, in one transaction.
bool InsertChain(QSqlDatabase& db, long long count) {
    QSqlQuery q(db);
    q.exec(QStringLiteral("BEGIN"));
    std::string previous = history::kFirstPreviousHash;
    constexpr int kRowsPerStatement = 200;
    bool ok = true;
    for (long long first = 1; ok && first <= count; first += kRowsPerStatement) {
        QString sql = QStringLiteral("INSERT INTO history_entry (id, uuid, recorded_at, station, os_user, port, "
                                     "operation, outcome, family, model, serial, previous_hash, hash, content) VALUES ");
        QVariantList values;
        for (long long id = first; id < first + kRowsPerStatement && id <= count; ++id) {
            history::Entry e = Filler(id, static_cast<int>(id % kTransmitters));
            e.id = id;
            e.previousHash = previous;
            e.hash = history::ChainHash(id, previous, e.content);
            previous = e.hash;
            sql += QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?),");
            values << e.id << QString::fromStdString(e.uuid) << QString::fromStdString(e.time)
                   << QString::fromStdString(e.station) << QString::fromStdString(e.user)
                   << QString::fromStdString(e.port) << QString::fromStdString(e.operation)
                   << QString::fromStdString(e.outcome) << e.family << e.model << QString::fromStdString(e.serial)
                   << QString::fromStdString(e.previousHash) << QString::fromStdString(e.hash)
                   << QString::fromStdString(e.content);
        }
        sql.chop(1);
        q.prepare(sql);
        for (const QVariant& v : values) q.addBindValue(v);
        ok = q.exec();
    }
    q.exec(ok ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
    q.exec(QStringLiteral("ANALYZE"));
    return ok;
}

// A history of count entries in the (empty) database.
bool Fill(const history::Connection& c, long long count) {
    std::string problem;
    if (!history::Store::Open(c, problem)) return false;  // the tables
    const QString name = QStringLiteral("bench-fill");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(
            c.kind == history::Connection::Kind::Sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), name);
        db.setDatabaseName(QString::fromStdString(c.kind == history::Connection::Kind::Sqlite ? c.file.string() : c.database));
        db.setHostName(QString::fromStdString(c.host));
        db.setPort(c.port);
        db.setUserName(QString::fromStdString(c.user));
        ok = db.open() && InsertChain(db, count);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

void Measure(const char* name, const history::Connection& empty, const history::Connection& large, long long entries) {
    std::string problem;
    {
        auto store = history::Store::Open(empty, problem);
        if (!store) {
            std::printf("%s: %s\n", name, problem.c_str());
            return;
        }
        constexpr int kAppends = 300;
        std::vector<double> times;
        for (int i = 0; i < kAppends; ++i) {
            history::Entry e = history::MakeEntry(Programming(i), history::StampNow());
            const auto start = Clock::now();
            store->Append(e);
            times.push_back(Ms(Clock::now() - start));
        }
        std::sort(times.begin(), times.end());
        std::printf("%s: writing one entry (a verified programming): median %.2f ms, 95th percentile %.2f ms (goal <= 5 ms)\n",
                    name, times[times.size() / 2], times[times.size() * 95 / 100]);
    }
    {
        history::HistoryRecorder recorder({empty, {}, {}});
        const session::OperationRecord record = Programming(1);
        constexpr int kRecords = 100;
        const auto start = Clock::now();
        for (int i = 0; i < kRecords; ++i) recorder.Record(record);
        const double waited = Ms(Clock::now() - start) / kRecords;
        recorder.Flush();
        std::printf("%s: an operation waits %.3f ms for Record() (the writing happens beside it)\n", name, waited);
    }
    if (!Fill(large, entries)) {
        std::printf("%s: could not build the large history\n", name);
        return;
    }
    auto store = history::Store::Open(large, problem);
    history::Filter filter;
    filter.serial = history::SerialKey(device::SerialNumber{12, 5, 0, 43});
    std::vector<double> times;
    std::size_t found = 0;
    for (int i = 0; i < 20; ++i) {
        const auto start = Clock::now();
        found = store->List(filter).size();
        times.push_back(Ms(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    std::printf("%s: listing one transmitter's %zu entries out of %lld: median %.2f ms (goal <= 50 ms)\n", name, found,
                entries, times[times.size() / 2]);
    const auto start = Clock::now();
    const history::ChainCheck check = store->Check();
    std::printf("%s: checking the chain of %lld entries: %.0f ms (%s)\n", name, check.entries, Ms(Clock::now() - start),
                check.intact() ? "intact" : "broken");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const long long entries = argc > 1 ? std::atoll(argv[1]) : 100000;
    {
        TempFolder folder;
        history::Connection empty;
        empty.file = folder / "empty.sqlite";
        history::Connection large;
        large.file = folder / "large.sqlite";
        Measure("SQLite", empty, large, entries);
    }
    test::PostgresServer server;
    std::string problem;
    bool missing = false;
    if (!server.Start(problem, missing)) {
        std::printf("PostgreSQL: not measured: %s\n", problem.c_str());
        return 0;
    }
    const history::Connection empty = server.Database("bench_empty", problem);
    const history::Connection large = server.Database("bench_large", problem);
    Measure("PostgreSQL", empty, large, entries);
    return 0;
}
