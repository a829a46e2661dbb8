// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>
#include <vector>

#include "device/ConfigRecord.h"
#include "history/Store.h"
#include "link/Dialogs.h"
#include "ui/model/ProgramFileCommands.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace vantrel::widgets {

// The history: the entries (newest first) filtered by serial number, model, period, station
// and outcome; the details of the chosen entry; two entries of one transmitter side by side,
// field by field as Compare shows them; "load into the form" to restore a past configuration;
// the chosen entries (or all listed) as CSV.
class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kListLimit = 2000;  // a list is the newest this-many matching entries

    struct Hooks {
        // Pushes an entry's configuration into the programming form; false when it was refused
        // (the hook has said why).
        std::function<bool(const device::ConfigRecord& record)> loadIntoForm;
        link::Dialogs* dialogs = nullptr;
        ui::FileDialogs* fileDialogs = nullptr;
        std::function<void(QWidget*)> observeWindow;  // windows this one opens (tests, screenshots)
    };

    HistoryWindow(history::Store& store, int languageOffset, Hooks hooks, QWidget* parent = nullptr);

    // Lists the entries the filters let through.
    void Refresh();
    // Chooses the rows of these entries.
    void Select(const std::vector<long long>& ids);
    const std::vector<history::Entry>& entries() const { return m_entries; }

    QTableWidget* table() const { return m_table; }
    QLineEdit* serialFilter() const { return m_serial; }
    QComboBox* modelFilter() const { return m_model; }
    QLineEdit* fromFilter() const { return m_from; }
    QLineEdit* toFilter() const { return m_to; }
    QLineEdit* stationFilter() const { return m_station; }
    QComboBox* outcomeFilter() const { return m_outcome; }
    QPlainTextEdit* details() const { return m_details; }
    QPushButton* compareButton() const { return m_compare; }
    QPushButton* loadButton() const { return m_load; }
    QPushButton* exportButton() const { return m_export; }

private:
    std::vector<const history::Entry*> Chosen() const;
    void ShowDetails();
    void CompareChosen();
    void LoadChosen();
    void ExportChosen();
    void ShowMessage(int textId, const std::string& detail, link::Icon icon);
    QString T(int id) const;

    history::Store& m_store;
    int m_offset;
    Hooks m_hooks;
    std::vector<history::Entry> m_entries;

    QLineEdit* m_serial = nullptr;
    QComboBox* m_model = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QLineEdit* m_station = nullptr;
    QComboBox* m_outcome = nullptr;
    QLabel* m_count = nullptr;
    QTableWidget* m_table = nullptr;
    QPlainTextEdit* m_details = nullptr;
    QPushButton* m_compare = nullptr;
    QPushButton* m_load = nullptr;
    QPushButton* m_export = nullptr;
};

}  // namespace vantrel::widgets
