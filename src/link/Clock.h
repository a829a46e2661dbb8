// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>

#include "link/Cancel.h"

namespace vantrel::link {

// Time as the protocol sees it. Two kinds of pause exist:
// - wait(): the pauses between commands; the user interface keeps running, input included.
// - replyPause(): one short pass of the wait for a reply; the window may repaint but takes
//   no input, so no second exchange can start while a reply is awaited.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds on a monotonic scale (the origin is arbitrary).
    virtual double now() = 0;
    virtual void wait(double seconds) = 0;
    virtual void replyPause() = 0;
    // wait() that ends early once `token` is cancelled: a Cancel is answered within a slice
    // of kCancelSlice seconds (the real clock checks on every pass of its polling).
    virtual void waitUnlessCancelled(double seconds, const CancelToken& token);
    static constexpr double kCancelSlice = 0.05;
};

// What the user interface does during a pause. acceptInput is true during wait() and false
// during replyPause(). The desktop program installs a function that processes its events
// (excluding user input when asked); without one the clock only sleeps.
using EventPump = std::function<void(bool acceptInput)>;

// Wall-clock time. Sleeps between polls instead of spinning, so a device exchange costs
// almost no processor time.
class RealClock final : public Clock {
public:
    // A pass every few milliseconds is far below the resolution of any wait of the protocol.
    static constexpr double kPollSeconds = 0.004;

    RealClock();
    void setEventPump(EventPump pump) { m_pump = std::move(pump); }

    double now() override;
    void wait(double seconds) override;
    void replyPause() override;
    void waitUnlessCancelled(double seconds, const CancelToken& token) override;

private:
    void pump(bool acceptInput);
    std::chrono::steady_clock::time_point m_origin;
    EventPump m_pump;
};

// Simulated time for tests and in-process simulator runs: every pause advances the time
// at once, so a session of several minutes runs in milliseconds. The simulator reads the
// same clock and answers at the right simulated moment.
class VirtualClock final : public Clock {
public:
    // Each pass of a reply wait advances by this step.
    static constexpr double kReplyStep = 0.005;

    explicit VirtualClock(double start = 0) : m_now(start) {}
    double now() override { return m_now; }
    void wait(double seconds) override;
    void replyPause() override { m_now += kReplyStep; }
    // Simulated time passes at once: a cancel can only come before the wait.
    void waitUnlessCancelled(double seconds, const CancelToken& token) override {
        if (!token.cancelled()) wait(seconds);
    }
    void advance(double seconds) { wait(seconds); }
    // Number of wait() calls with acceptInput (user interface turns) so far.
    int waits() const { return m_waits; }

private:
    double m_now;
    int m_waits = 0;
};

}  // namespace vantrel::link
