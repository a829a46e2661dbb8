// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/print/ReportDocument.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <QBuffer>

namespace vantrel::print {

namespace {

constexpr int kPdfResolution = 300;
constexpr double kMarginMm = 18;

}  // namespace

std::unique_ptr<QTextDocument> MakeReportDocument(const ui::ConfigReport& report) {
    auto document = std::make_unique<QTextDocument>();
    document->setHtml(QString::fromStdString(ui::ReportHtml(report)));
    document->setDocumentMargin(0);
    return document;
}

std::string ReportPdf(const ui::ConfigReport& report) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        writer.setTitle(QString::fromStdString(report.title));
        writer.setCreator(QStringLiteral("Vantrel"));
        const std::unique_ptr<QTextDocument> document = MakeReportDocument(report);
        document->print(&writer);
    }
    return buffer.data().toStdString();
}

files::WriteResult WriteReportPdf(const ui::ConfigReport& report, const std::string& path) {
    return files::SafeWrite(path, ReportPdf(report));
}

}  // namespace vantrel::print
