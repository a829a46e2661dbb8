#pragma once

#include <memory>
#include <string>

#include "ui/model/ConfigReport.h"

class QTextDocument;
class QPagedPaintDevice;

// The configuration report laid out on A4 pages: a rich-text document for the printer
// dialog and the PDF writer. Needs a QGuiApplication (the offscreen platform will do).
namespace vantrel::print {

std::unique_ptr<QTextDocument> MakeReportDocument(const ui::ConfigReport& report);

// Writes the report as a PDF through a temporary file and a rename, so a failed export never
// leaves half a file under the name asked for. Returns an error text, empty on success.
std::string WriteReportPdf(const ui::ConfigReport& report, const std::string& path);

}  // namespace vantrel::print
