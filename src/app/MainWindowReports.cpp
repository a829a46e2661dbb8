// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main window's report commands: print, export as PDF, and the verification after a
// programming.
#include "app/MainWindow.h"

#include <QDateTime>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

#include <cstdio>
#include <filesystem>

#include "files/DefaultName.h"
#include "resources/StringTable.h"
#include "session/Reports.h"
#include "ui/print/ReportDocument.h"

namespace vantrel::app {

namespace res = vantrel::resources;

// The report describes the configuration on the form. It is headed as the connected
// transmitter's while the form holds what was read from it (no file opened or saved since,
// nothing edited); otherwise as the file's, marked "(modified)" once edited.
ui::ConfigReport MainWindow::CurrentReport() {
    const device::WorkingState& s = m_session->state;
    const bool neverSaved = files::IsDefaultConfigName(ui::FileTitle(s.CurrentFile)) || s.CurrentFile.empty();
    const bool fromTransmitter =
        m_session->connected() && m_session->lastRead && neverSaved && !s.EditedSinceLoad;
    const QString date = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return session::SessionReport(*m_session, fromTransmitter, date.toStdString());
}

// A configuration no transmitter takes is not reported (the form shows it to be mended);
// the message names the field and what is allowed.
bool MainWindow::ConfigurationReportable() {
    const auto problem = session::CheckFormConfiguration(*m_session);
    if (!problem) return true;
    ShowMessage(0, device::ConfigProblemText(*problem, m_session->state.LanguageOffset()), link::Buttons::Ok,
                link::Icon::Exclamation);
    return false;
}

void MainWindow::FilePrint() {
    if (deviceBusy() || !ConfigurationReportable()) return;
    const ui::ConfigReport report = CurrentReport();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(report.title));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(T(resources::text::kPrint));
    ObserveWindow(&dialog);
    if (dialog.exec() != QDialog::Accepted) return;
    print::MakeReportDocument(report)->print(&printer);
}

void MainWindow::FileExportPdf() {
    if (deviceBusy() || !ConfigurationReportable()) return;
    ui::FileDialogRequest request;
    request.title = res::Text(res::text::kExportPdfMenu, m_session->state.LanguageOffset());
    request.filter = res::Text(res::text::kPdfDocument, m_session->state.LanguageOffset()) + " (*.pdf)|*.pdf|";
    request.options = 2;
    request.defaultExtension = ".pdf";
    std::string name = m_services.fileDialogs->SaveFileName(request);
    if (name.empty()) return;
    if (std::filesystem::path(name).extension().empty()) name += ".pdf";
    const files::WriteResult written = print::WriteReportPdf(CurrentReport(), name);
    const int offset = m_session->state.LanguageOffset();
    if (!written.ok())
        ShowMessage(res::text::kFileNotWritten, "\n" + name + "\n" + files::FileErrorText(written.problem, offset),
                    link::Buttons::Ok, link::Icon::Exclamation);
    else if (!written.atomic)
        ShowMessage(res::text::kFileSavedInPlace, "\n" + name, link::Buttons::Ok, link::Icon::Information);
}

void MainWindow::ShowVerification(const device::VerifyResult& verify) {
    if (!verify.completed) {
        ShowMessage(res::text::kVerifyIncomplete, {}, link::Buttons::Ok, link::Icon::Exclamation);
    } else if (verify.mismatches.empty()) {
        ShowMessage(res::text::kVerifyPassed, " " + std::to_string(verify.cellsChecked), link::Buttons::Ok,
                    link::Icon::Information);
    } else {
        std::string cells;
        for (const device::CellMismatch& m : verify.mismatches) {
            char line[48];
            std::snprintf(line, sizeof line, "\n%3d   0x%02X   0x%02X", m.address, m.expected, m.read);
            cells += line;
        }
        ShowMessage(res::text::kVerifyFailed, cells, link::Buttons::Ok, link::Icon::Critical);
    }
}

}  // namespace vantrel::app
