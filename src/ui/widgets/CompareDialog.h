// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "ui/model/ConfigCompare.h"

class QTableWidget;
class QLabel;

namespace vantrel::widgets {

// The transmitter's configuration beside the open one: one row per field, the transmitter's
// value and the file's, the rows that differ marked in colour and with a sign. The history
// shows two of its entries the same way, under headings and a title of its own.
class CompareDialog : public QDialog {
    Q_OBJECT
public:
    CompareDialog(const ui::Comparison& comparison, int languageOffset, QWidget* parent = nullptr,
                  const QStringList& sideHeadings = {}, const QString& title = {});
    QTableWidget* table() const { return m_table; }
    QLabel* verdict() const { return m_verdict; }

private:
    QTableWidget* m_table = nullptr;
    QLabel* m_verdict = nullptr;
};

}  // namespace vantrel::widgets
