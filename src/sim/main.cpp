// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-sim: a simulated transmitter on a pseudo-terminal.
//
//   vantrel-sim --profile P.json [--dump OUT.json] [--log COMMANDS.txt] [--link PATH]
//   vantrel-sim --write-default-profile OUT.json   (regenerates profiles/default.json)
//   vantrel-sim --help | --version
//
// Prints the pseudo-terminal's path as its first line, serves until SIGTERM or SIGINT, then
// writes the transmitter's memory (as a device profile) to OUT.json. With --log every
// command received is written to COMMANDS.txt, one a line ("SM", "PR", "$R 12", "$W 12 34").
// With --link the port is PATH, a symbolic link that follows the terminal when a pulled
// cable is plugged in again (the first line then prints PATH).
#include <getopt.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "sim/DefaultProfile.h"
#include "sim/Profile.h"
#include "sim/PtyServer.h"
#include "sim/Transmitter.h"

namespace {

// As vantrel-cli's: 8 when an output file (the dump, the command log) could not be written.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOutputNotWritten = 8;

constexpr const char* kUsage =
    "usage: vantrel-sim --profile P.json [--dump OUT.json] [--log COMMANDS.txt] [--link PATH]\n"
    "       vantrel-sim --write-default-profile OUT.json\n"
    "       vantrel-sim --help | --version\n";

// A usage error: one line and where to look.
int UsageError(const std::string& problem) {
    std::cerr << "vantrel-sim: " << problem << "; try 'vantrel-sim --help'\n";
    return kExitUsage;
}

struct SimOptions {
    std::string profilePath;
    std::string dumpPath;
    std::string logPath;
    std::string linkPath;
    std::string defaultProfileOut;
    bool help = false;
    bool version = false;
};

// getopt_long's rules: "--name value" or "--name=value", options anywhere. Returns an empty
// string, or what is wrong with the command line.
std::string ParseOptions(int argc, char** argv, SimOptions& options) {
    enum { kProfile = 1, kDump, kLog, kLink, kWriteDefault, kVersion };
    static const option kLongOptions[] = {
        {"profile", required_argument, nullptr, kProfile},
        {"dump", required_argument, nullptr, kDump},
        {"log", required_argument, nullptr, kLog},
        {"link", required_argument, nullptr, kLink},
        {"write-default-profile", required_argument, nullptr, kWriteDefault},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, kVersion},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;  // the messages are ours, one line each
    optind = 1;
    for (;;) {
        const int found = getopt_long(argc, argv, ":h", kLongOptions, nullptr);
        if (found == -1) break;
        // The argument getopt_long has just taken (without "=value").
        std::string typed = optind > 0 && optind <= argc ? argv[optind - 1] : "";
        typed = typed.substr(0, typed.find('='));
        switch (found) {
            case kProfile: options.profilePath = optarg; break;
            case kDump: options.dumpPath = optarg; break;
            case kLog: options.logPath = optarg; break;
            case kLink: options.linkPath = optarg; break;
            case kWriteDefault: options.defaultProfileOut = optarg; break;
            case 'h': options.help = true; break;
            case kVersion: options.version = true; break;
            case ':': return "missing value after '" + typed + "'";
            default:  // a short option is named by optopt; a long one is the argument taken
                return "unknown option '" + (optopt != 0 ? std::string("-") + static_cast<char>(optopt) : typed) + "'";
        }
    }
    if (optind < argc) return std::string("unexpected argument '") + argv[optind] + "'";
    return {};
}

// SIGTERM and SIGINT are taken through a descriptor, so the server can sleep in poll.
int StopSignalDescriptor() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) return -1;
    return signalfd(-1, &set, SFD_CLOEXEC);
}

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    if (const std::string problem = ParseOptions(argc, argv, options); !problem.empty()) return UsageError(problem);
    if (options.help) {
        std::cout << kUsage;
        return kExitOk;
    }
    if (options.version) {
        std::cout << "vantrel-sim " << VANTREL_VERSION << '\n';
        return kExitOk;
    }
    if (!options.defaultProfileOut.empty()) {
        const std::string error = vantrel::sim::SaveProfile(options.defaultProfileOut, vantrel::sim::MakeDefaultProfile());
        if (!error.empty()) std::cerr << "vantrel-sim: " << error << "\n";
        return error.empty() ? kExitOk : kExitOutputNotWritten;
    }
    if (options.profilePath.empty()) return UsageError("--profile is needed");
    const std::string& profilePath = options.profilePath;
    const std::string& dumpPath = options.dumpPath;
    const std::string& logPath = options.logPath;
    const std::string& linkPath = options.linkPath;

    vantrel::sim::ProfileResult loaded = vantrel::sim::LoadProfile(profilePath);
    if (!loaded.profile) {
        std::cerr << "vantrel-sim: " << loaded.error << "\n";
        return kExitUsage;
    }
    vantrel::sim::Profile profile = *loaded.profile;
    vantrel::sim::Transmitter transmitter(profile.identity, profile.memory);
    transmitter.setInput(profile.input);
    transmitter.faults() = profile.faults;
    std::ofstream log;
    if (!logPath.empty()) {
        errno = 0;
        log.open(logPath, std::ios::trunc);
        if (!log) {
            std::cerr << "vantrel-sim: cannot write " << logPath << ": " << std::strerror(errno) << "\n";
            return kExitOutputNotWritten;
        }
        transmitter.setCommandListener([&log](const vantrel::sim::Command& command) {
            log << vantrel::sim::CommandLogText(command) << std::endl;
        });
    }

    std::signal(SIGPIPE, SIG_IGN);
    const int stopFd = StopSignalDescriptor();
    if (stopFd < 0) {
        std::perror("vantrel-sim: signals");
        return kExitFailed;
    }
    std::string error;
    auto server = vantrel::sim::PtyServer::Open(error);
    if (!server) {
        std::cerr << "vantrel-sim: " << error << "\n";
        return kExitFailed;
    }
    if (!linkPath.empty()) error = server->SetLink(linkPath);
    if (!error.empty()) {
        std::cerr << "vantrel-sim: " << linkPath << ": " << error << "\n";
        return kExitFailed;
    }
    std::cout << server->path() << std::endl;

    error = server->Serve(transmitter, stopFd);
    int status = kExitOk;
    if (!error.empty()) {
        std::cerr << "vantrel-sim: " << error << "\n";
        status = kExitFailed;
    }
    if (!dumpPath.empty()) {
        profile.memory = transmitter.memory();
        const std::string saveError = vantrel::sim::SaveProfile(dumpPath, profile);
        if (!saveError.empty()) {
            std::cerr << "vantrel-sim: " << saveError << "\n";
            status = kExitOutputNotWritten;
        }
    }
    close(stopFd);
    return status;
}
