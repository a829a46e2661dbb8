// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main window's measurement log: started and stopped by the user, given up with a word when
// the file stops taking rows.
#include "app/MainWindow.h"

#include <QAction>

#include "resources/StringTable.h"
#include "ui/widgets/ProgramWindow.h"

namespace vantrel::app {

namespace res = vantrel::resources;

void MainWindow::ToggleLogging() {
    if (m_log) {
        StopLogging();
        return;
    }
    if (deviceBusy()) return;  // the file dialog would hold a running exchange up
    StartLogging();
}

namespace {

// A name that sorts by time and does not overwrite yesterday's log.
std::string SuggestedLogName(const measure::Timestamp& now) {
    std::string iso = measure::IsoTime(now);  // 2024-05-03T14:22:05.123+02:00
    std::string stamp;
    for (char c : iso.substr(0, 19))
        if (c != '-' && c != ':') stamp += c == 'T' ? '-' : c;
    return "vantrel-" + stamp + ".csv";
}

}  // namespace

void MainWindow::StartLogging() {
    const int offset = m_session->state.LanguageOffset();
    ui::FileDialogRequest request;
    request.title = res::Text(res::text::kLogDialogTitle, offset);
    request.filter = res::Text(res::text::kLogFileFilter, offset);
    request.options = 2;  // ask before replacing a file
    request.fileName = SuggestedLogName(m_timeSource());
    request.defaultExtension = ".csv";
    const std::string path = m_services.fileDialogs->SaveFileName(request);
    if (path.empty()) return;
    measure::MeasurementLog::OpenResult opened = measure::MeasurementLog::Open(path, m_timeSource);
    if (!opened.log) {
        ShowMessage(res::text::kLogNotWritable, "\n" + path + "\n(" + opened.error + ")", link::Buttons::Ok,
                    link::Icon::Exclamation);
        return;
    }
    m_log = std::move(opened.log);
    RefreshLogging();
    RefreshCommands();
}

void MainWindow::StopLogging() {
    m_log.reset();  // every row is already in the file
    RefreshLogging();
    RefreshCommands();
}

// A log that stops writing (disk full, stick pulled) is given up at once, with a word; the
// measurement goes on.
void MainWindow::LogReading(const measure::Reading& reading) {
    if (!m_log || m_log->Append(reading)) return;
    const std::string detail = "\n" + m_log->path() + "\n(" + m_log->error() + ")";
    StopLogging();
    ShowMessage(res::text::kLogStopped, detail, link::Buttons::Ok, link::Icon::Exclamation);
}

void MainWindow::RefreshLogging() {
    const bool on = m_log != nullptr;
    if (QAction* item = menuItem("registra")) item->setText(T(on ? res::text::kStopLogging : res::text::kStartLogging));
    if (m_program) m_program->SetLogging(on, on ? QString::fromStdString(m_log->path()) : QString());
}

}  // namespace vantrel::app
