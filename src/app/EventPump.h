// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/Clock.h"

namespace vantrel::app {

// The pause function of the desktop program: the windows repaint and timers run during every
// exchange with the transmitter; user input is held back while a reply is awaited
// (acceptInput false), so no second exchange can start in the middle of one.
void PumpEvents(bool acceptInput);

// A clock that runs the event pump around another clock's pauses. The real clock takes the
// pump itself (it pumps on each pass of its polling); this wrapper gives the virtual clock of
// the tests the same behaviour: one pump per pause, however short the pause is in simulated
// time.
class PumpingClock final : public link::Clock {
public:
    explicit PumpingClock(link::Clock& inner) : m_inner(inner) {}
    void setEventPump(link::EventPump pump) { m_pump = std::move(pump); }

    double now() override { return m_inner.now(); }
    void wait(double seconds) override {
        if (m_pump) m_pump(true);
        m_inner.wait(seconds);
    }
    void replyPause() override {
        if (m_pump) m_pump(false);
        m_inner.replyPause();
    }

private:
    link::Clock& m_inner;
    link::EventPump m_pump;
};

}  // namespace vantrel::app
