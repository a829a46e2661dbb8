// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/ProductionLine.h"

#include <thread>

#include "files/ProgramFile.h"
#include "resources/StringTable.h"
#include "session/Flows.h"
#include "session/Operations.h"
#include "session/Recording.h"
#include "session/Records.h"

namespace vantrel::session {

namespace {

StationStatus StatusAfterProgramming(const ProgramOutcome& outcome) {
    switch (outcome.result.status) {
        case device::ProgramStatus::Done: break;
        case device::ProgramStatus::NoisyRangeRefused:
        case device::ProgramStatus::Refused: return StationStatus::Refused;
        case device::ProgramStatus::InvalidConfiguration: return StationStatus::FileDoesNotFit;
        case device::ProgramStatus::Interrupted:
            return outcome.NotConfirmed() ? StationStatus::NotConfirmed : StationStatus::Interrupted;
        case device::ProgramStatus::NotWritten: return StationStatus::NotWritten;
    }
    if (outcome.verify && !outcome.verify->mismatches.empty()) return StationStatus::VerifyFailed;
    if (outcome.NotConfirmed()) return StationStatus::NotConfirmed;
    if (!outcome.readBackDifferences.empty()) return StationStatus::VerifyFailed;
    return StationStatus::Programmed;
}

}  // namespace

StationResult ProgramStation(const Station& station, const device::ConfigRecord& record,
                             const StationSettings& settings) {
    StationResult result;
    result.port = station.port;
    StationLink link = station.makeLink();
    {
        ui::NoWindowsHost host;
        Session s(*link.transport, *link.clock, *link.dialogs, host);
        s.port = station.port;
        s.state.SetLanguageIndex(settings.languageIndex);
        s.state.SetLanguageOffset(resources::LanguageOffsetFor(settings.languageIndex));
        s.SyncProtocol();
        s.recorder = settings.recorder;
        SessionView quiet;
        if (LoadProgramWindow(s, quiet) == LoadOutcome::Connected) {
            result.serial = s.serial;
            // A file that does not fit is a programming refused, and recorded as one.
            OperationScope scope(s, settings.verify ? Operation::ProgramVerified : Operation::Program);
            if (!LoadRecord(s, record)) {
                result.status = StationStatus::FileDoesNotFit;
                const files::RecordBytes bytes = files::EncodeRecord(record);
                scope.record().configuration.assign(bytes.begin(), bytes.end());
                scope.record().memoryBefore.Merge(s.knownMemory);
                scope.SetOutcome(Outcome::Refused);
            } else {
                ProgramOptions options;
                options.verify = settings.verify;
                const ProgramOutcome outcome = ProgramAndReadBack(s, quiet, s.form.EncodeInput(), options);
                result.programStatus = outcome.result.status;
                result.writes = outcome.result.framesSent;
                result.verify = outcome.verify;
                result.status = StatusAfterProgramming(outcome);
            }
        }
        s.transport.close();
    }
    if (link.log) result.messages = link.log->str();
    return result;
}

void RunOnStandardThreads(const std::vector<std::function<void()>>& jobs) {
    std::vector<std::thread> threads;
    threads.reserve(jobs.size());
    for (const std::function<void()>& job : jobs) threads.emplace_back(job);
    for (std::thread& thread : threads) thread.join();
}

std::vector<StationResult> ProgramStations(const std::vector<Station>& stations, const device::ConfigRecord& record,
                                           const StationSettings& settings, const ThreadRunner& runThreads) {
    std::vector<StationResult> results(stations.size());
    std::vector<std::function<void()>> jobs;
    jobs.reserve(stations.size());
    for (std::size_t i = 0; i < stations.size(); ++i)
        jobs.emplace_back([&, i] { results[i] = ProgramStation(stations[i], record, settings); });
    runThreads(jobs);
    return results;
}

const char* StationStatusName(StationStatus status) {
    switch (status) {
        case StationStatus::Programmed: return "programmed";
        case StationStatus::NotConnected: return "not connected";
        case StationStatus::FileDoesNotFit: return "file does not fit this transmitter";
        case StationStatus::Refused: return "refused";
        case StationStatus::NotWritten: return "not written";
        case StationStatus::Interrupted: return "interrupted";
        case StationStatus::NotConfirmed: return "written, not confirmed";
        case StationStatus::VerifyFailed: return "verify failed";
    }
    return "";
}

}  // namespace vantrel::session
