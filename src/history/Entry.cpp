// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Entry.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSysInfo>
#include <QUuid>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

#include "files/ProgramFile.h"
#include "resources/NumberFormat.h"

namespace vantrel::history {

namespace {

constexpr int kCells = 256;
constexpr int kUnsetCustomer = 255;  // the cells of a memory never written hold 0xFF
constexpr int kUnsetYearCode = 15;
constexpr int kUnsetOrder = 127;
constexpr int kUnsetProgressive = 8191;

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

std::string UserName() {
    for (const char* name : {"USER", "LOGNAME", "USERNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) return S(value);
    }
#ifdef Q_OS_UNIX
    if (const passwd* entry = getpwuid(getuid())) return entry->pw_name;
#endif
    return "?";
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    return S(QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())).toHex());
}

std::vector<std::uint8_t> FromHex(const QString& text) {
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    return {bytes.begin(), bytes.end()};
}

QJsonArray Writes(const std::vector<device::WriteEntry>& writes) {
    QJsonArray array;
    for (const device::WriteEntry& w : writes) array.append(QJsonArray{w.address, w.value});
    return array;
}

QJsonObject Verify(const device::VerifyResult& verify) {
    QJsonArray mismatches;
    for (const device::CellMismatch& m : verify.mismatches) mismatches.append(QJsonArray{m.address, m.expected, m.read});
    return {{"completed", verify.completed}, {"cellsChecked", verify.cellsChecked}, {"mismatches", mismatches}};
}

std::uint8_t Byte(const QJsonValue& value) { return static_cast<std::uint8_t>(value.toInt()); }

}  // namespace

std::string NewUuid() { return S(QUuid::createUuid().toString(QUuid::WithoutBraces)); }

std::string UtcNow() { return S(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)); }

Stamp StampNow() {
    Stamp stamp;
    stamp.uuid = NewUuid();
    stamp.time = UtcNow();
    stamp.station = S(QSysInfo::machineHostName());
    stamp.user = UserName();
    return stamp;
}

bool SerialUnset(const device::SerialNumber& serial) {
    const bool zero = serial.customer == 0 && serial.yearCode == 0 && serial.order == 0 && serial.progressive == 0;
    const bool blank = serial.customer == kUnsetCustomer && serial.yearCode == kUnsetYearCode &&
                       serial.order == kUnsetOrder && serial.progressive == kUnsetProgressive;
    return zero || blank;
}

std::string SerialKey(const std::optional<device::SerialNumber>& serial) {
    if (!serial || SerialUnset(*serial)) return kUnknownSerial;
    return std::to_string(serial->customer) + '-' +
           resources::Format(serial->yearCode + device::kYearShownOffset, "00") + '-' + std::to_string(serial->order) +
           '-' + std::to_string(serial->progressive);
}

std::optional<std::string> NormalizeSerial(const std::string& text) {
    const QString trimmed = Q(text).trimmed();
    if (trimmed.compare(kUnknownSerial, Qt::CaseInsensitive) == 0) return std::string(kUnknownSerial);
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)\\D+(\\d+)\\D+(\\d+)\\D+(\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(trimmed);
    if (!match.hasMatch()) return std::nullopt;
    device::SerialNumber serial;
    serial.customer = match.captured(1).toInt();
    serial.yearCode = match.captured(2).toInt() - device::kYearShownOffset;
    serial.order = match.captured(3).toInt();
    serial.progressive = match.captured(4).toInt();
    if (serial.yearCode < 0) return std::nullopt;
    return SerialKey(serial);
}

std::string ChainHash(long long id, const std::string& previousHash, const std::string& content) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(id));
    hash.addData(QByteArrayView("\n"));
    hash.addData(QByteArray::fromStdString(previousHash));
    hash.addData(QByteArrayView("\n"));
    hash.addData(QByteArray::fromStdString(content));
    return S(QString::fromLatin1(hash.result().toHex()));
}

std::optional<std::string> NormalizeTime(const std::string& text) {
    const QString trimmed = Q(text).trimmed();
    QDateTime time;
    const QDate date = QDate::fromString(trimmed, Qt::ISODate);
    if (date.isValid() && trimmed.size() == 10) {
        time = QDateTime(date, QTime(0, 0), Qt::UTC);
    } else {
        time = QDateTime::fromString(trimmed, Qt::ISODateWithMs);
        if (!time.isValid()) return std::nullopt;
        // A time without an offset is taken as UTC, like every stored time.
        if (time.timeSpec() == Qt::LocalTime) time.setTimeSpec(Qt::UTC);
    }
    return S(time.toUTC().toString(Qt::ISODateWithMs));
}

std::string MemoryText(const session::MemoryImage& image) {
    static const char* digits = "0123456789abcdef";
    std::string text;
    if (image.Empty()) return text;
    text.reserve(2 * kCells);
    for (int a = 0; a < kCells; ++a) {
        if (!image.Has(a)) {
            text += "..";
            continue;
        }
        const std::uint8_t value = image.cells[static_cast<std::size_t>(a)];
        text += digits[value >> 4];
        text += digits[value & 15];
    }
    return text;
}

