// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A throw-away PostgreSQL server for tests and benchmarks: initdb into a temporary folder,
// pg_ctl start listening only on a socket in that folder (no TCP port to collide on), trust
// authentication, stopped and removed again at the end. The server refuses to run as root:
// under root the folder is handed to the "postgres" system user and the programs run as it
// (runuser).
//
//   PostgresServer server;
//   if (!server.Start(problem)) GTEST_SKIP() << problem;   // only when the programs are missing
//   history::Connection c = server.Database("test1", problem);
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "history/Connection.h"

namespace vantrel::test {

class PostgresServer {
public:
    PostgresServer() = default;
    ~PostgresServer() {
        Stop();
        if (!m_base.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_base, ignored);
        }
    }
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // The folder of initdb and pg_ctl: on PATH, or Debian's /usr/lib/postgresql/N/bin.
    static std::filesystem::path Binaries() {
        if (const char* path = std::getenv("PATH")) {
            for (const QString& folder : QString::fromLocal8Bit(path).split(':'))
                if (std::filesystem::exists(std::filesystem::path(folder.toStdString()) / "initdb"))
                    return folder.toStdString();
        }
        std::filesystem::path best;
        std::error_code ignored;
        for (const auto& version : std::filesystem::directory_iterator("/usr/lib/postgresql", ignored))
            if (std::filesystem::exists(version.path() / "bin" / "initdb") && version.path() > best.parent_path())
                best = version.path() / "bin";
        return best;
    }

    // False, with the reason, when the server could not be started. missingPrograms tells the
    // one case a test may skip for.
    bool Start(std::string& problem, bool& missingPrograms) {
        missingPrograms = false;
        m_bin = Binaries();
        if (m_bin.empty() || !std::filesystem::exists(m_bin / "pg_ctl")) {
            missingPrograms = true;
            problem = "the PostgreSQL server programs (initdb, pg_ctl) are not installed: apt-get install postgresql";
            return false;
        }
        char pattern[] = "/tmp/vantrel-pg-XXXXXX";
        if (!mkdtemp(pattern)) {
            problem = "no temporary folder";
            return false;
        }
        m_base = pattern;
        if (geteuid() == 0) {
            const passwd* account = getpwnam("postgres");
            if (!account) {
                problem = "running as root, and there is no postgres user to run the server as";
                return false;
            }
            if (chown(m_base.c_str(), account->pw_uid, account->pw_gid) != 0) {
                problem = "cannot hand " + m_base.string() + " to the postgres user";
                return false;
            }
            m_runAs = "postgres";
        }
        if (!Run("initdb", {"-D", Data(), "-U", "vantrel", "--auth=trust", "-E", "UTF8", "--no-locale", "--no-sync"},
                 problem))
            return false;
        return Resume(problem);
    }

    // Starts the stopped server again (same folder, same port).
    bool Resume(std::string& problem) {
        const QString settings = QStringLiteral(
                                     "-p %1 -c listen_addresses= -c unix_socket_directories=%2 "
                                     "-c fsync=off -c full_page_writes=off")
                                     .arg(m_port)
                                     .arg(QString::fromStdString(m_base.string()));
        if (!Run("pg_ctl", {"-D", Data(), "-l", QString::fromStdString((m_base / "log").string()), "-w", "-t", "60",
                            "-o", settings, "start"},
                 problem))
            return false;
        m_running = true;
        return true;
    }

    // Stops the server at once (as a crash or a pulled network cable would look to clients).
    // Commits stay synchronous: a committed entry must survive it, as on a real server.
    void Stop() {
        if (!m_running) return;
        std::string ignored;
        Run("pg_ctl", {"-D", Data(), "-m", "immediate", "-w", "stop"}, ignored);
        m_running = false;
    }

    // A new, empty database on the server.
    history::Connection Database(const std::string& name, std::string& problem) {
        {
            QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("vantrel-test-admin"));
            Connect(admin, "postgres");
            if (!admin.open()) {
                problem = admin.lastError().text().toStdString();
            } else {
                QSqlQuery q(admin);
                if (!q.exec(QStringLiteral("CREATE DATABASE %1").arg(QString::fromStdString(name))))
                    problem = q.lastError().text().toStdString();
            }
            admin.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("vantrel-test-admin"));
        history::Connection c;
        c.kind = history::Connection::Kind::Postgres;
        c.host = m_base.string();  // the socket's folder
        c.port = m_port;
        c.user = "vantrel";
        c.database = name;
        c.options = "connect_timeout=5";
        return c;
    }

private:
    QString Data() const { return QString::fromStdString((m_base / "data").string()); }

    void Connect(QSqlDatabase& db, const char* database) const {
        db.setHostName(QString::fromStdString(m_base.string()));
        db.setPort(m_port);
        db.setUserName(QStringLiteral("vantrel"));
        db.setDatabaseName(QString::fromLatin1(database));
    }

    bool Run(const char* program, const QStringList& arguments, std::string& problem) {
        QString command = QString::fromStdString((m_bin / program).string());
        QStringList args = arguments;
        if (!m_runAs.empty()) {
            args.prepend(command);
            args.prepend(QStringLiteral("--"));
            args.prepend(QString::fromStdString(m_runAs));
            args.prepend(QStringLiteral("-u"));
            command = QStringLiteral("runuser");
        }
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setWorkingDirectory(QString::fromStdString(m_base.string()));
        process.start(command, args);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            problem = std::string(program) + " failed: " + process.readAll().toStdString();
            return false;
        }
        return true;
    }

    std::filesystem::path m_bin;
    std::filesystem::path m_base;
    std::string m_runAs;
    int m_port = 5432;  // names the socket in the server's own folder; no TCP port is opened
    bool m_running = false;
};

}  // namespace vantrel::test
