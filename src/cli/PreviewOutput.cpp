// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PreviewOutput.h"

#include <QByteArray>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ostream>

#include "cli/Commands.h"
#include "device/PlanPreview.h"
#include "render/PreviewPicture.h"

namespace vantrel::cli {

namespace {

constexpr const char* kPreviewOption = "--preview";

bool EndsWith(std::string name, const std::string& suffix) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool JsonOutput(const Context& context) { return context.invocation.HasFlag("--json"); }

}  // namespace

bool NeedsGuiApplication(const std::vector<std::string>& args) {
    const auto it = std::find(args.begin(), args.end(), kPreviewOption);
    return it != args.end() && it + 1 != args.end() && EndsWith(*(it + 1), ".png");
}

bool PreviewTargetValid(Context& context) {
    if (!context.invocation.HasFlag(kPreviewOption)) return true;
    const auto target = context.invocation.OptionValue(kPreviewOption);
    if (target && (EndsWith(*target, ".csv") || EndsWith(*target, ".png"))) return true;
    context.err << "vantrel-cli: --preview takes a file name ending in .csv or .png\n";
    return false;
}

int WritePreviewIfAsked(Context& context, const device::ProgramResult& result, int inputCode, int optionWord,
                        const device::WorkingState& working, int exitCode) {
    const auto target = context.invocation.OptionValue(kPreviewOption);
    if (!target) return exitCode;
    const int offset = context.languageOffset();
    std::ostream& info = JsonOutput(context) ? context.err : context.out;
    if (result.status == device::ProgramStatus::NotWritten || result.status == device::ProgramStatus::Interrupted) {
        // Nothing was learnt from the transmitter: there is no plan to draw.
        return exitCode;
    }
    const device::PlanPreview preview = device::PreviewPlan(result.plan, inputCode, optionWord, working, offset);
    if (!preview.available) {
        info << preview.note << '\n';
        return exitCode;
    }
    const std::string content = EndsWith(*target, ".png")
                                    ? render::PreviewPng(preview, offset).toStdString()
                                    : device::PreviewCsv(preview);
    if (content.empty()) return ReportOutputProblem(context, *target, {files::FileError::SystemError, EIO});
    if (const int written = WriteOutputFile(context, *target, content); written != kExitDone)
        return exitCode == kExitDone ? written : exitCode;
    info << device::LargestErrorText(preview, offset) << '\n';
    if (!preview.note.empty()) info << preview.note << '\n';
    return exitCode;
}

}  // namespace vantrel::cli
