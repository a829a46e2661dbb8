// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs vantrel-cli in the test process and keeps what it printed.
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"

namespace vantrel::test {

struct CliRun {
    int exitCode;
    std::string out;
    std::string err;
};

inline CliRun RunCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = cli::Run(args, out, err);
    return {code, out.str(), err.str()};
}

// The shipped example: a type K thermocouple 0..1000 °C, 4..20 mA.
inline const std::string kExample = std::string(VANTREL_EXAMPLES_DIR) + "/TC_K_0-1000C_4-20mA.D70";

// Writes the default simulated transmitter, changed by `change`, as a profile at `path`;
// `faults` is the profile's "faults" object as JSON (the profile writer leaves faults out).
inline std::string WriteProfile(const std::filesystem::path& path, const std::function<void(sim::Profile&)>& change = {},
                                const std::string& faults = {}) {
    sim::Profile profile = sim::MakeDefaultProfile();
    if (change) change(profile);
    std::string json = sim::ProfileJson(profile);
    if (!faults.empty()) json.insert(json.rfind('}'), ",\"faults\":" + faults);
    std::ofstream(path) << json;
    return path.string();
}

}  // namespace vantrel::test