session::MemoryImage MemoryFromText(const std::string& text) {
    session::MemoryImage image;
    if (text.size() != 2 * kCells) return image;
    for (int a = 0; a < kCells; ++a) {
        const std::string pair = text.substr(static_cast<std::size_t>(2 * a), 2);
        bool ok = false;
        const int value = Q(pair).toInt(&ok, 16);
        if (ok) image.Put(a, static_cast<std::uint8_t>(value));
    }
    return image;
}

Entry MakeEntry(const session::OperationRecord& record, const Stamp& stamp) {
    QJsonObject o;
    o["uuid"] = Q(stamp.uuid);
    o["time"] = Q(stamp.time);
    o["station"] = Q(stamp.station);
    o["user"] = Q(stamp.user);
    o["port"] = Q(record.port);
    o["operation"] = session::OperationKey(record.operation);
    o["outcome"] = session::OutcomeKey(record.outcome);
    const device::Identity identity = record.identity.value_or(device::Identity{0, 0, 0, 0});
    o["family"] = identity.DeviceFamily;
    o["model"] = identity.DeviceModel;
    o["firmwareVersion"] = identity.FirmwareVersion;
    o["firmwareRelease"] = identity.FirmwareRelease;
    o["serial"] = Q(SerialKey(record.serial));
    if (record.serial)
        o["serialNumber"] = QJsonObject{{"customer", record.serial->customer},
                                        {"yearCode", record.serial->yearCode},
                                        {"order", record.serial->order},
                                        {"progressive", record.serial->progressive}};
    o["summary"] = Q(record.summary);
    if (!record.configuration.empty()) o["configuration"] = Q(Hex(record.configuration));
    if (!record.memoryBefore.Empty()) o["memoryBefore"] = Q(MemoryText(record.memoryBefore));
    if (!record.memoryAfter.Empty()) o["memoryAfter"] = Q(MemoryText(record.memoryAfter));
    if (!record.writes.empty()) o["writes"] = Writes(record.writes);
    if (record.verify) o["verify"] = Verify(*record.verify);
    // QJsonObject keeps its keys sorted: the compact text is the canonical form.
    const std::string content = QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString();
    return *EntryFromContent(content);
}

std::optional<Entry> EntryFromContent(const std::string& content) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(content), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    const QJsonObject o = document.object();
    Entry entry;
    entry.uuid = S(o["uuid"].toString());
    entry.time = S(o["time"].toString());
    if (entry.uuid.empty() || entry.time.empty()) return std::nullopt;
    entry.station = S(o["station"].toString());
    entry.user = S(o["user"].toString());
    entry.port = S(o["port"].toString());
    entry.operation = S(o["operation"].toString());
    entry.outcome = S(o["outcome"].toString());
    entry.family = o["family"].toInt();
    entry.model = o["model"].toInt();
    entry.serial = S(o["serial"].toString());
    entry.content = content;
    return entry;
}

std::optional<EntryDetails> ParseDetails(const std::string& content) {
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(content));
    if (!document.isObject()) return std::nullopt;
    const QJsonObject o = document.object();
    EntryDetails details;
    session::OperationRecord& r = details.record;
    r.operation = session::OperationFromKey(S(o["operation"].toString())).value_or(session::Operation::Read);
    r.outcome = session::OutcomeFromKey(S(o["outcome"].toString())).value_or(session::Outcome::CommunicationFailed);
    r.port = S(o["port"].toString());
    if (o["family"].toInt() != 0)
        r.identity = device::Identity{o["family"].toInt(), o["model"].toInt(), o["firmwareVersion"].toInt(),
                                      o["firmwareRelease"].toInt()};
    if (o.contains("serialNumber")) {
        const QJsonObject s = o["serialNumber"].toObject();
        r.serial = device::SerialNumber{s["customer"].toInt(), s["yearCode"].toInt(), s["order"].toInt(),
                                        s["progressive"].toInt()};
        details.serialUnset = SerialUnset(*r.serial);
    }
    r.summary = S(o["summary"].toString());
    r.configuration = FromHex(o["configuration"].toString());
    r.memoryBefore = MemoryFromText(S(o["memoryBefore"].toString()));
    r.memoryAfter = MemoryFromText(S(o["memoryAfter"].toString()));
    for (const QJsonValue w : o["writes"].toArray())
        r.writes.push_back({Byte(w.toArray().at(0)), Byte(w.toArray().at(1))});
    if (o.contains("verify")) {
        const QJsonObject v = o["verify"].toObject();
        device::VerifyResult verify;
        verify.completed = v["completed"].toBool();
        verify.cellsChecked = v["cellsChecked"].toInt();
        for (const QJsonValue m : v["mismatches"].toArray()) {
            const QJsonArray cell = m.toArray();
            verify.mismatches.push_back({Byte(cell.at(0)), Byte(cell.at(1)), Byte(cell.at(2))});
        }
        r.verify = verify;
    }
    return details;
}

std::optional<device::ConfigRecord> EntryConfiguration(const EntryDetails& details) {
    const std::vector<std::uint8_t>& bytes = details.record.configuration;
    if (bytes.size() < files::kRecordSize) return std::nullopt;
    device::ConfigRecord record;
    if (files::DecodeRecord(bytes, record) != files::FileError::None) return std::nullopt;
    return record;
}

}  // namespace vantrel::history
