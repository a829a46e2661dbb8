// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ConnectionTest.h"

#include "link/Frames.h"
#include "resources/NumberFormat.h"

namespace vantrel::link {

namespace {

double WholeSeconds(double seconds) { return static_cast<double>(resources::RoundHalfEven(seconds)); }

}  // namespace

ConnectionOutcome RunConnectionSeries(Protocol& protocol, const std::function<void(int attempt)>& onAttempt) {
    Clock& clock = protocol.clock();
    Transport& transport = protocol.transport();
    const double start = clock.now();
    int attempt = 1;
    // "MI" goes out when the clock passes the last send time, taken in whole seconds, by
    // more than a second: the first between 0.5 and 1.5 s after the start.
    double lastSend = WholeSeconds(start);
    transport.discardInput();

    bool timedOut = false;
    for (;;) {
        if (clock.now() > lastSend + connection::kResendSeconds) {
            protocol.Send(frames::kStartStream);
            if (onAttempt) onAttempt(attempt);
            ++attempt;
            lastSend = WholeSeconds(clock.now());
        }
        if (transport.bytesAvailable() >= 1) break;
        // A vanished port will not answer: no point in waiting out the five seconds.
        if (timedOut || protocol.portGone() || protocol.cancelRequested()) break;
        protocol.Wait(RealClock::kPollSeconds);
        timedOut = clock.now() - start >= connection::kTimeoutSeconds;
    }

    transport.discardInput();
    protocol.Send(frames::kStopStream);
    if (protocol.cancelRequested()) return ConnectionOutcome::Cancelled;
    const bool gone = protocol.portGone();
    if (!timedOut && !gone) return ConnectionOutcome::Connected;

    const int offset = protocol.languageOffset();
    const Message message = gone ? PortGoneMessage(offset) : NoCommunicationMessage(offset);
    if (protocol.dialogs().Show(message) != Answer::Retry) return ConnectionOutcome::Cancelled;
    if (gone) protocol.ReopenPort();
    return ConnectionOutcome::Retry;
}

ConnectionOutcome TestConnectionUntilDecided(Protocol& protocol, const std::function<void()>& onSeries,
                                             const std::function<void(int attempt)>& onAttempt) {
    protocol.EnterStep(Step::TestingConnection);
    for (;;) {
        if (onSeries) onSeries();
        const ConnectionOutcome outcome = RunConnectionSeries(protocol, onAttempt);
        if (outcome != ConnectionOutcome::Retry) return outcome;
    }
}

}  // namespace vantrel::link
