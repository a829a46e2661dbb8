// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small helpers of the windows that redraw themselves from a form model on every change: they
// touch a widget only when its state really changes, so a redraw costs no layout pass and
// moves no caret.
#include <QAbstractButton>
#include <QColor>
#include <QLabel>
#include <QLineEdit>

#include "ui/model/GuidedMode.h"

namespace vantrel::widgets {

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

inline void SetText(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}
inline void SetText(QAbstractButton* button, const QString& text) {
    if (button->text() != text) button->setText(text);
}
inline void SetText(QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
}

inline void SetShown(QWidget* widget, bool shown) {
    if (widget->isVisibleTo(widget->parentWidget()) != shown) widget->setVisible(shown);
}

inline QColor ToQColor(const ui::Rgb& c) { return QColor(c.r, c.g, c.b); }

}  // namespace vantrel::widgets
