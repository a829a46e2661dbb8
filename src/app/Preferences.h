// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <memory>

class QSettings;

namespace vantrel::app {

// What the 6-byte settings file cannot hold, in a QSettings store (INI text) beside it: the
// main window's geometry, the recent files, the last folder of the file dialogs and the
// chosen serial port by its path.
class Preferences {
public:
    static constexpr int kRecentFiles = 8;

    // An empty path keeps everything in memory only.
    explicit Preferences(const std::filesystem::path& file = {});
    ~Preferences();
    Preferences(const Preferences&) = delete;
    Preferences& operator=(const Preferences&) = delete;

    QByteArray geometry() const;
    void setGeometry(const QByteArray& geometry);

    // Newest first, at most kRecentFiles, no duplicates.
    QStringList recentFiles() const;
    void addRecentFile(const QString& path);
    void removeRecentFile(const QString& path);

    // The folder of the last file chosen in a file dialog; empty when none.
    QString lastFolder() const;
    void setLastFolder(const QString& folder);
    // Where the file dialogs start: the last folder while it exists, else `fallback`.
    QString startFolder(const QString& fallback) const;

    // The serial port last chosen, by its device path.
    QString portPath() const;
    void setPortPath(const QString& path);

    // Writes pending changes; false when the store could not be written.
    bool sync();

private:
    void setValue(const char* key, const QVariant& value);

    std::unique_ptr<QSettings> m_store;  // null: memory only
    QStringList m_recent;
    QString m_lastFolder;
    QString m_port;
    QByteArray m_geometry;
};

// The folder the file dialogs fall back to: the user's documents folder, else home.
QString DocumentsFolder();

}  // namespace vantrel::app
