// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

// The desktop program's command line:
//   vantrel [--port PATH|N] [--simulator [PROFILE.json]] [--app-dir DIR]
//           [--history postgresql://...|FILE.sqlite] [--no-history] [FILE.D70]
//   vantrel --help | --version
namespace vantrel::app {

struct AppOptions {
    std::optional<std::string> port;           // a port number or a device path
    bool simulator = false;                    // the built-in simulated transmitter
    std::optional<std::string> simulatorProfile;  // its profile; the default one when empty
    std::optional<std::string> appDir;
    std::optional<std::string> fileToOpen;     // a programming file given by the file manager
    std::optional<std::string> history;        // the history database; the saved choice when absent
    bool noHistory = false;                    // record nothing
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    AppOptions options;
    std::string error;  // what is wrong with the command line; empty when it is fine
    bool ok() const { return error.empty(); }
};

// Qt's own options (-platform, -style, ...) are removed by QApplication before this runs.
ParsedOptions ParseAppOptions(const std::vector<std::string>& args);

std::string UsageText();
// "vantrel 3.3.0": the project's version, one for the three programs.
std::string VersionText();

// The name under which the built-in simulated transmitter is offered as a port.
inline constexpr const char* kSimulatorPortName = "simulator";

}  // namespace vantrel::app
