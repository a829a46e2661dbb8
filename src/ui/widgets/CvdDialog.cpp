// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/CvdDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

#include "device/Families.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::widgets {

namespace {

namespace text = resources::text;

QString Text(int id, int offset) { return QString::fromStdString(resources::Text(id, offset)); }

}  // namespace

CvdDialog::CvdDialog(int language, int maxPoints, QWidget* parent) : QDialog(parent) {
    setObjectName("CvdDialog");
    setWindowTitle(Text(text::kCvdTitle, language));
    m_abc = new QRadioButton(QStringLiteral("A, B, C"), this);
    m_abc->setObjectName("cvdABC");
    m_alpha = new QRadioButton(QStringLiteral("α, β, δ"), this);
    m_alpha->setObjectName("cvdAlpha");
    m_abc->setChecked(true);
    auto* form = new QFormLayout;
    const auto box = [this](const char* name, const QString& value) {
        auto* e = new QLineEdit(value, this);
        e->setObjectName(name);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setMinimumWidth(150);
        return e;
    };
    m_r0 = box("cvdR0", QStringLiteral("100"));
    m_c1 = box("cvd1", QStringLiteral("3.9083e-3"));
    m_c2 = box("cvd2", QStringLiteral("-5.775e-7"));
    m_c3 = box("cvd3", QStringLiteral("-4.183e-12"));
    m_from = box("cvdFrom", QStringLiteral("0"));
    m_to = box("cvdTo", QStringLiteral("400"));
    m_count = new QSpinBox(this);
    m_count->setObjectName("cvdCount");
    m_count->setRange(device::kMinPoints, maxPoints);
    m_count->setValue(std::min(maxPoints, 21));
    auto* choice = new QHBoxLayout;
    choice->addWidget(m_abc);
    choice->addWidget(m_alpha);
    choice->addStretch();
    form->addRow(QString(), choice);
    form->addRow(QStringLiteral("R0 (Ohm)"), m_r0);
    m_l1 = new QLabel(this);
    m_l2 = new QLabel(this);
    m_l3 = new QLabel(this);
    form->addRow(m_l1, m_c1);
    form->addRow(m_l2, m_c2);
    form->addRow(m_l3, m_c3);
    form->addRow(Text(text::kMin, language) + QStringLiteral(" (°C)"), m_from);
    form->addRow(Text(text::kMax, language) + QStringLiteral(" (°C)"), m_to);
    form->addRow(Text(text::kPointCountField, language).remove(':').trimmed(), m_count);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName("cvdOK");
    buttons->addButton(Text(text::kCancel, language), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_abc, &QRadioButton::toggled, this, [this] { Relabel(); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    Relabel();
}

std::optional<math::CvdCoefficients> CvdDialog::Coefficients(QLineEdit*& bad) const {
    double v[4] = {};
    QLineEdit* boxes[4] = {m_r0, m_c1, m_c2, m_c3};
    for (int i = 0; i < 4; ++i) {
        const auto n = resources::ParseNumber(boxes[i]->text().toStdString());
        if (!n) {
            bad = boxes[i];
            return std::nullopt;
        }
        v[i] = *n;
    }
    if (m_abc->isChecked()) return math::CvdCoefficients{v[0], v[1], v[2], v[3]};
    return math::CvdFromAlphaBetaDelta(v[0], v[1], v[3], v[2]);  // boxes: alpha, delta, beta
}

std::optional<double> CvdDialog::From() const { return resources::ParseNumber(m_from->text().toStdString()); }

std::optional<double> CvdDialog::To() const { return resources::ParseNumber(m_to->text().toStdString()); }

int CvdDialog::Count() const { return m_count->value(); }

void CvdDialog::Relabel() {
    const bool abc = m_abc->isChecked();
    m_l1->setText(abc ? QStringLiteral("A") : QStringLiteral("α"));
    m_l2->setText(abc ? QStringLiteral("B") : QStringLiteral("δ"));
    m_l3->setText(abc ? QStringLiteral("C") : QStringLiteral("β"));
    if (abc) {
        m_c1->setText(QStringLiteral("3.9083e-3"));
        m_c2->setText(QStringLiteral("-5.775e-7"));
        m_c3->setText(QStringLiteral("-4.183e-12"));
    } else {
        m_c1->setText(QStringLiteral("0.00385055"));
        m_c2->setText(QStringLiteral("1.4999"));
        m_c3->setText(QStringLiteral("0.10863"));
    }
}

}  // namespace vantrel::widgets
