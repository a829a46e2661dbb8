// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace vantrel::app {

// Reads an environment variable; empty when it is not set.
using EnvironmentLookup = std::function<std::string(const char* name)>;

std::string ProcessEnvironment(const char* name);

// Qt aborts the process when it cannot reach a display, so the program looks first: a
// display is there when DISPLAY or WAYLAND_DISPLAY is set, or when QT_QPA_PLATFORM names a
// platform explicitly (offscreen, vnc, eglfs ...). Windows and macOS always have one.
bool DisplayAvailable(const EnvironmentLookup& env = ProcessEnvironment);

std::string NoDisplayMessage();

}  // namespace vantrel::app
