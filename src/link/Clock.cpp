// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Clock.h"

#include <algorithm>
#include <thread>

namespace vantrel::link {

RealClock::RealClock() : m_origin(std::chrono::steady_clock::now()) {}

double RealClock::now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_origin).count();
}

void RealClock::pump(bool acceptInput) {
    if (m_pump) m_pump(acceptInput);
}

void Clock::waitUnlessCancelled(double seconds, const CancelToken& token) {
    for (double left = seconds; left > 0 && !token.cancelled(); left -= kCancelSlice)
        wait(std::min(left, kCancelSlice));
}

void RealClock::wait(double seconds) {
    static const CancelToken never;
    waitUnlessCancelled(seconds, never);
}

void RealClock::waitUnlessCancelled(double seconds, const CancelToken& token) {
    const double deadline = now() + seconds;
    for (;;) {
        pump(true);
        const double remaining = deadline - now();
        if (remaining <= 0 || token.cancelled()) return;
        std::this_thread::sleep_for(std::chrono::duration<double>(std::min(remaining, kPollSeconds)));
    }
}

void RealClock::replyPause() {
    pump(false);
    std::this_thread::sleep_for(std::chrono::duration<double>(kPollSeconds));
}

void VirtualClock::wait(double seconds) {
    ++m_waits;
    if (seconds > 0) m_now += seconds;
}

}  // namespace vantrel::link
