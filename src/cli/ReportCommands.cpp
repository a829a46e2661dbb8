// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <chrono>
#include <ctime>
#include <ostream>

#include "cli/Commands.h"
#include "cli/DeviceContext.h"
#include "files/Json.h"
#include "files/ProgramFile.h"
#include "resources/StringTable.h"
#include "session/Flows.h"
#include "session/Operations.h"
#include "session/Records.h"
#include "session/Reports.h"
#include "ui/model/ProgramFileCommands.h"
#include "ui/print/ReportDocument.h"

namespace vantrel::cli {

using files::JsonWriter;

namespace {


bool Json(const Context& context) { return context.invocation.HasFlag("--json"); }

std::string Now() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

// A session with no line: the form a file is pushed into for its report.
class OfflineSession {
public:
    explicit OfflineSession(const Context& context) : m_dialogs(context.err, 0, true) {
        m_session = std::make_unique<session::Session>(m_transport, m_clock, m_dialogs, m_host);
        m_session->state.SetLanguageIndex(context.invocation.global.languageIndex);
        m_session->state.SetLanguageOffset(context.languageOffset());
        m_session->form.Load(m_session->state.identity, ui::Mode::Programming);
    }
    session::Session& session() { return *m_session; }

private:
    class NoLine final : public link::Transport {
    public:
        link::OpenResult open(const std::string&, const link::LineSettings&) override {
            return {link::OpenError::NoSuchPort, {}};
        }
        void close() override {}
        bool isOpen() const override { return false; }
        bool write(std::string_view) override { return false; }
        std::string readAll() override { return {}; }
        void discardInput() override {}
        std::size_t bytesAvailable() override { return 0; }
    };
    NoLine m_transport;
    link::VirtualClock m_clock;
    HeadlessDialogs m_dialogs;
    ui::NoWindowsHost m_host;
    std::unique_ptr<session::Session> m_session;
};

int WritePdf(Context& context, const ui::ConfigReport& report, const std::string& out) {
    return WriteOutputFile(context, out, print::ReportPdf(report));
}

}  // namespace

int Report(Context& context) {
    const std::vector<std::string> positionals = context.invocation.Positionals();
    const std::optional<std::string> out = context.invocation.OptionValue("--out");
    if (positionals.size() > 2 || !out) {
        context.err << "usage: vantrel-cli report [FILE.D70] --out REPORT.pdf\n";
        return kExitUsage;
    }
    if (positionals.size() == 2) {
        const std::optional<device::ConfigRecord> record = ReadProgrammingFile(context, positionals[1]);
        if (!record) return kExitInvalidFile;
        OfflineSession offline(context);
        session::Session& s = offline.session();
        if (!session::LoadRecord(s, *record)) {
            context.err << resources::Text(resources::text::kInvalidFile, context.languageOffset()) << '\n' << positionals[1] << '\n'
                        << resources::Text(resources::text::kFileDoesNotFitTransmitter, context.languageOffset()) << '\n';
            return kExitInvalidFile;
        }
        s.state.CurrentFile = positionals[1];
        if (const auto problem = session::CheckFormConfiguration(s)) {
            context.err << positionals[1] << ":\n" << device::ConfigProblemText(*problem, context.languageOffset()) << '\n';
            return kExitInvalidFile;
        }
        return WritePdf(context, session::SessionReport(s, false, Now()), *out);
    }
    int exitCode = kExitDone;
    auto device = OpenDevice(context, false, DeviceReach::Loaded, exitCode);
    if (!device) return exitCode;
    session::Session& s = device->session();
    return WritePdf(context, session::SessionReport(s, true, Now()), *out);
}

int Compare(Context& context) {
    const std::vector<std::string> positionals = context.invocation.Positionals();
    if (positionals.size() != 2) {
        context.err << "usage: vantrel-cli compare FILE.D70 [--json]\n";
        return kExitUsage;
    }
    const std::optional<device::ConfigRecord> file = ReadProgrammingFile(context, positionals[1]);
    if (!file) return kExitInvalidFile;
    int exitCode = kExitDone;
    auto device = OpenDevice(context, false, DeviceReach::Identified, exitCode);
    if (!device) return exitCode;
    session::Session& s = device->session();
    const std::optional<ui::Comparison> comparison = session::CompareWithDevice(s, *file);
    if (!comparison) return kExitCommunication;
    const int o = context.languageOffset();
    if (Json(context)) {
        JsonWriter json;
        json.BeginObject().Key("equal").Value(comparison->Equal()).Key("differing").Value(comparison->DifferingCount());
        json.Key("fields").BeginArray();
        for (const ui::CompareRow& row : comparison->rows)
            json.BeginObject().Key("field").Value(row.label).Key("transmitter").Value(row.deviceValue)
                .Key("file").Value(row.fileValue).Key("differs").Value(row.differs).EndObject();
        json.EndArray().EndObject();
        context.out << json.str() << '\n';
    } else {
        PrintComparison(context, *comparison, resources::Text(resources::text::kCompareTransmitter, o),
                        resources::Text(resources::text::kFile, o));
    }
    return comparison->Equal() ? kExitDone : kExitDifferent;
}

void PrintComparison(Context& context, const ui::Comparison& comparison, const std::string& left,
                     const std::string& right) {
    const int o = context.languageOffset();
    std::size_t width = 0;
    for (const ui::CompareRow& row : comparison.rows) width = std::max(width, row.label.size());
    width = std::min<std::size_t>(width, 40);
    // Columns counted in characters, not bytes ("Unità", "°C").
    const auto length = [](const std::string& text) {
        return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    };
    const auto pad = [&](std::string text, std::size_t n) {
        const std::size_t shown = length(text);
        if (shown < n) text.append(n - shown, ' ');
        return text;
    };
    context.out << "  " << pad(resources::Text(resources::text::kCompareField, o), width + 2) << pad(left, 26) << right
                << '\n';
    for (const ui::CompareRow& row : comparison.rows)
        context.out << (row.differs ? "* " : "  ") << pad(row.label, width + 2)
                    << pad(row.deviceValue.empty() ? "-" : row.deviceValue, 26)
                    << (row.fileValue.empty() ? "-" : row.fileValue) << '\n';
    if (comparison.Equal())
        context.out << resources::Text(resources::text::kCompareEqual, o) << '\n';
    else
        context.out << resources::Text(resources::text::kCompareDifferent, o) << ' ' << comparison.DifferingCount()
                    << '\n';
}

}  // namespace vantrel::cli
