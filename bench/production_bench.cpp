// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The production line's figure: programming (with verification) eight simulated transmitters
// at once against one alone, every session on the real clock so the protocol's pauses are
// true pauses. Prints both times and their ratio; no assertion on them.
//
//   production_bench [FILE.D70] [STATIONS]
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "files/ProgramFile.h"
#include "link/ScriptedDialogs.h"
#include "session/ProductionLine.h"
#include "sim/DefaultProfile.h"
#include "sim/SimTransport.h"

using namespace vantrel;

namespace {

double ProgramAtOnce(int count, const device::ConfigRecord& record, int& programmed) {
    const sim::Profile profile = sim::MakeDefaultProfile();
    std::vector<std::unique_ptr<sim::Transmitter>> transmitters;
    std::vector<session::Station> stations;
    for (int i = 0; i < count; ++i) {
        transmitters.push_back(std::make_unique<sim::Transmitter>(profile.identity, profile.memory));
        transmitters.back()->setInput(profile.input);
        sim::Transmitter* t = transmitters.back().get();
        stations.push_back({"sim" + std::to_string(i), [t] {
                                session::StationLink link;
                                link.clock = std::make_unique<link::RealClock>();
                                link.transport = std::make_unique<sim::SimTransport>(*t, *link.clock);
                                link.dialogs = std::make_unique<link::ScriptedDialogs>(link::Answer::Cancel);
                                return link;
                            }});
    }
    const auto start = std::chrono::steady_clock::now();
    const std::vector<session::StationResult> results = session::ProgramStations(stations, record, {true, 1});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    programmed = 0;
    for (const session::StationResult& r : results) programmed += r.status == session::StationStatus::Programmed;
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string file = argc > 1 ? argv[1] : VANTREL_EXAMPLE_FILE;
    const int stations = argc > 2 ? std::max(2, std::atoi(argv[2])) : 8;
    const files::ReadResult read = files::ReadProgramFile(file);
    if (!read.ok()) {
        std::fprintf(stderr, "production_bench: cannot read %s\n", file.c_str());
        return 1;
    }
    int programmedOne = 0;
    int programmedMany = 0;
    const double one = ProgramAtOnce(1, read.record, programmedOne);
    std::printf("1 transmitter:   %7.2f s  (%d programmed and verified)\n", one, programmedOne);
    const double many = ProgramAtOnce(stations, read.record, programmedMany);
    std::printf("%d transmitters:  %7.2f s  (%d programmed and verified)\n", stations, many, programmedMany);
    std::printf("ratio %d/1:       %7.3f  (target <= 1.2)\n", stations, many / one);
    return programmedOne == 1 && programmedMany == stations ? 0 : 1;
}
