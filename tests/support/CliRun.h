// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs vantrel-cli in the test process and keeps what it printed.
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"

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

}  // namespace vantrel::test
