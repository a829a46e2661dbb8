// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "link/Protocol.h"

namespace vantrel::link {

enum class ConnectionOutcome {
    Connected,  // at least one byte came back (noise counts too: identity is checked later)
    Retry,      // nothing came; the user asked to try again
    Cancelled,  // nothing came; the user gave up
};


namespace connection {
inline constexpr double kTimeoutSeconds = 5.0;
inline constexpr double kResendSeconds = 1.0;
}  // namespace connection

// One attempt series of the connection test: sends "MI" about once a second and waits up to
// 5 s for any byte, then discards the input and stops the stream with "SM". After a silent
// series it shows the Retry/Cancel box (texts 85 / 145). onAttempt receives the attempt
// number each time "MI" goes out (1, 2, ...), for the window's label.
ConnectionOutcome RunConnectionSeries(Protocol& protocol, const std::function<void(int attempt)>& onAttempt = {});

// Runs attempt series until a byte answers or the user cancels; each Retry starts a fresh
// series with the attempt number back at 1. onSeries is called before each series (the
// window is shown anew).
ConnectionOutcome TestConnectionUntilDecided(Protocol& protocol, const std::function<void()>& onSeries,
                                             const std::function<void(int attempt)>& onAttempt);

}  // namespace vantrel::link
