// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/HistoryWindow.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

#include "history/Export.h"
#include "resources/StringTable.h"
#include "ui/model/ConfigCompare.h"
#include "ui/widgets/CompareDialog.h"

namespace vantrel::widgets {

namespace {

namespace txt = resources::text;
constexpr session::Outcome kOutcomes[] = {
    session::Outcome::Done,        session::Outcome::Cancelled,           session::Outcome::CommunicationFailed,
    session::Outcome::Refused,     session::Outcome::Interrupted,         session::Outcome::WrittenNotConfirmed,
    session::Outcome::VerifyFailed, session::Outcome::Different};
enum Column { kId, kTime, kStation, kUser, kPort, kOperation, kOutcome, kModel, kSerial, kColumns };

QString Q(const std::string& text) { return QString::fromStdString(text); }

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

// "2024-05-03T12:22:05.123Z" as "2024-05-03 12:22:05".
QString ShownTime(const std::string& time) { return Q(time.substr(0, 19)).replace('T', ' '); }

}  // namespace

HistoryWindow::HistoryWindow(history::Store& store, int languageOffset, Hooks hooks, QWidget* parent)
    : QDialog(parent), m_store(store), m_offset(languageOffset), m_hooks(std::move(hooks)) {
    setObjectName("History");
    setWindowTitle(T(txt::kHistoryTitle));

    auto* filters = new QHBoxLayout;
    const auto labelled = [&](int textId, QWidget* field) {
        auto* box = new QVBoxLayout;
        box->addWidget(new QLabel(T(textId), this));
        box->addWidget(field);
        filters->addLayout(box);
    };
    m_serial = new QLineEdit(this);
    m_serial->setObjectName("HistorySerial");
    m_serial->setPlaceholderText(QStringLiteral("12-10-91-528"));
    labelled(txt::kHistorySerial, m_serial);
    m_model = new QComboBox(this);
    m_model->setObjectName("HistoryModel");
    m_model->addItem(T(txt::kHistoryAll));
    for (const auto& [family, model] : m_store.Models())
        m_model->addItem(QStringLiteral("%1/%2").arg(family).arg(model), QVariant::fromValue(family * 1000 + model));
    labelled(txt::kHistoryModel, m_model);
    m_from = new QLineEdit(this);
    m_from->setObjectName("HistoryFrom");
    m_from->setPlaceholderText(QStringLiteral("2024-05-03"));
    labelled(txt::kHistoryFrom, m_from);
    m_to = new QLineEdit(this);
    m_to->setObjectName("HistoryTo");
    m_to->setPlaceholderText(QStringLiteral("2024-05-31"));
    labelled(txt::kHistoryTo, m_to);
    m_station = new QLineEdit(this);
    m_station->setObjectName("HistoryStation");
    labelled(txt::kHistoryStation, m_station);
    m_outcome = new QComboBox(this);
    m_outcome->setObjectName("HistoryOutcome");
    m_outcome->addItem(T(txt::kHistoryAll));
    for (session::Outcome outcome : kOutcomes)
        m_outcome->addItem(T(session::OutcomeTextId(outcome)), QString::fromLatin1(session::OutcomeKey(outcome)));
    labelled(txt::kHistoryOutcome, m_outcome);
    for (QLineEdit* edit : {m_serial, m_from, m_to, m_station})
        connect(edit, &QLineEdit::editingFinished, this, &HistoryWindow::Refresh);
    for (QComboBox* combo : {m_model, m_outcome})
        connect(combo, &QComboBox::currentIndexChanged, this, &HistoryWindow::Refresh);

    m_table = new QTableWidget(0, kColumns, this);
    m_table->setObjectName("HistoryTable");
    m_table->setHorizontalHeaderLabels({T(txt::kHistoryEntry), T(txt::kHistoryTime), T(txt::kHistoryStation),
                                        T(txt::kHistoryUser), T(txt::kHistoryPort), T(txt::kHistoryOperation),
                                        T(txt::kHistoryOutcome), T(txt::kHistoryModel), T(txt::kHistorySerial)});
    m_table->verticalHeader()->setVisible(false);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumSize(900, 280);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &HistoryWindow::ShowDetails);

