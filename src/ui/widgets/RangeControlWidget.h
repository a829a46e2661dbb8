// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

#include <functional>

#include "link/Dialogs.h"
#include "ui/model/RangeControl.h"

class QLabel;
class QLineEdit;

namespace vantrel::widgets {

// The range entry control: a title, a maximum and a minimum box with their captions and
// units, checked when the focus leaves the whole control (moving between its two boxes is not
// leaving it). The values live in a ui::RangeControl; this widget shows them and hands what
// the user types to its owner, which changes the model.
//
//   RangeControlWidget range;
//   range.Bind(&form.inputRange());
//   range.SetTypeHandler([&](bool max, std::string text) { ... form.TypeInputMax(text) ... });
//   range.SetLeaveHandler([&] { return form.LeaveInputRange(); });
//
// After a refusal the box named by the verdict gets the focus with its whole text selected.
// Clicking in a box selects its whole text.
class RangeControlWidget : public QFrame {
    Q_OBJECT
public:
    explicit RangeControlWidget(QWidget* parent = nullptr);

    // The model shown; its language renders the captions. It must outlive the widget.
    // Refresh() is called here.
    void Bind(const ui::RangeControl* model);
    // What runs when the user types in a box (true: the maximum).
    void SetTypeHandler(std::function<void(bool max, std::string text)> handler) { m_typeHandler = std::move(handler); }
    // What runs when the focus leaves the control; without one the range is accepted.
    void SetLeaveHandler(std::function<ui::RangeVerdict()> handler) { m_leaveHandler = std::move(handler); }

    // Re-reads every property from the model (texts are only replaced when they differ, so
    // the caret is not disturbed while typing).
    void Refresh();
    // Runs the leave check now, as if the focus had left the control; returns its verdict.
    ui::RangeVerdict Leave();

    QLineEdit* maxBox() const { return m_max; }
    QLineEdit* minBox() const { return m_min; }
    QLabel* titleLabel() const { return m_title; }

signals:
    void worked();     // the user changed a value
    void left(bool accepted);  // the leave check ran

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnFocusChanged(QWidget* old, QWidget* now);
    void OnEdited(QLineEdit* box, const QString& text);
    bool Contains(const QWidget* widget) const;

    const ui::RangeControl* m_model = nullptr;
    std::function<void(bool, std::string)> m_typeHandler;
    std::function<ui::RangeVerdict()> m_leaveHandler;
    bool m_checking = false;
    QLabel* m_title = nullptr;
    QLabel* m_maxCaption = nullptr;
    QLabel* m_minCaption = nullptr;
    QLineEdit* m_max = nullptr;
    QLineEdit* m_min = nullptr;
    QLabel* m_maxUnit = nullptr;
    QLabel* m_minUnit = nullptr;
};

}  // namespace vantrel::widgets
