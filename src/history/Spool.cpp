// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Spool.h"

#include <QFile>
#include <QSaveFile>

#include <fstream>

#include "history/Store.h"

namespace vantrel::history {

namespace {

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

bool Spool::Empty() const {
    std::error_code error;
    return !std::filesystem::exists(m_path, error) || std::filesystem::file_size(m_path, error) == 0;
}

bool Spool::Add(const std::string& content, std::string& problem) {
    std::error_code ignored;
    if (m_path.has_parent_path()) std::filesystem::create_directories(m_path.parent_path(), ignored);
    QFile file(Q(m_path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        problem = m_path.string() + ": " + file.errorString().toStdString();
        return false;
    }
    const qint64 before = file.size();
    const QByteArray line = QByteArray::fromStdString(content) + '\n';
    if (file.write(line) != line.size() || !file.flush()) {
        problem = m_path.string() + ": " + file.errorString().toStdString();
        // A partial line would spoil the next one: cut it off again.
        file.resize(before);
        return false;
    }
    return true;
}

std::vector<std::string> Spool::Lines() const {
    std::vector<std::string> lines;
    std::ifstream in(m_path, std::ios::binary);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) lines.push_back(line);
    return lines;
}

bool Spool::Keep(const std::vector<std::string>& lines) {
    if (lines.empty()) {
        std::error_code error;
        std::filesystem::remove(m_path, error);
        return !error;
    }
    QSaveFile file(Q(m_path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    for (const std::string& line : lines) file.write(QByteArray::fromStdString(line) + '\n');
    return file.commit();
}

Spool::Replayed Spool::Replay(Store& store) {
    Replayed replayed;
    const std::vector<std::string> lines = Lines();
    std::vector<std::string> rejected;
    std::size_t next = 0;
    for (; next < lines.size(); ++next) {
        std::optional<Entry> entry = EntryFromContent(lines[next]);
        if (!entry) {
            rejected.push_back(lines[next]);
            continue;
        }
        const Store::Appended result = store.Append(*entry);
        if (result == Store::Appended::Failed) break;
        if (result == Store::Appended::Written) ++replayed.written;
        else ++replayed.skipped;
    }
    if (!rejected.empty()) {
        std::ofstream out(m_path.string() + ".rejected", std::ios::binary | std::ios::app);
        for (const std::string& line : rejected) out << line << '\n';
    }
    // Entries the database took are in it by their identifiers: should keeping the rest fail,
    // the next replay skips them instead of writing them twice.
    Keep({lines.begin() + static_cast<std::ptrdiff_t>(next), lines.end()});
    replayed.complete = next == lines.size();
    return replayed;
}

}  // namespace vantrel::history
