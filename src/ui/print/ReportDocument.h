// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "files/SafeWrite.h"
#include "ui/model/ConfigReport.h"

class QTextDocument;
class QPagedPaintDevice;

// The configuration report laid out on A4 pages: a rich-text document for the printer
// dialog and the PDF writer. Needs a QGuiApplication (the offscreen platform will do).
namespace vantrel::print {

std::unique_ptr<QTextDocument> MakeReportDocument(const ui::ConfigReport& report);

// The report as the bytes of a PDF document.
std::string ReportPdf(const ui::ConfigReport& report);

// Writes the report as a PDF through files::SafeWrite, so a failed export never leaves half a
// file under the name asked for.
files::WriteResult WriteReportPdf(const ui::ConfigReport& report, const std::string& path);

}  // namespace vantrel::print
