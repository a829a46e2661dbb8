// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/LiveMeasure.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "resources/StringTable.h"
#include "session/Operations.h"

namespace vantrel::cli {

namespace {

constexpr double kLongestDelaySeconds = 16;
// Waits are cut into slices so an interrupt ends them soon.
constexpr double kWaitSliceSeconds = 0.25;

void WaitUnlessInterrupted(link::Clock& clock, double seconds, const std::function<bool()>& interrupted) {
    const double end = clock.now() + seconds;
    while (clock.now() < end && !(interrupted && interrupted()))
        clock.wait(std::min(kWaitSliceSeconds, end - clock.now()));
}

std::string CsvProblem(Context& context, const std::string& path, const std::string& reason) {
    return "vantrel-cli: " + resources::Text(resources::text::kLogNotWritable, context.languageOffset()) + " " + path +
           " (" + reason + ")\n";
}

// Numbers the frames of every run after a reconnection on from the last one shown, so the
// frame numbers of one `measure` never start again at 1.
class ContinuedNumbering final : public measure::MeasureObserver {
public:
    explicit ContinuedNumbering(measure::MeasureObserver& next) : m_next(next) {}
    void NextRun() { m_offset = m_last; }
    void Started(const measure::Scale& scale) override { m_next.Started(scale); }
    void Show(const measure::Reading& reading) override {
        measure::Reading numbered = reading;
        numbered.frame += m_offset;
        m_last = numbered.frame;
        m_next.Show(numbered);
    }
    void Stopped() override { m_next.Stopped(); }

private:
    measure::MeasureObserver& m_next;
    long m_offset = 0;
    long m_last = 0;
};

}  // namespace

double ReconnectDelaySeconds(int attempt) {
    if (attempt < 1) return 0;
    return std::min(kLongestDelaySeconds, std::ldexp(1.0, std::min(attempt, 16) - 1));
}

session::LoadOutcome LoadWithRetries(Context& context, DeviceContext& device, session::SessionView& view,
                                     const std::function<bool()>& interrupted) {
    session::Session& s = device.session();
    const int retries = context.invocation.global.retries;
    for (int attempt = 0;; ++attempt) {
        // Every new attempt starts from a closed port: a replugged adapter needs a new handle.
        if (attempt > 0) s.transport.close();
        if (session::LoadProgramWindow(s, view) == session::LoadOutcome::Connected) {
            device.dialogs().RestoreRetries();
            return session::LoadOutcome::Connected;
        }
        if (attempt >= retries || (interrupted && interrupted())) return session::LoadOutcome::NotConnected;
        const double delay = ReconnectDelaySeconds(attempt + 1);
        context.err << "vantrel-cli: no transmitter on " << s.port << "; trying again in " << delay << " s (" << attempt + 1
                    << " of " << retries << ")\n";
        WaitUnlessInterrupted(s.protocol.clock(), delay, interrupted);
    }
}

measure::MeasureResult MeasureWithReconnect(Context& context, DeviceContext& device, session::SessionView& view,
                                            measure::MeasureObserver& observer, const std::function<bool()>& done) {
    session::Session& s = device.session();
    ContinuedNumbering numbering(observer);
    for (;;) {
        const measure::MeasureResult result = session::Measure(s, numbering, done);
        if (result != measure::MeasureResult::CommunicationError) return result;
        if (context.invocation.global.retries == 0 || done()) return result;
        context.err << "vantrel-cli: the transmitter stopped answering; reconnecting\n";
        if (LoadWithRetries(context, device, view, done) != session::LoadOutcome::Connected) return result;
        context.err << "vantrel-cli: reconnected; measuring again\n";
        numbering.NextRun();
    }
}

int OpenCsvLog(Context& context, link::Clock& clock, std::unique_ptr<measure::MeasurementLog>& log) {
    const auto path = context.invocation.OptionValue("--csv");
    if (!path) {
        if (context.invocation.HasFlag("--csv")) {
            context.err << "vantrel-cli: --csv needs a file name\n";
            return kExitUsage;
        }
        return kExitDone;
    }
    measure::MeasurementLog::OpenResult opened =
        measure::MeasurementLog::Open(*path, measure::ClockAnchoredTimeSource(clock));
    if (!opened.log) {
        context.err << CsvProblem(context, *path, opened.error);
        return kExitOutputNotWritten;
    }
    log = std::move(opened.log);
    return kExitDone;
}

bool ReportCsvLog(Context& context, const measure::MeasurementLog* log) {
    if (!log || !log->failed()) return true;
    context.err << CsvProblem(context, log->path(), log->error());
    return false;
}

}  // namespace vantrel::cli
