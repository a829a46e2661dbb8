// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The production line's stations on in-process simulated transmitters, each on its own
// virtual clock, and the shipped example programming file.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "files/ProgramFile.h"
#include "link/Clock.h"
#include "link/ScriptedDialogs.h"
#include "session/ProductionLine.h"
#include "sim/DefaultProfile.h"
#include "sim/SimTransport.h"
#include "sim/Transmitter.h"

namespace vantrel::test {

// A type K thermocouple 0..1000 °C, 4..20 mA (needs VANTREL_EXAMPLES_DIR).
inline device::ConfigRecord ExampleRecord() {
    const files::ReadResult file = files::ReadProgramFile(std::string(VANTREL_EXAMPLES_DIR) + "/TC_K_0-1000C_4-20mA.D70");
    EXPECT_TRUE(file.ok());
    return file.record;
}

// `count` transmitters of the default profile; ports "sim0", "sim1", ... Faults may be set on
// a transmitter before the stations run.
struct SimStations {
    explicit SimStations(int count) {
        const sim::Profile p = sim::MakeDefaultProfile();
        for (int i = 0; i < count; ++i) {
            transmitters.push_back(std::make_unique<sim::Transmitter>(p.identity, p.memory));
            transmitters.back()->setInput(p.input);
        }
    }
    std::vector<session::Station> Stations() {
        std::vector<session::Station> stations;
        for (std::size_t i = 0; i < transmitters.size(); ++i) {
            sim::Transmitter* t = transmitters[i].get();
            stations.push_back({"sim" + std::to_string(i), [t] {
                                    session::StationLink link;
                                    link.clock = std::make_unique<link::VirtualClock>();
                                    link.transport = std::make_unique<sim::SimTransport>(*t, *link.clock);
                                    link.log = std::make_unique<std::ostringstream>();
                                    link.dialogs = std::make_unique<link::ScriptedDialogs>(link::Answer::Cancel);
                                    return link;
                                }});
        }
        return stations;
    }
    std::vector<std::unique_ptr<sim::Transmitter>> transmitters;
};

}  // namespace vantrel::test
