// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <vector>

#include "link/Dialogs.h"

namespace vantrel::link {

// Dialogs for tests: answers are taken from a queue in order; when the queue is empty the
// fallback answer is given. Every message shown is kept for inspection.
//
//   ScriptedDialogs dialogs;
//   dialogs.answer(Answer::Retry).answer(Answer::Cancel);
//   ... run ...
//   dialogs.shown().size(), dialogs.shown()[0].textId == 85
class ScriptedDialogs final : public Dialogs {
public:
    explicit ScriptedDialogs(Answer fallback = Answer::Cancel) : m_fallback(fallback) {}

    ScriptedDialogs& answer(Answer a) {
        m_answers.push_back(a);
        return *this;
    }
    const std::vector<Message>& shown() const { return m_shown; }
    int countShown(int textId) const {
        int n = 0;
        for (const Message& m : m_shown) n += m.textId == textId ? 1 : 0;
        return n;
    }

    Answer Show(const Message& message) override {
        m_shown.push_back(message);
        if (m_answers.empty()) return m_fallback;
        const Answer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }

private:
    std::deque<Answer> m_answers;
    std::vector<Message> m_shown;
    Answer m_fallback;
};

}  // namespace vantrel::link
