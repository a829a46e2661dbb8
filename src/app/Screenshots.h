// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace vantrel::app {

// Starts the program on the built-in simulated transmitter (virtual clock, so it takes a few
// seconds at most), opens every window in turn and saves a picture of each into `folder`:
// splash, main window in English and Italian, connection test, language, ports, serial
// number, about, operation window, the main window measuring, the enlarged display, the
// live trend while logging (both languages) and guided mode on a step. Returns the exit code.
int SaveScreenshots(const std::filesystem::path& folder);

}  // namespace vantrel::app
