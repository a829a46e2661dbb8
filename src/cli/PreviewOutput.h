// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "cli/Cli.h"
#include "device/exchange/ProgramDevice.h"
#include "device/WorkingState.h"

// program FILE.D70 --dry-run --preview OUT.csv|OUT.png: the linearisation preview of the
// plan, written next to the programming's own report.
namespace vantrel::cli {

// True when the arguments ask for a PNG preview: the tool then needs a GUI application
// object (on the offscreen platform) to draw the chart.
bool NeedsGuiApplication(const std::vector<std::string>& args);

// False (with a message on err) when --preview names a file that is neither .csv nor .png.
bool PreviewTargetValid(Context& context);

// Writes the preview when --preview was given. Returns the exit code to use instead of
// `exitCode`: kExitOutputNotWritten when the file could not be written (and `exitCode` was
// kExitDone), otherwise `exitCode`.
int WritePreviewIfAsked(Context& context, const device::ProgramResult& result, int inputCode, int optionWord,
                        const device::WorkingState& working, int exitCode);

}  // namespace vantrel::cli
