// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/RangeControlWidget.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

namespace vantrel::widgets {

namespace {

void SetTextIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

void SetTextIfChanged(QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
}

}  // namespace

RangeControlWidget::RangeControlWidget(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setProperty("rangeControl", true);

    m_title = new QLabel(this);
    m_title->setObjectName("Titolo");
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);

    m_maxCaption = new QLabel(this);
    m_maxCaption->setObjectName("LTmax");
    m_minCaption = new QLabel(this);
    m_minCaption->setObjectName("LTmin");
    m_max = new QLineEdit(this);
    m_max->setObjectName("TextMax");
    m_min = new QLineEdit(this);
    m_min->setObjectName("TextMin");
    m_maxUnit = new QLabel(this);
    m_minUnit = new QLabel(this);
    for (QLineEdit* box : {m_max, m_min}) {
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setMinimumWidth(90);
        box->installEventFilter(this);
    }
    for (QLabel* unit : {m_maxUnit, m_minUnit}) unit->setMinimumWidth(34);
    m_maxCaption->setBuddy(m_max);
    m_minCaption->setBuddy(m_min);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 8, 10, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(m_title, 0, 0, 1, 3);
    grid->addWidget(m_maxCaption, 1, 0);
    grid->addWidget(m_max, 1, 1);
    grid->addWidget(m_maxUnit, 1, 2);
    grid->addWidget(m_minCaption, 2, 0);
    grid->addWidget(m_min, 2, 1);
    grid->addWidget(m_minUnit, 2, 2);
    grid->setColumnStretch(1, 1);
    setTabOrder(m_max, m_min);
    setFocusProxy(m_max);

    connect(m_max, &QLineEdit::textEdited, this, [this](const QString& t) { OnEdited(m_max, t); });
    connect(m_min, &QLineEdit::textEdited, this, [this](const QString& t) { OnEdited(m_min, t); });
    connect(qApp, &QApplication::focusChanged, this, &RangeControlWidget::OnFocusChanged);
}

void RangeControlWidget::Bind(const ui::RangeControl* model) {
    m_model = model;
    Refresh();
}

void RangeControlWidget::Refresh() {
    if (!m_model) return;
    const int offset = m_model->languageOffset();
    SetTextIfChanged(m_title, QString::fromStdString(m_model->title().Render(offset)));
    SetTextIfChanged(m_maxCaption, QString::fromStdString(m_model->maxCaption().Render(offset)));
    SetTextIfChanged(m_minCaption, QString::fromStdString(m_model->minCaption().Render(offset)));
    const QString unit = QString::fromStdString(m_model->unit());
    SetTextIfChanged(m_maxUnit, unit);
    SetTextIfChanged(m_minUnit, unit);
    SetTextIfChanged(m_max, QString::fromStdString(m_model->maxText()));
    SetTextIfChanged(m_min, QString::fromStdString(m_model->minText()));
    if (isEnabled() != m_model->enabled()) setEnabled(m_model->enabled());
}

void RangeControlWidget::OnEdited(QLineEdit* box, const QString& text) {
    if (m_typeHandler) m_typeHandler(box == m_max, text.toStdString());
    emit worked();
}

bool RangeControlWidget::Contains(const QWidget* widget) const {
    return widget && (widget == this || isAncestorOf(widget));
}

void RangeControlWidget::OnFocusChanged(QWidget* old, QWidget* now) {
    if (m_checking || !Contains(old) || Contains(now)) return;
    // A message box, a drop-down popup or another application took the focus: the user has
    // not left the control for another control of this window yet.
    if (!now || now->window() != window()) return;
    Leave();
}

ui::RangeVerdict RangeControlWidget::Leave() {
    ui::RangeVerdict verdict;
    if (!m_model || m_checking) return verdict;
    m_checking = true;
    if (m_leaveHandler)
        verdict = m_leaveHandler();
    else
        verdict.accepted = true;
    Refresh();
    QLineEdit* box = verdict.focus == ui::RangeFocus::Max ? m_max : verdict.focus == ui::RangeFocus::Min ? m_min : nullptr;
    if (box && !verdict.accepted) {
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    }
    m_checking = false;
    emit left(verdict.accepted);
    return verdict;
}

bool RangeControlWidget::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::MouseButtonPress) {
        // The press places the caret; select the whole text once it has done so.
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
        if (!box->hasFocus()) box->setFocus(Qt::MouseFocusReason);
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace vantrel::widgets
