// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>

#include "link/Dialogs.h"

namespace vantrel::cli {

// The answers the command-line tool gives where the desktop program asks the user:
// Retry after a time-out or a vanished port up to a number of times, then Cancel; Cancel when the transmitter
// changed; No to the noisy-range question unless it was accepted on the command line; OK to
// plain messages. Every message is also written to the error stream.
class HeadlessDialogs final : public link::Dialogs {
public:
    HeadlessDialogs(std::ostream& err, int retries, bool acceptNoisyRange)
        : m_err(err), m_retries(retries), m_retriesLeft(retries), m_acceptNoisy(acceptNoisyRange) {}

    link::Answer Show(const link::Message& message) override;
    // A connection that came back earns a fresh set of Retry answers for the next failure.
    void RestoreRetries() { m_retriesLeft = m_retries; }

private:
    std::ostream& m_err;
    int m_retries;
    int m_retriesLeft;
    bool m_acceptNoisy;
};

}  // namespace vantrel::cli