    m_details = new QPlainTextEdit(this);
    m_details->setObjectName("HistoryDetails");
    m_details->setReadOnly(true);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_table);
    split->addWidget(m_details);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    m_count = new QLabel(this);
    m_count->setObjectName("HistoryCount");
    auto* buttons = new QDialogButtonBox(this);
    m_compare = buttons->addButton(T(txt::kHistoryCompare), QDialogButtonBox::ActionRole);
    m_compare->setObjectName("HistoryCompare");
    m_load = buttons->addButton(T(txt::kHistoryLoadIntoForm), QDialogButtonBox::ActionRole);
    m_load->setObjectName("HistoryLoad");
    m_export = buttons->addButton(T(txt::kHistoryExportCsv), QDialogButtonBox::ActionRole);
    m_export->setObjectName("HistoryExport");
    QPushButton* close = buttons->addButton(T(resources::text::kSerialClose), QDialogButtonBox::RejectRole);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_compare, &QPushButton::clicked, this, &HistoryWindow::CompareChosen);
    connect(m_load, &QPushButton::clicked, this, &HistoryWindow::LoadChosen);
    connect(m_export, &QPushButton::clicked, this, &HistoryWindow::ExportChosen);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(split, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_count, 1);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    resize(1000, 680);
    Refresh();
}

QString HistoryWindow::T(int id) const { return Q(resources::Text(id, m_offset)); }

void HistoryWindow::Refresh() {
    history::Filter filter;
    filter.newestFirst = true;
    filter.limit = kListLimit;
    bool valid = true;
    if (!m_serial->text().trimmed().isEmpty()) {
        filter.serial = history::NormalizeSerial(m_serial->text().toStdString());
        valid = valid && filter.serial.has_value();
    }
    if (const QVariant model = m_model->currentData(); model.isValid()) {
        filter.family = model.toInt() / 1000;
        filter.model = model.toInt() % 1000;
    }
    if (!m_from->text().trimmed().isEmpty()) {
        filter.since = history::NormalizeTime(m_from->text().toStdString());
        valid = valid && filter.since.has_value();
    }
    if (!m_to->text().trimmed().isEmpty()) {
        // The day named is included: up to the start of the next one.
        std::optional<std::string> to = history::NormalizeTime(m_to->text().toStdString());
        if (to && m_to->text().trimmed().size() == 10)
            to = QDateTime::fromString(Q(*to), Qt::ISODateWithMs).addDays(1).toString(Qt::ISODateWithMs).toStdString();
        filter.until = to;
        valid = valid && to.has_value();
    }
    if (!m_station->text().trimmed().isEmpty()) filter.station = m_station->text().trimmed().toStdString();
    if (const QVariant outcome = m_outcome->currentData(); outcome.isValid())
        filter.outcome = outcome.toString().toStdString();

    // A filter that is not understood lists nothing rather than everything.
    m_entries = valid ? m_store.List(filter, true) : std::vector<history::Entry>{};
    m_table->setRowCount(static_cast<int>(m_entries.size()));
    for (int row = 0; row < static_cast<int>(m_entries.size()); ++row) {
        const history::Entry& e = m_entries[static_cast<std::size_t>(row)];
        const auto operation = session::OperationFromKey(e.operation);
        const auto outcome = session::OutcomeFromKey(e.outcome);
        m_table->setItem(row, kId, Cell(QString::number(e.id)));
        m_table->setItem(row, kTime, Cell(ShownTime(e.time)));
        m_table->setItem(row, kStation, Cell(Q(e.station)));
        m_table->setItem(row, kUser, Cell(Q(e.user)));
        m_table->setItem(row, kPort, Cell(Q(e.port)));
        m_table->setItem(row, kOperation, Cell(operation ? T(session::OperationTextId(*operation)) : Q(e.operation)));
        m_table->setItem(row, kOutcome, Cell(outcome ? T(session::OutcomeTextId(*outcome)) : Q(e.outcome)));
        m_table->setItem(row, kModel, Cell(QStringLiteral("%1/%2").arg(e.family).arg(e.model)));
        m_table->setItem(row, kSerial, Cell(e.serial == history::kUnknownSerial ? T(txt::kHistoryUnknownSerial)
                                                                             : Q(e.serial)));
    }
    m_table->resizeColumnsToContents();
    if (m_entries.empty())
        m_count->setText(T(txt::kHistoryNoEntries));
    else if (static_cast<int>(m_entries.size()) == kListLimit)
        m_count->setText(T(txt::kHistoryLimited) + ' ' + QString::number(kListLimit));
    else
        m_count->clear();
    ShowDetails();
}

