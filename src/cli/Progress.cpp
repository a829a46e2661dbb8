// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Progress.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "resources/StringTable.h"

namespace vantrel::cli {

namespace {


TerminalProgress* g_shown = nullptr;  // the progress whose line is on the terminal now

}  // namespace

TerminalProgress::TerminalProgress(const Context& context, link::ProgressMeter& meter)
    : m_err(context.err),
      m_meter(meter),
      m_enabled(context.terminal && !context.invocation.HasFlag("--json")),
      m_languageOffset(context.languageOffset()) {
    if (m_enabled) m_meter.SetListener([this](const link::ProgressMeter& m) { Show(m); });
}

TerminalProgress::~TerminalProgress() {
    if (m_enabled) m_meter.SetListener({});
    Clear();
}

void TerminalProgress::Show(const link::ProgressMeter& meter) {
    if (!meter.running()) return;
    char figures[48];
    std::snprintf(figures, sizeof figures, "  %3d %%  %.0f s", static_cast<int>(meter.share() * 100),
                  std::ceil(meter.remainingSeconds()));
    Step(resources::Text(resources::text::kFirstStepText + static_cast<int>(meter.step()), m_languageOffset) +
         figures);
}

void TerminalProgress::Step(const std::string& text) {
    if (!m_enabled) return;
    // Spaces cover what a longer line before left behind.
    const std::size_t width = text.size();
    m_err << '\r' << text << std::string(m_shown > width ? m_shown - width : 0, ' ') << '\r' << text;
    m_err.flush();
    m_shown = width;
    g_shown = this;
}

void TerminalProgress::Clear() {
    if (g_shown == this) g_shown = nullptr;
    if (!m_enabled || m_shown == 0) return;
    m_err << '\r' << std::string(m_shown, ' ') << '\r';
    m_err.flush();
    m_shown = 0;
}

void TerminalProgress::ConnectionSeriesStarted() {
    Step(resources::Text(resources::text::kConnectionTest, m_languageOffset));
}

void TerminalProgress::ConnectionAttempt(int attempt) {
    Step(resources::Text(resources::text::kConnectionTest, m_languageOffset) + ' ' + std::to_string(attempt));
}

void TerminalProgress::ReadingStarted() { Step(resources::Text(resources::text::kDeviceReading, m_languageOffset)); }

void ClearTerminalProgress() {
    if (g_shown) g_shown->Clear();
}

}  // namespace vantrel::cli
