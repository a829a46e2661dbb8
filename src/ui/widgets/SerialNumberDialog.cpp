// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/SerialNumberDialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/StringTable.h"

namespace vantrel::widgets {

namespace {

constexpr ui::SerialField kFields[] = {ui::SerialField::Customer, ui::SerialField::Year, ui::SerialField::Order,
                                       ui::SerialField::Progressive};
constexpr const char* kNames[] = {"customerText", "anno", "ordine", "progressiveText"};

}  // namespace

SerialNumberDialog::SerialNumberDialog(ui::SerialNumberWindow& model, link::Dialogs& dialogs,
                                       std::function<bool()> readSerial, int languageOffset, QWidget* parent)
    : QDialog(parent), m_model(model), m_dialogs(dialogs), m_readSerial(std::move(readSerial)) {
    setObjectName("serial");
    const auto caption = [languageOffset](int id) { return QString::fromStdString(resources::Text(id, languageOffset)); };
    setWindowTitle(caption(resources::text::kSerialTitle));

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(14);
    form->setVerticalSpacing(8);
    const int labels[] = {resources::text::kSerialCustomer, resources::text::kSerialYear,
                          resources::text::kSerialOrder, resources::text::kSerialProgressive};
    for (int i = 0; i < 4; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(kNames[i]);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setMinimumWidth(110);
        box->installEventFilter(this);
        const ui::SerialField field = kFields[i];
        connect(box, &QLineEdit::textEdited, this,
                [this, field](const QString& text) { m_model.FieldText(field) = text.toStdString(); });
        m_fields[i] = box;
        form->addRow(caption(labels[i]), box);
    }

    m_read = new QPushButton(caption(resources::text::kSerialRead), this);
    m_read->setObjectName("cmd_leggiserial");
    m_write = new QPushButton(caption(resources::text::kSerialWrite), this);
    m_write->setObjectName("cmd_scriviserial");
    auto* close = new QPushButton(caption(resources::text::kSerialClose), this);
    close->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_read);
    buttons->addWidget(m_write);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(14);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_read, &QPushButton::clicked, this, &SerialNumberDialog::Read);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    m_model.Open();
    Refresh();
}

QLineEdit* SerialNumberDialog::field(ui::SerialField which) const { return m_fields[static_cast<int>(which)]; }

void SerialNumberDialog::Refresh() {
    for (int i = 0; i < 4; ++i) {
        const QString text = QString::fromStdString(m_model.FieldText(kFields[i]));
        if (m_fields[i]->text() != text) m_fields[i]->setText(text);
        m_fields[i]->setReadOnly(!m_model.editing);
    }
    m_write->setVisible(m_model.writeButtonVisible);
}

void SerialNumberDialog::Read() {
    m_read->setEnabled(false);
    const bool ok = m_readSerial ? m_readSerial() : false;
    m_model.ReadFinished(ok);
    m_read->setEnabled(true);
    Refresh();
}

bool SerialNumberDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (int i = 0; i < 4; ++i) {
            if (watched != m_fields[i] || m_fields[i]->isReadOnly()) continue;
            m_model.LeaveField(kFields[i], m_dialogs);
            Refresh();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SerialNumberDialog::done(int result) {
    m_model.Close();
    Refresh();
    QDialog::done(result);
}

}  // namespace vantrel::widgets