void HistoryWindow::Select(const std::vector<long long>& ids) {
    m_table->clearSelection();
    const std::set<long long> wanted(ids.begin(), ids.end());
    m_table->setSelectionMode(QAbstractItemView::MultiSelection);
    for (int row = 0; row < static_cast<int>(m_entries.size()); ++row)
        if (wanted.count(m_entries[static_cast<std::size_t>(row)].id)) m_table->selectRow(row);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

std::vector<const history::Entry*> HistoryWindow::Chosen() const {
    std::vector<const history::Entry*> chosen;
    std::set<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) rows.insert(index.row());
    chosen.reserve(rows.size());
    for (int row : rows) chosen.push_back(&m_entries[static_cast<std::size_t>(row)]);
    return chosen;
}

void HistoryWindow::ShowDetails() {
    const std::vector<const history::Entry*> chosen = Chosen();
    m_compare->setEnabled(chosen.size() == 2);
    m_load->setEnabled(chosen.size() == 1 && m_hooks.loadIntoForm);
    if (chosen.size() != 1) {
        m_details->clear();
        return;
    }
    const history::Entry& e = *chosen.front();
    const std::optional<history::EntryDetails> details = history::ParseDetails(e.content);
    if (!details) {
        m_details->clear();
        return;
    }
    QString text;
    const auto line = [&](int label, const QString& value) { text += T(label) + QStringLiteral(": ") + value + '\n'; };
    line(txt::kHistoryEntry, QString::number(e.id));
    line(txt::kHistoryTime, ShownTime(e.time));
    line(txt::kHistoryStation, Q(e.station));
    line(txt::kHistoryUser, Q(e.user));
    line(txt::kHistoryPort, Q(e.port));
    line(txt::kHistoryOperation, T(session::OperationTextId(details->record.operation)));
    line(txt::kHistoryOutcome, T(session::OutcomeTextId(details->record.outcome)));
    line(txt::kHistoryModel, QStringLiteral("%1/%2").arg(e.family).arg(e.model));
    if (details->record.identity)
        line(txt::kHistoryFirmware, QStringLiteral("%1.%2")
                                        .arg(details->record.identity->FirmwareVersion)
                                        .arg(details->record.identity->FirmwareRelease));
    line(txt::kHistorySerial, e.serial == history::kUnknownSerial ? T(txt::kHistoryUnknownSerial) : Q(e.serial));
    if (details->serialUnset) text += T(txt::kHistorySerialUnset) + '\n';
    if (!details->record.writes.empty()) line(txt::kHistoryWrites, QString::number(details->record.writes.size()));
    if (const auto& verify = details->record.verify) {
        const int verdict = !verify->completed           ? txt::kVerifyIncomplete
                            : verify->mismatches.empty() ? txt::kVerifyPassed
                                                         : txt::kVerifyFailed;
        line(txt::kHistoryVerification,
             T(verdict) + ' ' + QString::number(verify->completed && verify->mismatches.empty()
                                                    ? verify->cellsChecked
                                                    : static_cast<int>(verify->mismatches.size())));
    }
    if (!details->record.summary.empty())
        text += '\n' + T(txt::kHistorySummary) + QStringLiteral(":\n") +
                Q(details->record.summary).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_details->setPlainText(text);
}

