// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace vantrel {

// Starts the program on the simulated transmitter (virtual clock, so it takes a few seconds
// at most), opens every window in turn and saves a picture of each into `folder`: splash,
// main window in English and Italian, connection test, language, ports, serial number, about,
// operation window, the main window measuring, the enlarged display, the live trend while
// logging (both languages), guided mode on a step and a dark desktop theme. False when a
// picture could not be saved.
namespace app {
bool SaveMainWindowScreenshots(const std::filesystem::path& folder);
}

// The programming window in both languages (measure and programming mode, guided mode on a
// step, a resistance thermometer) and the points editor, preview, trips and serial-number
// dialogs in both languages. False when a picture could not be saved.
bool SaveWidgetScreenshots(const std::filesystem::path& folder);

}  // namespace vantrel
