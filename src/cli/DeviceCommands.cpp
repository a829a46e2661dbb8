// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <ostream>

#include "cli/Commands.h"
#include "cli/DeviceContext.h"
#include "cli/PreviewOutput.h"
#include "files/Json.h"
#include "cli/LiveMeasure.h"
#include "cli/Progress.h"
#include "device/Identify.h"
#include "files/ProgramFile.h"
#include "link/PortTable.h"
#include "link/QtSerialTransport.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"
#include "session/Flows.h"
#include "session/Operations.h"
#include "ui/model/ProgramFileCommands.h"

namespace vantrel::cli {

using files::JsonWriter;

namespace {

bool Json(const Context& context) { return context.invocation.HasFlag("--json"); }


// Lines split at CR LF.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void WriteSerial(JsonWriter& json, const device::SerialNumber& serial) {
    json.BeginObject()
        .Key("customer").Value(serial.customer)
        .Key("yearCode").Value(serial.yearCode)
        .Key("order").Value(serial.order)
        .Key("progressive").Value(serial.progressive)
        .EndObject();
}

// The identity keys shared by identify and dump.
void WriteIdentity(JsonWriter& json, const device::Identity& identity) {
    json.Key("family").Value(identity.DeviceFamily)
        .Key("model").Value(identity.DeviceModel)
        .Key("firmwareVersion").Value(identity.FirmwareVersion)
        .Key("firmwareRelease").Value(identity.FirmwareRelease);
}

session::SessionView& QuietView() {
    static session::SessionView view;
    return view;
}

}  // namespace

int Ports(Context& context) {
    const std::vector<std::string> names = link::SortPortNames(link::ListSystemPorts());
    link::QtSerialTransport transport;
    link::PortTable table = link::ProbePorts(transport, names, 0);
    link::DescribePorts(table, link::ListSystemPortInfos());
    if (Json(context)) {
        JsonWriter json;
        json.BeginArray();
        for (const link::PortEntry& entry : table.entries) {
            if (entry.name.empty()) continue;
            json.BeginObject().Key("number").Value(entry.number).Key("name").Value(entry.name)
                .Key("description").Value(entry.description)
                .Key("exists").Value(entry.exists).Key("busy").Value(entry.busy).EndObject();
        }
        json.EndArray();
        context.out << json.str() << '\n';
    } else {
        for (const link::PortEntry& entry : table.entries) {
            if (entry.name.empty()) continue;
            context.out << entry.number << ' ' << entry.name
                        << (entry.description.empty() ? "" : "  " + entry.description)
                        << (entry.exists ? "" : " (missing)")
                        << (entry.busy ? " (busy)" : "") << '\n';
        }
    }
    return kExitDone;
}

int Identify(Context& context) {
    int exitCode = kExitDone;
    auto device = OpenDevice(context, false, DeviceReach::Identified, exitCode);
    if (!device) return exitCode;
    session::Session& s = device->session();
    // The version read put the transmitter in programming mode; "$FPxx" ends it, as after
    // every other exchange.
    s.protocol.SendCommand(link::frames::kEndProgramming);
    const device::Identity& identity = s.state.identity;
    const device::Identification identification = device::Identify(identity);
    const std::string identityLine = device::IdentityLine(identification.modelNames, identity);
    if (Json(context)) {
        JsonWriter json;
        json.BeginObject();
        WriteIdentity(json, identity);
        json.Key("modelNames").BeginArray();
        for (const std::string& name : Lines(identification.modelNames))
            if (!name.empty()) json.Value(name);
        json.EndArray().Key("identityLine").Value(identityLine).EndObject();
        context.out << json.str() << '\n';
    } else {
        for (const std::string& line : Lines(identityLine)) context.out << line << '\n';
    }
    return Finish(context, *device, kExitDone);
}

