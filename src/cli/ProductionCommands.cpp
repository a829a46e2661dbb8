// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <ostream>

#include "cli/Commands.h"
#include "cli/HeadlessDialogs.h"
#include "cli/History.h"
#include "files/Json.h"
#include "files/ProgramFile.h"
#include "link/PortTable.h"
#include "link/QtSerialTransport.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"
#include "session/ProductionLine.h"
#include "sim/Profile.h"
#include "sim/SimTransport.h"

namespace vantrel::cli {

using files::JsonWriter;

namespace {

namespace txt = resources::text;

bool Json(const Context& context) { return context.invocation.HasFlag("--json"); }

std::string Hex(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

// Exit code of one station. When several ports run, the worst code wins, in this order:
// done, refused, file unusable, communication, not confirmed, verification failed (a
// transmitter that would leave the line holding something other than what was sent is the
// worst; one whose content is unknown comes next).
int StationExitCode(session::StationStatus status) {
    switch (status) {
        case session::StationStatus::Programmed: return kExitDone;
        case session::StationStatus::Refused: return kExitRefused;
        case session::StationStatus::FileDoesNotFit: return kExitInvalidFile;
        case session::StationStatus::NotConfirmed: return kExitNotConfirmed;
        case session::StationStatus::VerifyFailed: return kExitVerifyFailed;
        default: return kExitCommunication;
    }
}

int Severity(int exitCode) {
    switch (exitCode) {
        case kExitDone: return 0;
        case kExitRefused: return 1;
        case kExitInvalidFile: return 2;
        case kExitCommunication: return 3;
        case kExitNotConfirmed: return 4;
        default: return 5;
    }
}

std::string SerialText(const std::optional<device::SerialNumber>& serial) {
    if (!serial) return "-";
    return std::to_string(serial->customer) + ' ' + resources::Format(serial->yearCode + device::kYearShownOffset, "00") +
           ' ' + std::to_string(serial->order) + ' ' + std::to_string(serial->progressive);
}

std::string VerifiedText(const session::StationResult& r) {
    if (!r.verify) return "not verified";
    if (!r.verify->completed) return "verification cut short";
    if (r.verify->mismatches.empty()) return "verified (" + std::to_string(r.verify->cellsChecked) + " cells)";
    return std::to_string(r.verify->mismatches.size()) + " cells differ";
}

// One station per port: a serial port, or with --device a simulated transmitter of its own
// loaded from the profile. A port that cannot be resolved still gets a station, which then
// fails on its own.
std::vector<session::Station> MakeStations(Context& context, const std::vector<std::string>& ports,
                                           const std::optional<sim::Profile>& profile) {
    const GlobalOptions& options = context.invocation.global;
    const bool acceptNoisy = context.invocation.HasFlag("--accept-noisy");
    const int retries = options.retries;
    const bool realtime = options.realtime;
    const std::vector<std::string> systemPorts = profile ? std::vector<std::string>{}
                                                         : link::SortPortNames(link::ListSystemPorts());
    std::vector<session::Station> stations;
    for (const std::string& port : ports) {
        session::Station station;
        const std::string resolved = profile ? port : link::ResolvePortName(port, systemPorts);
        station.makeLink = [=]() {
            session::StationLink link;
            link.log = std::make_unique<std::ostringstream>();
            link.dialogs = std::make_unique<HeadlessDialogs>(*link.log, retries, acceptNoisy);
            if (profile) {
                // The transmitter lives as long as the line: the transport owns it through
                // a small holder.
                struct SimLine final : public link::Transport {
                    SimLine(const sim::Profile& p, link::Clock& clock)
                        : transmitter(p.identity, p.memory), line(transmitter, clock) {
                        transmitter.setInput(p.input);
                        transmitter.faults() = p.faults;
                    }
                    link::OpenResult open(const std::string& name, const link::LineSettings& s) override {
                        return line.open(name, s);
                    }
                    void close() override { line.close(); }
                    bool isOpen() const override { return line.isOpen(); }
                    bool write(std::string_view bytes) override { return line.write(bytes); }
                    std::string readAll() override { return line.readAll(); }
                    void discardInput() override { line.discardInput(); }
                    std::size_t bytesAvailable() override { return line.bytesAvailable(); }
                    bool vanished() const override { return line.vanished(); }
                    sim::Transmitter transmitter;
                    sim::SimTransport line;
                };
                if (realtime) link.clock = std::make_unique<link::RealClock>();
                else link.clock = std::make_unique<link::VirtualClock>();
                link.transport = std::make_unique<SimLine>(*profile, *link.clock);
            } else {
                link.clock = std::make_unique<link::RealClock>();
                link.transport = std::make_unique<link::QtSerialTransport>();
            }
            return link;
        };
        // A name the system does not list is tried as it stands; opening it fails on its own.
        station.port = resolved.empty() ? port : resolved;
        stations.push_back(std::move(station));
    }
    return stations;
}

void PrintResults(Context& context, const std::vector<session::StationResult>& results, int exitCode) {
    const int programmed = static_cast<int>(std::count_if(results.begin(), results.end(), [](const auto& r) {
        return r.status == session::StationStatus::Programmed;
    }));
    if (Json(context)) {
        JsonWriter json;
        json.BeginObject().Key("stations").BeginArray();
        for (const session::StationResult& r : results) {
            json.BeginObject().Key("port").Value(r.port).Key("serial").Value(SerialText(r.serial))
                .Key("status").Value(session::StationStatusName(r.status))
                .Key("writes").Value(r.writes)
                .Key("verified").Value(r.verify && r.verify->Verified());
            if (r.verify) {
                json.Key("mismatches").BeginArray();
                for (const device::CellMismatch& m : r.verify->mismatches)
                    json.BeginArray().Value(static_cast<int>(m.address)).Value(static_cast<int>(m.expected))
                        .Value(static_cast<int>(m.read)).EndArray();
                json.EndArray();
            }
            json.EndObject();
        }
        json.EndArray().Key("ports").Value(static_cast<int>(results.size())).Key("programmed").Value(programmed)
            .Key("exitCode").Value(exitCode).EndObject();
        context.out << json.str() << '\n';
        return;
    }
    std::size_t width = 4;
    for (const auto& r : results) width = std::max(width, r.port.size());
    for (const session::StationResult& r : results) {
        std::string port = r.port;
        port.append(width + 2 - port.size(), ' ');
        context.out << port << "serial " << SerialText(r.serial) << "  " << session::StationStatusName(r.status)
                    << "  " << VerifiedText(r) << '\n';
        if (r.verify)
            for (const device::CellMismatch& m : r.verify->mismatches)
                context.out << std::string(width + 2, ' ') << "cell " << static_cast<int>(m.address) << ": expected "
                            << Hex(m.expected) << ", read " << Hex(m.read) << '\n';
        std::string message;
        std::istringstream lines(r.messages);
        while (std::getline(lines, message))
            if (!message.empty()) context.err << r.port << ": " << message << '\n';
    }
    context.out << results.size() << " ports, " << programmed << " programmed, "
                << results.size() - static_cast<std::size_t>(programmed) << " failed\n";
}

}  // namespace

void WriteVerification(JsonWriter& json, const device::VerifyResult& verify) {
    json.BeginObject().Key("verified").Value(verify.Verified()).Key("completed").Value(verify.completed)
        .Key("cellsChecked").Value(verify.cellsChecked).Key("mismatches").BeginArray();
    for (const device::CellMismatch& m : verify.mismatches)
        json.BeginArray().Value(static_cast<int>(m.address)).Value(static_cast<int>(m.expected))
            .Value(static_cast<int>(m.read)).EndArray();
    json.EndArray().EndObject();
}

int PrintVerification(Context& context, const std::optional<device::VerifyResult>& verify) {
    if (!verify) return kExitDone;
    const int o = context.languageOffset();
    if (Json(context)) {
        // The program's JSON document carries it (WriteVerification).
    } else if (!verify->completed) {
        context.out << resources::Text(txt::kVerifyIncomplete, o) << '\n';
    } else if (verify->mismatches.empty()) {
        context.out << resources::Text(txt::kVerifyPassed, o) << ' ' << verify->cellsChecked << '\n';
    } else {
        context.out << resources::Text(txt::kVerifyFailed, o) << '\n';
        for (const device::CellMismatch& m : verify->mismatches)
            context.out << "  " << static_cast<int>(m.address) << "  " << Hex(m.expected) << "  " << Hex(m.read) << '\n';
    }
    if (!verify->mismatches.empty()) return kExitVerifyFailed;
    return verify->completed ? kExitDone : kExitNotConfirmed;  // cut short: the rest is unknown
}

int ProgramOnPorts(Context& context) {
    const GlobalOptions& options = context.invocation.global;
    if (options.ports.size() < 2) return Program(context);
    const std::vector<std::string> positionals = context.invocation.Positionals();
    if (positionals.size() != 2 || context.invocation.HasFlag("--dry-run")) {
        context.err << "usage: vantrel-cli --port P1 --port P2 ... program FILE.D70 [--accept-noisy] [--verify] "
                       "[--json]\n";
        return kExitUsage;
    }
    const std::optional<device::ConfigRecord> file = ReadProgrammingFile(context, positionals[1]);
    if (!file) return kExitInvalidFile;
    std::optional<sim::Profile> profile;
    if (options.device) {
        sim::ProfileResult loaded = sim::LoadProfile(*options.device, context.languageOffset());
        if (!loaded.profile) {
            context.err << "vantrel-cli: " << loaded.error << '\n';
            return kExitUsage;
        }
        profile = *loaded.profile;
    }
    int exitCode = kExitDone;
    const std::unique_ptr<history::HistoryRecorder> recorder = OpenRecorder(context, exitCode);
    if (exitCode != kExitDone) return exitCode;
    session::StationSettings settings;
    settings.verify = context.invocation.HasFlag("--verify");
    settings.languageIndex = options.languageIndex;
    settings.recorder = recorder.get();
    // A serial port needs a thread started by Qt; the simulated ones do not mind.
    const std::vector<session::StationResult> results = session::ProgramStations(
        MakeStations(context, options.ports, profile), *file, settings, link::RunOnPortThreads);
    if (recorder) FinishRecording(context.err, context.languageOffset(), *recorder);
    for (const session::StationResult& r : results) {
        const int code = StationExitCode(r.status);
        if (Severity(code) > Severity(exitCode)) exitCode = code;
    }
    PrintResults(context, results, exitCode);
    return exitCode;
}

}  // namespace vantrel::cli
