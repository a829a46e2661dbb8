// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

// How far a long operation has come and how long it still takes. Every exchange of the
// protocol is paced by its own pauses (0.1 s after each command of a read, 0.04 s after each
// write...), which are known before the operation starts from the blocks, bytes and writes it
// will make; so the time left is those pauses still ahead, and the share done moves with
// every pause taken.
namespace vantrel::link {

// The steps a long operation goes through, in words for the user (the desktop program shows
// each step's text while it runs).
enum class Step {
    TestingConnection,
    Identifying,
    ReadingSerialNumber,
    ReadingSettings,          // the input and output cells
    ReadingTripsAndTrims,
    ReadingOutputCalibration,
    ReadingOutputScale,
    ReadingCustomCurve,
    CheckingDevice,           // the same transmitter is still there
    ReadingFactoryCalibration,
    Writing,
    WaitingForRestart,        // the pause after the writes
    VerifyingWrites,
    StartingStream,
};

struct PlannedStep {
    Step step = Step::TestingConnection;
    double seconds = 0;  // the protocol's pauses in this step
    friend bool operator==(const PlannedStep&, const PlannedStep&) = default;
};
using StepPlan = std::vector<PlannedStep>;

// The share done only ever grows, and reaches 1 only at Finish(): when the plan changes
// (a custom curve found, the number of writes known) or a step takes longer than planned
// (a Retry), the share still ahead is spread over the time still ahead.
class ProgressMeter {
public:
    using Listener = std::function<void(const ProgressMeter&)>;
    // The largest share shown before the operation has ended.
    static constexpr double kShareBeforeEnd = 0.99;

    // A new operation with its steps, starting at the first.
    void Start(StepPlan plan);
    // The steps after the current one become `rest` (what the operation learnt changes them).
    void SetRemaining(StepPlan rest);
    // The first planned `step` from the current one on gets `seconds` (added at the end when
    // the plan has none).
    void Resize(Step step, double seconds);
    // The operation moves on to `step`: steps skipped on the way count as done. A step that
    // is not ahead in the plan is added after the current one.
    void Enter(Step step);
    // A pause of the protocol was taken.
    void Advance(double seconds);
    // The operation is over: the share becomes 1.
    void Finish();

    bool running() const { return m_running; }
    double share() const { return m_share; }
    double remainingSeconds() const;
    Step step() const;
    const StepPlan& plan() const { return m_plan; }

    // Told of every change (step, share or time left).
    void SetListener(Listener listener) { m_listener = std::move(listener); }

private:
    void Settle(double remainingBefore);
    void Notify();

    StepPlan m_plan;
    std::size_t m_current = 0;
    double m_spent = 0;  // pauses taken in the current step
    double m_share = 0;
    bool m_running = false;
    Listener m_listener;
};

// The pauses of the protocol's exchanges, for planning.
namespace pauses {
// ReadBlock of `count` bytes: "SM", "PR", then one "$R" per byte, 0.1 s after each.
double Block(int count);
// ReadVersion: "SM" and "PR" 0.2 s each, "$V" 0.1 s.
double Version();
// One "$FPxx" or "SM" closing an exchange.
double Closing();
}  // namespace pauses

}  // namespace vantrel::link