int Read(Context& context) {
    int exitCode = kExitDone;
    auto device = OpenDevice(context, false, DeviceReach::Loaded, exitCode);
    if (!device) return exitCode;
    session::Session& s = device->session();
    const device::ReadConfiguration& read = *s.lastRead;
    const device::ReadValues& v = read.values;
    if (Json(context)) {
        JsonWriter json;
        json.BeginObject().Key("serial");
        WriteSerial(json, read.serial);
        json.Key("inputCode").Value(v.inputCode)
            .Key("flags").Value(v.flags)
            .Key("outputFlags").Value(static_cast<int>(v.outputFlags))
            .Key("outputType").Value(v.outputType)
            .Key("tripFlags").Value(static_cast<int>(v.tripFlags))
            .Key("rangeTop").Value(v.rangeTop)
            .Key("rangeBottom").Value(v.rangeBottom)
            .Key("outputFirst").Value(v.outputFirst)
            .Key("outputSecond").Value(v.outputSecond)
            .Key("zeroAdjust").Value(v.zeroAdjust)
            .Key("spanAdjust").Value(v.spanAdjust)
            .Key("tripValues").BeginArray();
        for (int i = 1; i <= 5; ++i) json.Value(v.tripValues[static_cast<std::size_t>(i)]);
        json.EndArray().Key("summary").Value(s.form.summary()).EndObject();
        context.out << json.str() << '\n';
    } else {
        for (const std::string& line : Lines(s.form.summary())) context.out << line << '\n';
    }
    return Finish(context, *device, kExitDone);
}

int Serial(Context& context) {
    int exitCode = kExitDone;
    auto device = OpenDevice(context, false, DeviceReach::Identified, exitCode);
    if (!device) return exitCode;
    const auto serial = session::ReadSerial(device->session());
    if (!serial) return Finish(context, *device, kExitCommunication);
    if (Json(context)) {
        JsonWriter json;
        WriteSerial(json, *serial);
        context.out << json.str() << '\n';
    } else {
        context.out << session::SerialText(*serial) << '\n';
    }
    return Finish(context, *device, kExitDone);
}

int Dump(Context& context) {
    int exitCode = kExitDone;
    auto device = OpenDevice(context, false, DeviceReach::Identified, exitCode);
    if (!device) return exitCode;
    session::Session& s = device->session();
    const std::optional<device::MemoryImage> cells = session::ReadMemory(s);
    if (!cells) return Finish(context, *device, kExitCommunication);
    const device::Identity& identity = s.state.identity;
    if (Json(context)) {
        JsonWriter json;
        json.BeginObject();
        WriteIdentity(json, identity);
        json.Key("memory").Value(sim::ToHex(*cells)).EndObject();
        context.out << json.str() << '\n';
    } else {
        const std::string hex = sim::ToHex(*cells);
        for (int row = 0; row < device::kMemorySize / 16; ++row) {
            char address[8];
            std::snprintf(address, sizeof address, "%3d:", row * 16);
            context.out << address;
            for (int i = 0; i < 16; ++i) context.out << ' ' << hex.substr(static_cast<std::size_t>((row * 16 + i) * 2), 2);
            context.out << '\n';
        }
    }
    return Finish(context, *device, kExitDone);
}

namespace {

// The file dialog of a headless run: the file named on the command line.
class NamedFile final : public ui::FileDialogs {
public:
    explicit NamedFile(std::string path) : m_path(std::move(path)) {}
    std::string OpenFileName(const ui::FileDialogRequest&) override { return m_path; }
    std::string SaveFileName(const ui::FileDialogRequest&) override { return {}; }

private:
    std::string m_path;
};

// Writes that went out without a read-back to confirm them are a failure of their own: the
// transmitter may hold any mix of the old and the new configuration.
int ProgramExitCode(const session::ProgramOutcome& outcome) {
    if (outcome.NotConfirmed()) return kExitNotConfirmed;
    switch (outcome.result.status) {
        case device::ProgramStatus::Done: return kExitDone;
        case device::ProgramStatus::NoisyRangeRefused:
        case device::ProgramStatus::Refused: return kExitRefused;
        case device::ProgramStatus::InvalidConfiguration: return kExitInvalidFile;
        default: return kExitCommunication;
    }
}

// "writes" lists the frames sent, in order (with --dry-run the frames that would be sent);
// "writesSent" says how many went out before a failure; "verify", with --verify, the check
// of every cell: one document for the whole command.
void WriteProgramJson(Context& context, const ui::InputEncoding& encoding, const session::ProgramOutcome& outcome,
                      bool dryRun) {
    const device::ProgramResult& result = outcome.result;
    const device::ProgramPlan& plan = result.plan;
    const std::size_t listed = dryRun ? plan.sent.size() : static_cast<std::size_t>(result.framesSent);
    JsonWriter json;
    json.BeginObject()
        .Key("status").Value(static_cast<int>(result.status))
        .Key("inputCode").Value(encoding.inputCode)
        .Key("optionWord").Value(plan.OptionWord)
        .Key("rangeMax").Value(plan.RangeMax)
        .Key("rangeMin").Value(plan.RangeMin)
        .Key("segments").Value(plan.SegmentCount)
        .Key("cjcSegments").Value(plan.CjcSegmentCount)
        .Key("writesPlanned").Value(static_cast<int>(plan.sent.size()))
        .Key("writesSent").Value(result.framesSent)
        .Key("confirmed").Value(result.framesSent > 0 && !outcome.NotConfirmed())
        .Key("writes").BeginArray();
    for (std::size_t i = 0; i < listed && i < plan.sent.size(); ++i)
        json.BeginArray().Value(static_cast<int>(plan.sent[i].address)).Value(static_cast<int>(plan.sent[i].value))
            .EndArray();
    json.EndArray();
    if (outcome.verify) WriteVerification(json.Key("verify"), *outcome.verify);
    json.EndObject();
    context.out << json.str() << '\n';
}

}  // namespace

