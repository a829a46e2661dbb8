// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Progress.h"

#include <ostream>

#include "resources/StringTable.h"

namespace vantrel::cli {

namespace {

constexpr int kConnectionAttemptText = 114;  // "Connection attempt"
constexpr int kDeviceReadingText = 218;      // "Device reading..."

TerminalProgress* g_shown = nullptr;  // the progress whose line is on the terminal now

}  // namespace

TerminalProgress::TerminalProgress(const Context& context)
    : m_err(context.err),
      m_enabled(context.terminal && !context.invocation.HasFlag("--json")),
      m_languageOffset(context.languageOffset()) {}

TerminalProgress::~TerminalProgress() { Clear(); }

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
    Step(resources::Text(kConnectionAttemptText, m_languageOffset));
}

void TerminalProgress::ConnectionAttempt(int attempt) {
    Step(resources::Text(kConnectionAttemptText, m_languageOffset) + ' ' + std::to_string(attempt));
}

void TerminalProgress::ReadingStarted() { Step(resources::Text(kDeviceReadingText, m_languageOffset)); }

void TerminalProgress::ProgressChanged(const link::ProgressBarValue&) {
    // The bar's value wraps at its end: a turning mark says the reading goes on.
    static constexpr char kMarks[] = {'|', '/', '-', '\\'};
    Step(resources::Text(kDeviceReadingText, m_languageOffset) + ' ' + kMarks[m_turns++ % 4]);
}

void ClearTerminalProgress() {
    if (g_shown) g_shown->Clear();
}

}  // namespace vantrel::cli
