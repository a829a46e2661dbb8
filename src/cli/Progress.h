// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>

#include "cli/Cli.h"
#include "link/Progress.h"
#include "session/Session.h"

namespace vantrel::cli {

// What a long operation is doing, on the error stream when it is a terminal and the output
// is not JSON: one line that rewrites itself (carriage return) and is cleared when the step
// ends, so nothing of it stays among the data. Silent otherwise.
class TerminalProgress final : public session::SessionView {
public:
    // Follows the session's progress meter: the step in words, the share done, the time left.
    TerminalProgress(const Context& context, link::ProgressMeter& meter);
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // A step of the command's own (the writes of a programming), shown until the next one.
    void Step(const std::string& text);
    // Clears the line.
    void Clear();

    void ConnectionSeriesStarted() override;
    void ConnectionAttempt(int attempt) override;
    void ConnectionSeriesEnded() override { Clear(); }
    void ReadingStarted() override;
    void ReadingEnded() override { Clear(); }

private:
    void Show(const link::ProgressMeter& meter);

    std::ostream& m_err;
    link::ProgressMeter& m_meter;
    bool m_enabled;
    int m_languageOffset;
    std::size_t m_shown = 0;  // characters on the line now
};

// Clears the progress line shown now, if any, so that a message starts on a clean line (the
// line comes back with the next step).
void ClearTerminalProgress();

}  // namespace vantrel::cli
