// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::sim {
class Transmitter;
}

namespace vantrel::cli {

// Exit codes that scripts rely on.
enum ExitCode : int {
    kExitDone = 0,
    kExitCommunication = 1,  // communication failed or cancelled
    kExitUsage = 2,
    kExitRefused = 3,        // programming refused
    kExitInvalidFile = 4,
    kExitDifferent = 5,      // compare: the transmitter holds another configuration
    kExitVerifyFailed = 6,   // programmed, but a cell read back differs from what was sent
    kExitNotConfirmed = 7,   // written but not confirmed: the transmitter's configuration is unknown
    kExitOutputNotWritten = 8,  // an output file (--out, --csv, --save-device, --preview) could not be written
    kExitHistoryBroken = 9,  // history check: an entry was changed or removed
};

struct GlobalOptions {
    std::optional<std::string> port;        // the first --port
    std::vector<std::string> ports;         // every --port, in order (several: program only)
    std::optional<std::string> device;      // device profile for the built-in simulator
    std::optional<std::string> saveDevice;
    std::optional<std::string> appDir;
    int languageIndex = 1;                  // --lang, else the user's locale (it: Italian), else English
    int retries = 2;                        // Retry answers after a time-out, then Cancel
    bool realtime = false;
    std::optional<std::string> history;     // where the history lives; the local SQLite file when absent
    bool noHistory = false;                 // device commands record nothing
};

// The command words and their own options, global options removed.
struct Invocation {
    GlobalOptions global;
    std::vector<std::string> positionals;  // the command's words and arguments, in order
    std::map<std::string, std::string> options;  // the command's options ("--frames" -> "10", "--json" -> "")
    bool HasFlag(const std::string& flag) const;
    // The value of an option ("--frames 10" or "--frames=10"); empty when absent.
    std::optional<std::string> OptionValue(const std::string& option) const;
    // Words that are not options (and not option values).
    std::vector<std::string> Positionals() const { return positionals; }
};

// The messages' language when --lang is not given: Italian when the user's locale
// (LC_ALL, else LC_MESSAGES, else LANG: the first one set) starts with "it", else English.
// Returns the language index (0 Italian, 1 English).
int LanguageFromEnvironment();

// Lets a caller watch the built-in simulated transmitter of --device (tests: its command
// log, its memory and mode when the command ends). Either function may be empty.
struct SimulatorWatch {
    std::function<void(sim::Transmitter&)> started;        // right after it is made
    std::function<void(const sim::Transmitter&)> ended;    // when the command lets go of it
};

// Everything a command needs to talk to the outside world.
struct Context {
    const Invocation& invocation;
    std::ostream& out;
    std::ostream& err;
    const SimulatorWatch* simulatorWatch = nullptr;
    bool terminal = false;  // the error stream is a terminal: long operations show their progress there
    int languageOffset() const;
};

// The programs' version (CMake's project version).
const char* Version();

// Runs one command line (without the program's name): kExitUsage with a one-line hint on the
// error stream for an unknown option, an option without its value or a malformed value;
// --help prints the usage on the output stream. errIsTerminal: see Context::terminal.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const SimulatorWatch* simulatorWatch = nullptr, bool errIsTerminal = false);

}  // namespace vantrel::cli
