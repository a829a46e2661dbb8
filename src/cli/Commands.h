#pragma once

#include "cli/Cli.h"

namespace vantrel::cli {

// vantrel-cli file show FILE.D70 [--json]
int FileShow(Context& context);

// Device commands: --port PATH or --device PROFILE.json.
int Ports(Context& context);
int Identify(Context& context);
int Read(Context& context);
int Program(Context& context);
int Measure(Context& context);
int Serial(Context& context);
int Dump(Context& context);

}  // namespace vantrel::cli
