// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/OperationBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <cmath>

#include "resources/StringTable.h"

namespace vantrel::widgets {

namespace {


QString Tr(int id, int offset) { return QString::fromStdString(resources::Text(id, offset)); }

void SetTextIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

}  // namespace

OperationBar::OperationBar(QWidget* parent) : QWidget(parent) {
    setObjectName("OperationBar");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    m_busy = new QLabel(this);
    m_busy->setObjectName("BusyPicture");
    m_busy->setFixedSize(30, 20);
    m_step = new QLabel(this);
    m_step->setObjectName("OperationStep");
    m_step->setMinimumWidth(260);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName("ProgressBar");
    m_bar->setRange(0, kBarSteps);
    m_bar->setTextVisible(false);
    m_bar->setFixedWidth(200);
    m_bar->setMaximumHeight(14);
    m_time = new QLabel(this);
    m_time->setObjectName("OperationTimeLeft");
    m_time->setMinimumWidth(110);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName("OperationCancel");
    m_cancel->setFocusPolicy(Qt::NoFocus);
    connect(m_cancel, &QPushButton::clicked, this, &OperationBar::cancelClicked);
    layout->addWidget(m_busy);
    layout->addWidget(m_step);
    layout->addWidget(m_bar);
    layout->addWidget(m_time);
    layout->addWidget(m_cancel);
    SetLanguage(m_languageOffset);
    hide();
}

QString OperationBar::StepText(link::Step step, int languageOffset) {
    return Tr(resources::text::kFirstStepText + static_cast<int>(step), languageOffset);
}

void OperationBar::SetLanguage(int languageOffset) {
    m_languageOffset = languageOffset;
    m_cancel->setText(Tr(resources::text::kCancel, languageOffset));
}

void OperationBar::SetBusyPicture(const QPixmap& picture) { m_busy->setPixmap(picture); }

void OperationBar::Follow(const link::ProgressMeter& meter) {
    if (!meter.running()) {
        m_bar->setValue(kBarSteps);
        return;
    }
    SetTextIfChanged(m_step, StepText(meter.step(), m_languageOffset));
    const int value = static_cast<int>(std::floor(meter.share() * kBarSteps));
    if (value > m_bar->value()) m_bar->setValue(value);
    const auto seconds = static_cast<long>(std::ceil(meter.remainingSeconds()));
    SetTextIfChanged(m_time, Tr(resources::text::kTimeLeftBefore, m_languageOffset) + ' ' + QString::number(seconds) +
                                 ' ' + Tr(resources::text::kTimeLeftAfter, m_languageOffset));
    if (!isVisible()) {
        m_cancel->setEnabled(true);
        show();
    }
}

void OperationBar::End() {
    hide();
    m_bar->setValue(0);
    m_step->clear();
    m_time->clear();
}

}  // namespace vantrel::widgets