int Program(Context& context) {
    const std::vector<std::string> positionals = context.invocation.Positionals();
    if (positionals.size() != 2) {
        context.err << "usage: vantrel-cli program FILE.D70 [--accept-noisy] [--dry-run] [--json]"
                       " [--preview OUT.csv|OUT.png]\n";
        return kExitUsage;
    }
    if (!PreviewTargetValid(context)) return kExitUsage;
    const std::string& file = positionals[1];
    if (!ReadProgrammingFile(context, file)) return kExitInvalidFile;
    int exitCode = kExitDone;
    auto device = OpenDevice(context, context.invocation.HasFlag("--accept-noisy"), DeviceReach::Loaded, exitCode);
    if (!device) return exitCode;
    session::Session& s = device->session();

    NamedFile dialog(file);
    ui::DiskProgramFileStore store;
    ui::ProgramFileCommands commands(s.form, dialog, store);
    if (!commands.Open()) return Finish(context, *device, kExitInvalidFile);
    const ui::InputEncoding encoding = s.form.EncodeInput();
    const bool dryRun = context.invocation.HasFlag("--dry-run");
    const session::ProgramOptions options{context.invocation.HasFlag("--verify")};
    TerminalProgress progress(context, s.progress);
    if (!dryRun) progress.Step(resources::Text(resources::text::kProgramming, context.languageOffset()));
    const session::ProgramOutcome outcome = dryRun ? session::PlanOnly(s, encoding)
                                                   : session::ProgramAndReadBack(s, progress, encoding, options);
    progress.Clear();
    const std::size_t planned = outcome.result.plan.sent.size();
    const auto sent = static_cast<std::size_t>(outcome.result.framesSent);
    if (Json(context)) {
        WriteProgramJson(context, encoding, outcome, dryRun);
    } else {
        context.out << "status " << static_cast<int>(outcome.result.status) << ", ";
        if (dryRun) context.out << planned << " writes (dry run)";
        else if (sent < planned && sent > 0) context.out << sent << " of " << planned << " writes";
        else context.out << sent << " writes";
        context.out << (outcome.NotConfirmed() ? ", not confirmed\n" : "\n");
        if (outcome.readBack)
            for (const std::string& line : Lines(s.form.summary())) context.out << line << '\n';
    }
    if (outcome.NotConfirmed())
        context.err << "vantrel-cli: " << resources::Text(resources::text::kNotConfirmed, context.languageOffset())
                    << '\n';
    int verifyExit = PrintVerification(context, outcome.verify);
    // The message naming the differing fields went to stderr with the message box.
    if (!outcome.readBackDifferences.empty()) verifyExit = kExitVerifyFailed;
    const int exit = WritePreviewIfAsked(context, outcome.result, encoding.inputCode, encoding.optionFlags, s.state,
                                         ProgramExitCode(outcome));
    // A cell known to differ is worse than a configuration not confirmed.
    return Finish(context, *device, exit == kExitDone || verifyExit == kExitVerifyFailed ? verifyExit : exit);
}

