// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Preferences.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace vantrel::app {

namespace {

constexpr const char* kGeometryKey = "window/geometry";
constexpr const char* kRecentKey = "files/recent";
constexpr const char* kLastFolderKey = "files/lastFolder";
constexpr const char* kPortKey = "link/port";

}  // namespace

Preferences::Preferences(const std::filesystem::path& file) {
    if (file.empty()) return;
    QDir().mkpath(QString::fromStdString(file.parent_path().string()));
    m_store = std::make_unique<QSettings>(QString::fromStdString(file.string()), QSettings::IniFormat);
    m_geometry = m_store->value(kGeometryKey).toByteArray();
    m_recent = m_store->value(kRecentKey).toStringList();
    m_lastFolder = m_store->value(kLastFolderKey).toString();
    m_port = m_store->value(kPortKey).toString();
    m_recent.removeDuplicates();
    while (m_recent.size() > kRecentFiles) m_recent.removeLast();
}

Preferences::~Preferences() { sync(); }

void Preferences::setValue(const char* key, const QVariant& value) {
    if (m_store) m_store->setValue(key, value);
}

QByteArray Preferences::geometry() const { return m_geometry; }

void Preferences::setGeometry(const QByteArray& geometry) {
    m_geometry = geometry;
    setValue(kGeometryKey, geometry);
}

QStringList Preferences::recentFiles() const { return m_recent; }

void Preferences::addRecentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_recent.removeAll(absolute);
    m_recent.prepend(absolute);
    while (m_recent.size() > kRecentFiles) m_recent.removeLast();
    setValue(kRecentKey, m_recent);
}

void Preferences::removeRecentFile(const QString& path) {
    m_recent.removeAll(path);
    setValue(kRecentKey, m_recent);
}

QString Preferences::lastFolder() const { return m_lastFolder; }

void Preferences::setLastFolder(const QString& folder) {
    m_lastFolder = folder;
    setValue(kLastFolderKey, folder);
}

QString Preferences::startFolder(const QString& fallback) const {
    if (!m_lastFolder.isEmpty() && QFileInfo(m_lastFolder).isDir()) return m_lastFolder;
    return fallback;
}

QString Preferences::portPath() const { return m_port; }

void Preferences::setPortPath(const QString& path) {
    m_port = path;
    setValue(kPortKey, path);
}

bool Preferences::sync() {
    if (!m_store) return true;
    m_store->sync();
    return m_store->status() == QSettings::NoError;
}

QString DocumentsFolder() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

}  // namespace vantrel::app
