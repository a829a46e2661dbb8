// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <ostream>

#include "cli/Commands.h"
#include "cli/History.h"
#include "device/Identify.h"
#include "history/Export.h"
#include "history/Spool.h"
#include "history/Store.h"
#include "resources/StringTable.h"
#include "ui/model/ConfigCompare.h"
#include "ui/model/RecordFields.h"

namespace vantrel::cli {

namespace {

namespace txt = resources::text;

bool Json(const Context& context) { return context.invocation.HasFlag("--json"); }

std::string T(const Context& context, int id) { return resources::Text(id, context.languageOffset()); }

std::string OperationName(const Context& context, const std::string& key) {
    const auto operation = session::OperationFromKey(key);
    return operation ? T(context, session::OperationTextId(*operation)) : key;
}

std::string OutcomeName(const Context& context, const std::string& key) {
    const auto outcome = session::OutcomeFromKey(key);
    return outcome ? T(context, session::OutcomeTextId(*outcome)) : key;
}

// The database the history commands read, with what a run left in its spool written first,
// so that the lists are complete.
std::unique_ptr<history::Store> OpenStore(Context& context, int& exitCode) {
    const std::optional<history::Connection> connection = HistoryConnection(context);
    if (!connection) {
        exitCode = kExitUsage;
        return nullptr;
    }
    std::string problem;
    std::unique_ptr<history::Store> store = history::Store::Open(*connection, problem);
    if (!store) {
        context.err << T(context, txt::kHistoryCannotOpen) << ' ' << problem << '\n';
        exitCode = kExitCommunication;
        return nullptr;
    }
    history::Spool spool(history::SpoolFileFor(*connection));
    if (!spool.Empty()) spool.Replay(*store);
    return store;
}

// --serial and --since; false (with a message) when either is not understood.
bool ReadFilter(Context& context, history::Filter& filter) {
    if (const auto serial = context.invocation.OptionValue("--serial")) {
        filter.serial = history::NormalizeSerial(*serial);
        if (!filter.serial) {
            context.err << "vantrel-cli: --serial takes a serial number such as 12-10-91-528, or unknown\n";
            return false;
        }
    }
    if (const auto since = context.invocation.OptionValue("--since")) {
        filter.since = history::NormalizeTime(*since);
        if (!filter.since) {
            context.err << "vantrel-cli: --since takes a date such as 2024-05-03 or 2024-05-03T14:00\n";
            return false;
        }
    }
    return true;
}

std::optional<long long> EntryId(const std::string& text) {
    if (text.empty() || text.size() > 18 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoll(text);
}

// The entry named on the command line; empty, with a message and the exit code, when there is
// none of that number.
std::optional<history::Entry> NamedEntry(Context& context, history::Store& store, const std::string& text,
                                         int& exitCode) {
    const std::optional<long long> id = EntryId(text);
    std::optional<history::Entry> entry = id ? store.Get(*id) : std::nullopt;
    if (!entry) {
        context.err << T(context, txt::kHistoryNoEntry) << ' ' << text << '\n';
        exitCode = kExitUsage;
    }
    return entry;
}

QJsonObject ColumnsJson(const history::Entry& e) {
    return {{"id", e.id},           {"time", QString::fromStdString(e.time)},
            {"station", QString::fromStdString(e.station)}, {"user", QString::fromStdString(e.user)},
            {"port", QString::fromStdString(e.port)},       {"operation", QString::fromStdString(e.operation)},
            {"outcome", QString::fromStdString(e.outcome)}, {"family", e.family},
            {"model", e.model},     {"serial", QString::fromStdString(e.serial)},
            {"hash", QString::fromStdString(e.hash)}};
}

std::string ModelText(const history::Entry& e) { return std::to_string(e.family) + '/' + std::to_string(e.model); }

void PrintMemory(Context& context, int titleId, const session::MemoryImage& image) {
    if (image.Empty()) return;
    context.out << T(context, titleId) << ":\n";
    const std::string text = history::MemoryText(image);
    for (int row = 0; row < 16; ++row) {
        char address[8];
        std::snprintf(address, sizeof address, "%5d:", row * 16);
        context.out << address;
        for (int i = 0; i < 16; ++i) context.out << ' ' << text.substr(static_cast<std::size_t>((row * 16 + i) * 2), 2);
        context.out << '\n';
    }
}

void PrintLines(Context& context, const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        context.out << "  " << text.substr(start, end - start) << '\n';
        start = end + 2;
    }
}

}  // namespace

std::optional<history::Connection> HistoryConnection(Context& context) {
    const auto& named = context.invocation.global.history;
    std::string problem;
    std::optional<history::Connection> connection = history::ParseConnection(named.value_or(""), problem);
    if (!connection) context.err << T(context, txt::kHistoryConnectionInvalid) << ' ' << *named << ": " << problem << '\n';
    return connection;
}

std::unique_ptr<history::HistoryRecorder> OpenRecorder(Context& context, int& exitCode) {
    if (context.invocation.global.noHistory) return nullptr;
    const std::optional<history::Connection> connection = HistoryConnection(context);
    if (!connection) {
        exitCode = kExitUsage;
        return nullptr;
    }
    return std::make_unique<history::HistoryRecorder>(history::RecorderSettings{*connection, {}, {}});
}

void FinishRecording(std::ostream& err, int languageOffset, history::HistoryRecorder& recorder) {
    recorder.Flush();
    bool serialSaid = false;
    for (const history::Notice& notice : recorder.TakeNotices()) {
        switch (notice.kind) {
            case history::Notice::Kind::SerialUnset:
                if (!serialSaid) err << resources::Text(txt::kHistorySerialUnset, languageOffset) << '\n';
                serialSaid = true;
                break;
            case history::Notice::Kind::DatabaseNotWritten:
            case history::Notice::Kind::EntryLost:
                err << resources::Text(txt::kHistoryNotWritten, languageOffset) << '\n' << notice.detail << '\n';
                break;
        }
    }
}

int HistoryList(Context& context) {
    history::Filter filter;
    if (!ReadFilter(context, filter)) return kExitUsage;
    int exitCode = kExitDone;
    const auto store = OpenStore(context, exitCode);
    if (!store) return exitCode;
    const std::vector<history::Entry> entries = store->List(filter);
    if (!store->lastError().empty()) {
        context.err << T(context, txt::kHistoryCannotOpen) << ' ' << store->lastError() << '\n';
        return kExitCommunication;
    }
    if (Json(context)) {
        QJsonArray array;
        for (const history::Entry& e : entries) array.append(ColumnsJson(e));
        context.out << QJsonDocument(array).toJson(QJsonDocument::Compact).toStdString() << '\n';
        return kExitDone;
    }
    for (const history::Entry& e : entries)
        context.out << e.id << "  " << e.time << "  " << e.station << "  " << e.user << "  " << e.port << "  "
                    << OperationName(context, e.operation) << "  " << OutcomeName(context, e.outcome) << "  "
                    << ModelText(e) << "  " << e.serial << '\n';
    if (entries.empty()) context.err << T(context, txt::kHistoryNoEntries) << '\n';
    return kExitDone;
}

int HistoryShow(Context& context) {
    const std::vector<std::string> positionals = context.invocation.Positionals();
    if (positionals.size() != 3) {
        context.err << "usage: vantrel-cli history show ID [--json]\n";
        return kExitUsage;
    }
    int exitCode = kExitDone;
    const auto store = OpenStore(context, exitCode);
    if (!store) return exitCode;
    const std::optional<history::Entry> entry = NamedEntry(context, *store, positionals[2], exitCode);
    if (!entry) return exitCode;
    if (Json(context)) {
        QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(entry->content)).object();
        object["id"] = entry->id;
        object["previousHash"] = QString::fromStdString(entry->previousHash);
        object["hash"] = QString::fromStdString(entry->hash);
        context.out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
        return kExitDone;
    }
    const std::optional<history::EntryDetails> details = history::ParseDetails(entry->content);
    if (!details) {
        context.err << T(context, txt::kHistoryEntry) << ' ' << entry->id << ": " << T(context, txt::kHistoryContentChanged)
                    << '\n';
        return kExitHistoryBroken;
    }
    const session::OperationRecord& r = details->record;
    const int o = context.languageOffset();
    context.out << T(context, txt::kHistoryEntry) << ": " << entry->id << '\n'
                << T(context, txt::kHistoryTime) << ": " << entry->time << '\n'
                << T(context, txt::kHistoryStation) << ": " << entry->station << '\n'
                << T(context, txt::kHistoryUser) << ": " << entry->user << '\n'
                << T(context, txt::kHistoryPort) << ": " << entry->port << '\n'
                << T(context, txt::kHistoryOperation) << ": " << OperationName(context, entry->operation) << '\n'
                << T(context, txt::kHistoryOutcome) << ": " << OutcomeName(context, entry->outcome) << '\n'
                << T(context, txt::kHistoryModel) << ": " << ModelText(*entry) << '\n';
    if (r.identity)
        context.out << T(context, txt::kHistoryFirmware) << ": " << r.identity->FirmwareVersion << '.'
                    << r.identity->FirmwareRelease << '\n';
    context.out << T(context, txt::kHistorySerial) << ": " << entry->serial << '\n';
    if (details->serialUnset) context.out << T(context, txt::kHistorySerialUnset) << '\n';
    if (!r.summary.empty()) {
        context.out << T(context, txt::kHistorySummary) << ":\n";
        PrintLines(context, r.summary);
    }
    if (!r.writes.empty()) context.out << T(context, txt::kHistoryWrites) << ": " << r.writes.size() << '\n';
    if (r.verify) {
        context.out << T(context, txt::kHistoryVerification) << ": ";
        if (!r.verify->completed) context.out << T(context, txt::kVerifyIncomplete) << '\n';
        else if (r.verify->mismatches.empty()) context.out << T(context, txt::kVerifyPassed) << ' ' << r.verify->cellsChecked << '\n';
        else context.out << T(context, txt::kVerifyFailed) << ' ' << r.verify->mismatches.size() << '\n';
    }
    if (const std::optional<device::ConfigRecord> record = history::EntryConfiguration(*details)) {
        context.out << T(context, txt::kHistoryConfiguration) << ":\n";
        const ui::FieldContext fields{o, r.identity.value_or(device::Identity{})};
        for (const ui::FieldText& field : ui::DescribeFields(*record, fields))
            if (field.applies)
                context.out << "  " << field.label << (field.index >= 0 ? " " + std::to_string(field.index) : "")
                            << ": " << field.value << '\n';
    }
    PrintMemory(context, txt::kHistoryMemoryBefore, r.memoryBefore);
    PrintMemory(context, txt::kHistoryMemoryAfter, r.memoryAfter);
    context.out << T(context, txt::kHistoryHash) << ": " << entry->hash << '\n';
    return kExitDone;
}

