// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/HeadlessDialogs.h"

#include <ostream>

#include "cli/Progress.h"
#include "resources/StringTable.h"

namespace vantrel::cli {

namespace {


link::Answer Refusal(link::Buttons buttons) {
    switch (buttons) {
        case link::Buttons::Ok: return link::Answer::Ok;
        case link::Buttons::YesNo: return link::Answer::No;
        default: return link::Answer::Cancel;
    }
}

}  // namespace

link::Answer HeadlessDialogs::Show(const link::Message& message) {
    ClearTerminalProgress();
    m_err << "vantrel-cli: ";
    if (!message.title.empty()) m_err << message.title << ": ";
    m_err << message.text;
    link::Answer answer = Refusal(message.buttons);
    // Both Retry/Cancel boxes (no answer, port disappeared) draw on the same Retry answers.
    if (message.buttons == link::Buttons::RetryCancel && m_retriesLeft > 0) {
        --m_retriesLeft;
        answer = link::Answer::Retry;
    } else if (message.textId == resources::text::kDeviceChanged) {
        answer = link::Answer::Cancel;
    } else if (message.textId == resources::text::kNoisyRange) {
        answer = m_acceptNoisy ? link::Answer::Yes : link::Answer::No;
    }
    m_err << " [" << (answer == link::Answer::Retry ? "Retry"
                     : answer == link::Answer::Yes  ? "Yes"
                     : answer == link::Answer::No   ? "No"
                     : answer == link::Answer::Ok   ? "OK"
                                                    : "Cancel")
          << "]\n";
    return answer;
}

}  // namespace vantrel::cli
