// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

namespace vantrel::link {

// The user's wish to stop the operation in progress: the desktop program's Cancel button,
// Exit, or Ctrl-C in the command-line tool. The protocol checks it at every pause and on
// every pass of a reply wait, so an operation ends within one pass of the event loop; the
// flows then put the transmitter back into working mode. Setting it is safe from a signal
// handler (lock-free atomics).
class CancelToken {
public:
    void Cancel() noexcept { m_cancelled.store(true); }
    bool cancelled() const noexcept { return m_cancelled.load(); }

    // The first "$W" has gone out: stopping now leaves the transmitter holding a partial
    // configuration until it is programmed again, so the desktop program asks first.
    void MarkWritesStarted() noexcept { m_writesStarted.store(true); }
    bool writesStarted() const noexcept { return m_writesStarted.load(); }

    // Ready for the next operation.
    void Reset() noexcept {
        m_cancelled.store(false);
        m_writesStarted.store(false);
    }

private:
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_writesStarted{false};
};

}  // namespace vantrel::link