namespace {

const char* LampName(measure::Lamp lamp) {
    switch (lamp) {
        case measure::Lamp::Green: return "green";
        case measure::Lamp::Red: return "red";
        case measure::Lamp::Yellow: return "yellow";
        default: return "grey";
    }
}

class FramePrinter final : public measure::MeasureObserver {
public:
    FramePrinter(Context& context, long frames, const link::CancelToken& interrupted)
        : m_context(context), m_framesWanted(frames), m_interrupted(interrupted) {}
    void Show(const measure::Reading& r) override {
        ++m_shown;
        if (Json(m_context)) {
            JsonWriter json;
            json.BeginObject()
                .Key("frame").Value(static_cast<long long>(r.frame))
                .Key("output").Value(r.output)
                .Key("outputUnit").Value(r.outputIsVoltage ? "V" : "mA")
                .Key("value").Value(r.value)
                .Key("unit").Value(r.unit ? std::string(math::Symbol(*r.unit)) : std::string())
                .Key("underRange").Value(r.range.underRange == measure::Lamp::Red)
                .Key("overRange").Value(r.range.overRange == measure::Lamp::Red)
                .Key("trip1");
            if (r.trips) json.Value(LampName(r.trips->trip1));
            else json.Null();
            json.Key("trip2");
            if (r.trips) json.Value(LampName(r.trips->trip2));
            else json.Null();
            json.EndObject();
            m_context.out << json.str() << '\n';
        } else {
            m_context.out << r.frame << "  " << r.outputText << "  " << r.valueText;
            if (r.range.underRange == measure::Lamp::Red) m_context.out << "  under range";
            if (r.range.overRange == measure::Lamp::Red) m_context.out << "  over range";
            if (r.trips) m_context.out << "  trip 1 " << LampName(r.trips->trip1) << ", trip 2 " << LampName(r.trips->trip2);
            m_context.out << '\n';
        }
        m_context.out.flush();
    }
    bool Done() const { return m_interrupted.cancelled() || (m_framesWanted > 0 && m_shown >= m_framesWanted); }

private:
    Context& m_context;
    long m_framesWanted;
    const link::CancelToken& m_interrupted;  // Ctrl-C or SIGTERM (see DeviceContext)
    long m_shown = 0;
};

}  // namespace

int Measure(Context& context) {
    constexpr double kMostFrames = 1e15;  // beyond any run, and exact as a double and as a long
    long frames = 0;
    if (const auto value = context.invocation.OptionValue("--frames")) {
        const auto parsed = resources::ParseNumber(*value);
        // Bounded before the cast: a double beyond a long's range does not convert.
        if (!parsed || !(*parsed >= 1 && *parsed <= kMostFrames) || *parsed != std::trunc(*parsed)) {
            context.err << "vantrel-cli: --frames takes a whole number of at least 1; try 'vantrel-cli --help'\n";
            return kExitUsage;
        }
        frames = static_cast<long>(*parsed);
    }
    int exitCode = kExitDone;
    auto device = DeviceContext::Create(context, false, exitCode);
    if (!device) return exitCode;
    session::Session& s = device->session();
    // The log file is checked before the line is touched: a bad path fails at once.
    std::unique_ptr<measure::MeasurementLog> log;
    if (const int opened = OpenCsvLog(context, s.protocol.clock(), log); opened != kExitDone) return opened;
    TerminalProgress progress(context, s.progress);
    const session::LoadOutcome loaded =
        LoadWithRetries(context, *device, progress, [&s] { return s.cancel.cancelled(); });
    progress.Clear();
    if (loaded != session::LoadOutcome::Connected) return Finish(context, *device, kExitCommunication);
    // Ctrl-C or SIGTERM ends the stream as a stop (exit 0): every row is logged by then.
    FramePrinter printer(context, frames, s.cancel);
    measure::LoggingObserver observer(printer, log.get());
    const auto done = [&] { return printer.Done() || (log && log->failed()); };
    const measure::MeasureResult result = MeasureWithReconnect(context, *device, QuietView(), observer, done);
    if (!ReportCsvLog(context, log.get())) return Finish(context, *device, kExitOutputNotWritten);
    return Finish(context, *device, result == measure::MeasureResult::Stopped ? kExitDone : kExitCommunication);
}

}  // namespace vantrel::cli
