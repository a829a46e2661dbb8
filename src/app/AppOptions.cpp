// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppOptions.h"

#include <algorithm>
#include <cctype>

namespace vantrel::app {

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

bool IsOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

// "--name=value" gives value; "--name value" takes the next argument.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name, std::string& value,
               std::string& error) {
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0) {
        value = arg.substr(name.size() + 1);
    } else if (i + 1 < args.size() && !IsOption(args[i + 1])) {
        value = args[++i];
    } else {
        error = name + " needs a value";
        return false;
    }
    if (value.empty()) {
        error = name + " needs a value";
        return false;
    }
    return true;
}

bool Matches(const std::string& arg, const std::string& name) {
    return arg == name || arg.rfind(name + "=", 0) == 0;
}

}  // namespace

ParsedOptions ParseAppOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    AppOptions& o = parsed.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string value;
        if (arg == "-h" || arg == "--help") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (Matches(arg, "--port")) {
            if (!TakeValue(args, i, "--port", value, parsed.error)) return parsed;
            o.port = value;
        } else if (Matches(arg, "--app-dir")) {
            if (!TakeValue(args, i, "--app-dir", value, parsed.error)) return parsed;
            o.appDir = value;
        } else if (Matches(arg, "--history")) {
            if (!TakeValue(args, i, "--history", value, parsed.error)) return parsed;
            o.history = value;
        } else if (arg == "--no-history") {
            o.noHistory = true;
        } else if (arg.rfind("--simulator=", 0) == 0) {
            o.simulator = true;
            o.simulatorProfile = arg.substr(12);
            if (o.simulatorProfile->empty()) o.simulatorProfile.reset();
        } else if (arg == "--simulator") {
            o.simulator = true;
            // The profile is optional: only a following .json argument is taken as one, so
            // "--simulator FILE.D70" still opens the programming file.
            if (i + 1 < args.size() && !IsOption(args[i + 1]) && EndsWithNoCase(args[i + 1], ".json"))
                o.simulatorProfile = args[++i];
        } else if (IsOption(arg)) {
            parsed.error = "unknown option '" + arg.substr(0, arg.find('=')) + "'";
            return parsed;
        } else if (!o.fileToOpen) {
            o.fileToOpen = arg;
        } else {
            parsed.error = "only one programming file can be opened: " + arg;
            return parsed;
        }
    }
    return parsed;
}

std::string UsageText() {
    return "Usage: vantrel [--port PATH|N] [--simulator [PROFILE.json]] [--app-dir DIR]\n"
           "               [--history postgresql://...|FILE.sqlite] [--no-history] [FILE.D70]\n"
           "       vantrel --help | --version\n"
           "\n"
           "  --port PATH|N        the serial port: a device path, or the number of a port as the\n"
           "                       system lists them (1 = the first)\n"
           "  --simulator [FILE]   use the built-in simulated transmitter as the current port\n"
           "                       (the default device profile when no FILE.json is given)\n"
           "  --app-dir DIR        the application folder (settings, new configuration names)\n"
           "  --history DB         the history database: postgresql://user@host/db (shared) or an\n"
           "                       SQLite file; without it the one chosen in Options, else the\n"
           "                       local file in the user's data folder\n"
           "  --no-history         record nothing\n"
           "  FILE.D70             a programming file to open once the window has loaded\n";
}

std::string VersionText() { return std::string("vantrel ") + VANTREL_VERSION + "\n"; }

}  // namespace vantrel::app
