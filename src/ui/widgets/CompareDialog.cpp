// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/CompareDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "resources/StringTable.h"
#include "ui/widgets/Palette.h"

namespace vantrel::widgets {

namespace {

namespace txt = resources::text;
const QColor kDifferBackground(255, 226, 222);
const QColor kDifferText(150, 20, 10);

QString T(int id, int offset) { return QString::fromStdString(resources::Text(id, offset)); }

QTableWidgetItem* Cell(const std::string& text) {
    auto* item = new QTableWidgetItem(text.empty() ? QStringLiteral("—") : QString::fromStdString(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

CompareDialog::CompareDialog(const ui::Comparison& comparison, int o, QWidget* parent, const QStringList& sideHeadings,
                             const QString& title)
    : QDialog(parent) {
    setObjectName("Compare");
    setWindowTitle(title.isEmpty() ? T(txt::kCompareTitle, o) : title);
    auto* layout = new QVBoxLayout(this);
    m_table = new QTableWidget(static_cast<int>(comparison.rows.size()), 3, this);
    m_table->setObjectName("CompareTable");
    const QStringList sides =
        sideHeadings.size() == 2 ? sideHeadings : QStringList{T(txt::kCompareTransmitter, o), T(resources::text::kFile, o)};
    m_table->setHorizontalHeaderLabels({T(txt::kCompareField, o), sides[0], sides[1]});
    m_table->verticalHeader()->setVisible(false);
    m_table->setAlternatingRowColors(false);
    m_table->setShowGrid(false);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < static_cast<int>(comparison.rows.size()); ++r) {
        const ui::CompareRow& row = comparison.rows[static_cast<std::size_t>(r)];
        const QString mark = row.differs ? QStringLiteral("≠  ") : QStringLiteral("    ");
        auto* label = Cell(row.label);
        label->setText(mark + label->text());
        m_table->setItem(r, 0, label);
        m_table->setItem(r, 1, Cell(row.deviceValue));
        m_table->setItem(r, 2, Cell(row.fileValue));
        if (!row.differs) continue;
        for (int c = 0; c < 3; ++c) {
            QTableWidgetItem* item = m_table->item(r, c);
            item->setBackground(kDifferBackground);
            item->setForeground(kDifferText);
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
            item->setToolTip(T(txt::kCompareDiffers, o));
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_table->verticalHeader()->setDefaultSectionSize(24);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setMinimumSize(620, 520);
    layout->addWidget(m_table);

    m_verdict = new QLabel(this);
    m_verdict->setObjectName("CompareVerdict");
    if (comparison.Equal()) {
        m_verdict->setText(T(txt::kCompareEqual, o));
        m_verdict->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;")
                                     .arg(ForPalette(this, QColor(0x1d, 0x6b, 0x2a), QColor(0x7f, 0xd8, 0x8f)).name()));
    } else {
        m_verdict->setText(T(txt::kCompareDifferent, o) + ' ' + QString::number(comparison.DifferingCount()));
        m_verdict->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;")
                                     .arg(ForPalette(this, QColor(0x96, 0x14, 0x0a), QColor(0xff, 0x8a, 0x80)).name()));
    }
    layout->addWidget(m_verdict);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(T(resources::text::kSerialClose, o), QDialogButtonBox::AcceptRole);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(700, 640);
}

}  // namespace vantrel::widgets
