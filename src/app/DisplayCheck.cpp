// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayCheck.h"

#include <cstdlib>

namespace vantrel::app {

std::string ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool DisplayAvailable(const EnvironmentLookup& env) {
#if defined(_WIN32) || defined(__APPLE__)
    (void)env;
    return true;
#else
    return !env("DISPLAY").empty() || !env("WAYLAND_DISPLAY").empty() || !env("QT_QPA_PLATFORM").empty();
#endif
}

std::string NoDisplayMessage() {
    return "vantrel: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
           "Start it from a desktop session, run it under xvfb-run, set QT_QPA_PLATFORM=offscreen,\n"
           "or use the command-line tool vantrel-cli instead.\n";
}

}  // namespace vantrel::app