int HistoryDiff(Context& context) {
    const std::vector<std::string> positionals = context.invocation.Positionals();
    if (positionals.size() != 4) {
        context.err << "usage: vantrel-cli history diff ID1 ID2\n";
        return kExitUsage;
    }
    int exitCode = kExitDone;
    const auto store = OpenStore(context, exitCode);
    if (!store) return exitCode;
    std::optional<device::ConfigRecord> records[2];
    std::optional<history::Entry> entries[2];
    std::optional<device::Identity> identity;
    for (int i = 0; i < 2; ++i) {
        entries[i] = NamedEntry(context, *store, positionals[static_cast<std::size_t>(2 + i)], exitCode);
        if (!entries[i]) return exitCode;
        const std::optional<history::EntryDetails> details = history::ParseDetails(entries[i]->content);
        if (details) records[i] = history::EntryConfiguration(*details);
        if (!records[i]) {
            context.err << T(context, txt::kHistoryNoConfiguration) << ": " << entries[i]->id << '\n';
            return kExitInvalidFile;
        }
        if (!identity && details->record.identity) identity = details->record.identity;
    }
    const history::Entry& a = *entries[0];
    const history::Entry& b = *entries[1];
    if (a.serial != b.serial || a.family != b.family || a.model != b.model)
        context.err << T(context, txt::kHistoryOtherTransmitters) << '\n';
    const ui::Comparison comparison =
        ui::CompareConfigurations(*records[0], *records[1], {context.languageOffset(), identity.value_or(device::Identity{})});
    PrintComparison(context, comparison, "#" + std::to_string(a.id) + " " + a.time.substr(0, 16),
                    "#" + std::to_string(b.id) + " " + b.time.substr(0, 16));
    return comparison.Equal() ? kExitDone : kExitDifferent;
}

