// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Progress.h"

#include <algorithm>

#include "link/Protocol.h"

namespace vantrel::link {

void ProgressMeter::Start(StepPlan plan) {
    m_plan = std::move(plan);
    if (m_plan.empty()) m_plan.push_back({});
    m_current = 0;
    m_spent = 0;
    m_share = 0;
    m_running = true;
    Notify();
}

double ProgressMeter::remainingSeconds() const {
    if (!m_running || m_plan.empty()) return 0;
    double rest = std::max(0.0, m_plan[m_current].seconds - m_spent);
    for (std::size_t i = m_current + 1; i < m_plan.size(); ++i) rest += m_plan[i].seconds;
    return rest;
}

Step ProgressMeter::step() const { return m_plan.empty() ? Step::TestingConnection : m_plan[m_current].step; }

// The share grows by the part of the time ahead that was just used up: monotonic whatever
// the plan does, and 1 only when Finish() says so.
void ProgressMeter::Settle(double remainingBefore) {
    const double after = remainingSeconds();
    if (remainingBefore > 0 && after < remainingBefore)
        m_share += (1 - m_share) * (remainingBefore - after) / remainingBefore;
    m_share = std::min(m_share, kShareBeforeEnd);
    Notify();
}

void ProgressMeter::SetRemaining(StepPlan rest) {
    if (!m_running) return;
    m_plan.resize(m_current + 1);
    m_plan.insert(m_plan.end(), rest.begin(), rest.end());
    Notify();
}

void ProgressMeter::Resize(Step step, double seconds) {
    if (!m_running) return;
    const double before = remainingSeconds();
    const auto it = std::find_if(m_plan.begin() + static_cast<std::ptrdiff_t>(m_current), m_plan.end(),
                                 [step](const PlannedStep& s) { return s.step == step; });
    if (it == m_plan.end())
        m_plan.push_back({step, seconds});
    else
        it->seconds = seconds;
    Settle(before);
}

void ProgressMeter::Enter(Step step) {
    if (!m_running) return;
    if (m_plan[m_current].step == step) return;
    const double before = remainingSeconds();
    const auto it = std::find_if(m_plan.begin() + static_cast<std::ptrdiff_t>(m_current) + 1, m_plan.end(),
                                 [step](const PlannedStep& s) { return s.step == step; });
    if (it == m_plan.end()) {
        m_plan.insert(m_plan.begin() + static_cast<std::ptrdiff_t>(m_current) + 1, PlannedStep{step, 0});
        ++m_current;
    } else {
        m_current = static_cast<std::size_t>(it - m_plan.begin());
    }
    m_spent = 0;
    Settle(before);
}

void ProgressMeter::Advance(double seconds) {
    if (!m_running || seconds <= 0) return;
    const double before = remainingSeconds();
    m_spent += seconds;
    Settle(before);
}

void ProgressMeter::Finish() {
    if (!m_running) return;
    m_share = 1;
    m_running = false;
    Notify();
}

void ProgressMeter::Notify() {
    if (m_listener) m_listener(*this);
}

namespace pauses {

double Block(int count) { return 2 * timing::kAfterSend + count * timing::kAfterSend; }
double Version() { return 2 * timing::kAfterVersionCommand + timing::kAfterSend; }
double Closing() { return timing::kAfterSend; }

}  // namespace pauses

}  // namespace vantrel::link
