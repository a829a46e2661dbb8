// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Export.h"

#include <QSaveFile>

namespace vantrel::history {

namespace {

std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string OneLine(const std::string& summary) {
    std::string line;
    std::size_t start = 0;
    while (start < summary.size()) {
        std::size_t end = summary.find("\r\n", start);
        if (end == std::string::npos) end = summary.size();
        const std::string part = summary.substr(start, end - start);
        if (!part.empty()) line += (line.empty() ? "" : " / ") + part;
        start = end + 2;
    }
    return line;
}

}  // namespace

std::string EntriesCsv(const std::vector<Entry>& entries) {
    std::string csv = "id,time_utc,station,user,port,operation,outcome,family,model,firmware,serial,summary,hash\r\n";
    for (const Entry& e : entries) {
        const std::optional<EntryDetails> details = ParseDetails(e.content);
        std::string firmware;
        std::string summary;
        if (details) {
            if (details->record.identity)
                firmware = std::to_string(details->record.identity->FirmwareVersion) + '.' +
                           std::to_string(details->record.identity->FirmwareRelease);
            summary = OneLine(details->record.summary);
        }
        for (const std::string& field :
             {std::to_string(e.id), e.time, Field(e.station), Field(e.user), Field(e.port), e.operation, e.outcome,
              std::to_string(e.family), std::to_string(e.model), firmware, Field(e.serial), Field(summary)})
            csv += field + ',';
        csv += e.hash + "\r\n";
    }
    return csv;
}

bool WriteEntriesCsv(const std::vector<Entry>& entries, const std::filesystem::path& path, std::string& problem) {
    QSaveFile file(QString::fromStdString(path.string()));
    const QByteArray csv = QByteArray::fromStdString(EntriesCsv(entries));
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        problem = file.errorString().toStdString();
        return false;
    }
    return true;
}

}  // namespace vantrel::history