int HistoryExport(Context& context) {
    const std::optional<std::string> out = context.invocation.OptionValue("--csv");
    if (!out) {
        context.err << "usage: vantrel-cli history export --csv OUT.csv [--serial S] [--since DATE]\n";
        return kExitUsage;
    }
    history::Filter filter;
    if (!ReadFilter(context, filter)) return kExitUsage;
    int exitCode = kExitDone;
    const auto store = OpenStore(context, exitCode);
    if (!store) return exitCode;
    const std::vector<history::Entry> entries = store->List(filter, true);
    std::string problem;
    if (!history::WriteEntriesCsv(entries, *out, problem)) {
        context.err << T(context, txt::kFileNotWritten) << ' ' << *out << ": " << problem << '\n';
        return kExitOutputNotWritten;
    }
    context.out << T(context, txt::kHistoryWritten) << ' ' << entries.size() << '\n';
    return kExitDone;
}

int HistoryCheck(Context& context) {
    int exitCode = kExitDone;
    const auto store = OpenStore(context, exitCode);
    if (!store) return exitCode;
    const history::ChainCheck check = store->Check();
    switch (check.problem) {
        case history::ChainCheck::Problem::None:
            context.out << T(context, txt::kHistoryChainIntact) << ' ' << check.entries << '\n';
            return kExitDone;
        case history::ChainCheck::Problem::Unreadable:
            context.err << T(context, txt::kHistoryCannotOpen) << ' ' << store->lastError() << '\n';
            return kExitCommunication;
        case history::ChainCheck::Problem::ContentChanged:
        case history::ChainCheck::Problem::PreviousMissing:
            break;
    }
    const int reason = check.problem == history::ChainCheck::Problem::ContentChanged ? txt::kHistoryContentChanged
                                                                                     : txt::kHistoryPreviousMissing;
    context.out << T(context, txt::kHistoryChainBroken) << ' ' << check.brokenId << ": " << T(context, reason) << '\n';
    return kExitHistoryBroken;
}

}  // namespace vantrel::cli
