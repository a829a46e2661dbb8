// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "cli/Cli.h"
#include "history/Connection.h"
#include "history/Recorder.h"

// How the command-line tool records its device commands in the history: --history picks the
// database (the local SQLite file without it), --no-history switches recording off.
namespace vantrel::cli {

// The connection --history names, or the default. Empty, with a message on the error stream,
// when --history names no database.
std::optional<history::Connection> HistoryConnection(Context& context);

// The recorder of a device command: empty with --no-history; exitCode kExitUsage when
// --history is not a database (the caller stops before touching the line).
std::unique_ptr<history::HistoryRecorder> OpenRecorder(Context& context, int& exitCode);

// Waits for the recorder's writes, then says what the user must know (a database that could
// not be written, a serial number recorded as "unknown") on the error stream.
void FinishRecording(std::ostream& err, int languageOffset, history::HistoryRecorder& recorder);

}  // namespace vantrel::cli
