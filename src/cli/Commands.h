// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "cli/Cli.h"
#include "device/ConfigRecord.h"
#include "device/exchange/VerifyWrites.h"
#include "files/SafeWrite.h"
#include "ui/model/ConfigCompare.h"

namespace vantrel::files {
class JsonWriter;
}

namespace vantrel::cli {

// vantrel-cli file show FILE.D70 [--json]
int FileShow(Context& context);

// A programming file a command works from: its record, or empty after the message (text 174,
// the path and the reason, one per line) on the error stream.
std::optional<device::ConfigRecord> ReadProgrammingFile(Context& context, const std::string& path);

// An output file through files::SafeWrite. On failure the message (text 2047, the path and the
// reason) goes to the error stream and kExitOutputNotWritten is returned; a save written in
// place is reported there too. kExitDone otherwise.
int WriteOutputFile(Context& context, const std::string& path, std::string_view content);
int ReportOutputProblem(Context& context, const std::string& path, const files::FileProblem& problem);

// Device commands: --port PATH or --device PROFILE.json.
int Ports(Context& context);
int Identify(Context& context);
int Read(Context& context);
int Program(Context& context);
int Measure(Context& context);
int Serial(Context& context);
int Dump(Context& context);

// program with one --port: Program; with several: every port at once (production line).
int ProgramOnPorts(Context& context);
// vantrel-cli report [FILE.D70] --out REPORT.pdf
int Report(Context& context);
// vantrel-cli compare FILE.D70 [--json]
int Compare(Context& context);
// One line per field, the differing ones marked, then the verdict: compare and history diff.
void PrintComparison(Context& context, const ui::Comparison& comparison, const std::string& left,
                     const std::string& right);

// vantrel-cli history list|show|diff|export|check: the history database, read only.
int HistoryList(Context& context);
int HistoryShow(Context& context);
int HistoryDiff(Context& context);
int HistoryExport(Context& context);
int HistoryCheck(Context& context);

// Prints the verification after a programming (with --json nothing: the program's document
// holds it, WriteVerification); returns kExitVerifyFailed when a cell differs,
// kExitNotConfirmed when the check was cut short.
int PrintVerification(Context& context, const std::optional<device::VerifyResult>& verify);
// The verification as a JSON object: verified, completed, cellsChecked, mismatches
// ([address, expected, read] each).
void WriteVerification(files::JsonWriter& json, const device::VerifyResult& verify);

}  // namespace vantrel::cli
