// vantrel-sim: a simulated transmitter on a pseudo-terminal.
//
//   vantrel-sim --profile P.json [--dump OUT.json] [--log COMMANDS.txt] [--link PATH]
//   vantrel-sim --write-default-profile OUT.json   (regenerates profiles/default.json)
//
// Prints the pseudo-terminal's path as its first line, serves until SIGTERM or SIGINT, then
// writes the transmitter's memory (as a device profile) to OUT.json. With --log every
// command received is written to COMMANDS.txt, one a line ("SM", "PR", "$R 12", "$W 12 34").
// With --link the port is PATH, a symbolic link that follows the terminal when a pulled
// cable is plugged in again (the first line then prints PATH).
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

void Usage() {
    std::cerr << "usage: vantrel-sim --profile P.json [--dump OUT.json] [--log COMMANDS.txt] [--link PATH]\n";
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
    std::string profilePath;
    std::string dumpPath;
    std::string logPath;
    std::string linkPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--profile" || arg == "--dump" || arg == "--log" || arg == "--link") && i + 1 < argc) {
            (arg == "--profile" ? profilePath : arg == "--dump" ? dumpPath : arg == "--log" ? logPath : linkPath) =
                argv[++i];
        } else if (arg == "--write-default-profile" && i + 1 < argc) {
            const std::string error = vantrel::sim::SaveProfile(argv[++i], vantrel::sim::MakeDefaultProfile());
            if (!error.empty()) std::cerr << "vantrel-sim: " << error << "\n";
            return error.empty() ? kExitOk : kExitOutputNotWritten;
        } else if (arg == "--help" || arg == "-h") {
            Usage();
            return kExitOk;
        } else {
            std::cerr << "vantrel-sim: unexpected argument " << arg << "\n";
            Usage();
            return kExitUsage;
        }
    }
    if (profilePath.empty()) {
        Usage();
        return kExitUsage;
    }

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