void HistoryWindow::ShowMessage(int textId, const std::string& detail, link::Icon icon) {
    if (!m_hooks.dialogs) return;
    link::Message message = link::TableMessage(textId, m_offset, link::Buttons::Ok, icon);
    message.text += detail;
    m_hooks.dialogs->Show(message);
}

void HistoryWindow::CompareChosen() {
    const std::vector<const history::Entry*> chosen = Chosen();
    if (chosen.size() != 2) return;
    // Oldest on the left.
    const history::Entry& a = chosen[0]->id < chosen[1]->id ? *chosen[0] : *chosen[1];
    const history::Entry& b = &a == chosen[0] ? *chosen[1] : *chosen[0];
    if (a.serial != b.serial || a.family != b.family || a.model != b.model) {
        ShowMessage(txt::kHistoryOtherTransmitters, {}, link::Icon::Exclamation);
        return;
    }
    const std::optional<history::EntryDetails> left = history::ParseDetails(a.content);
    const std::optional<history::EntryDetails> right = history::ParseDetails(b.content);
    const std::optional<device::ConfigRecord> leftRecord = left ? history::EntryConfiguration(*left) : std::nullopt;
    const std::optional<device::ConfigRecord> rightRecord = right ? history::EntryConfiguration(*right) : std::nullopt;
    if (!leftRecord || !rightRecord) {
        ShowMessage(txt::kHistoryNoConfiguration, "", link::Icon::Exclamation);
        return;
    }
    const ui::Comparison comparison = ui::CompareConfigurations(
        *leftRecord, *rightRecord, {m_offset, left->record.identity.value_or(device::Identity{})});
    const auto heading = [](const history::Entry& e) {
        return QStringLiteral("#%1  %2").arg(e.id).arg(ShownTime(e.time));
    };
    CompareDialog dialog(comparison, m_offset, this, {heading(a), heading(b)}, T(txt::kHistoryTitle));
    if (m_hooks.observeWindow) m_hooks.observeWindow(&dialog);
    dialog.exec();
}

void HistoryWindow::LoadChosen() {
    const std::vector<const history::Entry*> chosen = Chosen();
    if (chosen.size() != 1 || !m_hooks.loadIntoForm) return;
    const std::optional<history::EntryDetails> details = history::ParseDetails(chosen.front()->content);
    const std::optional<device::ConfigRecord> record = details ? history::EntryConfiguration(*details) : std::nullopt;
    if (!record) {
        ShowMessage(txt::kHistoryNoConfiguration, "", link::Icon::Exclamation);
        return;
    }
    // Restored, the window gives way to the form: Program is the next step.
    if (m_hooks.loadIntoForm(*record)) accept();
}

void HistoryWindow::ExportChosen() {
    if (!m_hooks.fileDialogs) return;
    std::vector<history::Entry> rows;
    const std::vector<const history::Entry*> chosen = Chosen();
    if (chosen.empty()) rows = m_entries;
    for (const history::Entry* e : chosen) rows.push_back(*e);
    ui::FileDialogRequest request;
    request.title = resources::Text(txt::kHistoryExportCsv, m_offset);
    request.filter = resources::Text(txt::kLogFileFilter, m_offset);
    request.options = 2;
    request.fileName = "vantrel-history.csv";
    request.defaultExtension = ".csv";
    const std::string path = m_hooks.fileDialogs->SaveFileName(request);
    if (path.empty()) return;
    std::string problem;
    if (!history::WriteEntriesCsv(rows, path, problem))
        ShowMessage(txt::kFileNotWritten, "\n" + path + "\n" + problem, link::Icon::Exclamation);
}

}  // namespace vantrel::widgets
