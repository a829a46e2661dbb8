// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "device/WorkingState.h"
#include "files/Settings.h"

namespace vantrel::session {

// What start-up decides before any window opens: the settings in force (connection test on,
// measurement mode), the language, and the name of the new, unsaved configuration.
struct StartupResult {
    files::AppSettings settings;
    bool settingsFound = false;
};

// Reads the settings, sets the language index and offset, names the new configuration after
// the "DfLt" files of `namesFolder` (the application folder when empty) and marks it changed
// (it has never been saved).
StartupResult StartUp(const files::SettingsPlaces& places, device::WorkingState& state,
                      const std::filesystem::path& namesFolder = {});

}  // namespace vantrel::session
