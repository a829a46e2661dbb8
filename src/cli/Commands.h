#pragma once

#include "cli/Cli.h"

namespace vantrel::cli {

// vantrel-cli file show FILE.D70 [--json]
int FileShow(Context& context);

}  // namespace vantrel::cli
