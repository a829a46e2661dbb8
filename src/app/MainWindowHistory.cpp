// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main window's history: the recorder, the last-seen note, the history window, restoring a
// past configuration and choosing the database.
#include "app/MainWindow.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "history/Store.h"
#include "resources/StringTable.h"
#include "session/Records.h"
#include "ui/widgets/HistoryWindow.h"

namespace vantrel::app {

namespace res = vantrel::resources;

void MainWindow::StartRecorder() {
    m_session->recorder = nullptr;
    m_history.reset();  // writes what the previous recorder still holds
    if (m_services.history) m_history = std::make_unique<history::HistoryRecorder>(*m_services.history);
    m_session->recorder = m_history.get();
}

// What the recording has to say comes after the operation, never in the middle of one: a
// database that cannot be written (once until it works again), a serial number that is not set.
void MainWindow::AfterOperation() {
    if (!m_history) return;
    for (const history::Notice& notice : m_history->TakeNotices()) {
        if (notice.kind == history::Notice::Kind::SerialUnset) continue;  // the status bar says it
        ShowMessage(res::text::kHistoryNotWritten, "\n" + notice.detail, link::Buttons::Ok, link::Icon::Exclamation);
    }
    NoteLastSeen();
}

void MainWindow::NoteLastSeen() {
    const session::OperationRecord& record = m_session->running.record;
    if (!m_history || record.operation != session::Operation::Read) return;
    m_historyNote->clear();
    if (record.outcome != session::Outcome::Done) return;
    if (record.serial && history::SerialUnset(*record.serial)) {
        m_historyNote->setText(T(res::text::kHistorySerialUnset));
        return;
    }
    // A database that just failed is not asked: the window would wait for its time-out.
    if (m_history->databaseFailing()) return;
    m_history->Flush();  // the entries before this read are in the database
    std::string problem;
    const std::unique_ptr<history::Store> store = history::Store::Open(m_history->connection(), problem);
    if (!store) return;
    const std::optional<history::LastSeen> seen = history::FindLastSeen(*store, record, m_history->lastUuid());
    if (!seen) {
        m_historyNote->setText(T(res::text::kHistoryFirstSeen));
        return;
    }
    const QString when = QString::fromStdString(seen->entry.time.substr(0, 19)).replace('T', ' ');
    m_historyNote->setText(T(res::text::kHistoryLastSeen) + ' ' + when + QStringLiteral(" UTC, ") +
                           QString::fromStdString(seen->entry.station) + QStringLiteral(" - ") +
                           T(seen->changed ? res::text::kHistoryChanged : res::text::kHistoryUnchanged));
}

void MainWindow::OpenHistory() {
    if (deviceBusy() || !m_history) return;
    m_history->Flush();  // the window lists what was recorded up to now
    std::string problem;
    const std::unique_ptr<history::Store> store = history::Store::Open(m_history->connection(), problem);
    if (!store) {
        ShowMessage(res::text::kHistoryCannotOpen, "\n" + problem, link::Buttons::Ok, link::Icon::Exclamation);
        return;
    }
    widgets::HistoryWindow::Hooks hooks;
    hooks.loadIntoForm = [this](const device::ConfigRecord& record) { return RestoreConfiguration(record); };
    hooks.dialogs = m_services.dialogs;
    hooks.fileDialogs = m_services.fileDialogs;
    hooks.observeWindow = [this](QWidget* window) { ObserveWindow(window); };
    widgets::HistoryWindow window(*store, m_session->state.LanguageOffset(), hooks, this);
    ObserveWindow(&window);
    window.exec();
    RefreshCommands();
}

bool MainWindow::RestoreConfiguration(const device::ConfigRecord& record) {
    if (!m_fileCommands->MayReplaceConfiguration()) return false;
    if (!session::LoadRecord(*m_session, record)) {
        ShowMessage(res::text::kHistoryDoesNotFit, {}, link::Buttons::Ok, link::Icon::Exclamation);
        return false;
    }
    // A restored configuration is no saved file: leaving or replacing it asks about it.
    m_session->state.MarkEdited();
    form().Changed();
    RefreshCommands();
    return true;
}

void MainWindow::ChooseHistoryDatabase() {
    if (deviceBusy()) return;
    QDialog dialog(this);
    dialog.setObjectName("HistoryDatabase");
    dialog.setWindowTitle(T(res::text::kHistoryDatabaseTitle));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(T(res::text::kHistoryConnection), &dialog));
    auto* field = new QLineEdit(QString::fromStdString(m_services.historyConnection), &dialog);
    field->setObjectName("HistoryConnection");
    field->setPlaceholderText(QStringLiteral("postgresql://user@host:5432/vantrel"));
    field->setMinimumWidth(420);
    layout->addWidget(field);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    ObserveWindow(&dialog);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::string text = field->text().trimmed().toStdString();
    std::string problem;
    const std::optional<history::Connection> connection = history::ParseConnection(text, problem);
    if (!connection) {
        ShowMessage(res::text::kHistoryConnectionInvalid, " " + text + "\n" + problem, link::Buttons::Ok,
                    link::Icon::Exclamation);
        return;
    }
    m_services.history = history::RecorderSettings{*connection, history::SpoolFileFor(*connection), {}};
    m_services.historyConnection = text;
    if (m_services.saveHistoryConnection) m_services.saveHistoryConnection(text);
    StartRecorder();
    RefreshCommands();
}

}  // namespace vantrel::app
