// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Startup.h"

#include "files/DefaultName.h"
#include "resources/StringTable.h"

namespace vantrel::session {

StartupResult StartUp(const files::SettingsPlaces& places, device::WorkingState& state,
                      const std::filesystem::path& namesFolder) {
    const std::optional<files::AppSettings> read = files::ReadSettings(places);
    StartupResult result{files::SettingsAtStart(read), read.has_value()};
    state.SetLanguageIndex(result.settings.LanguageChoice);
    state.SetLanguageOffset(resources::LanguageOffsetFor(state.LanguageIndex()));
    state.ForceSaveAs = false;
    state.CurrentFile = files::DefaultConfigNameIn(namesFolder.empty() ? places.appFolder : namesFolder);
    state.ConfigChanged = true;
    return result;
}

}  // namespace vantrel::session
