// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "link/Progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace vantrel::widgets {

// The one progress indicator of a long operation, in the main window's status bar: a busy
// picture in its own place, the step in words ("reading the output calibration"), the bar,
// the time left from the protocol's pauses and the Cancel button. Shown while an operation
// runs, hidden between operations.
class OperationBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBarSteps = 1000;

    explicit OperationBar(QWidget* parent = nullptr);

    void SetLanguage(int languageOffset);
    void SetBusyPicture(const QPixmap& picture);
    // Follows the meter: step, share and time left; shows the bar while the meter runs.
    void Follow(const link::ProgressMeter& meter);
    // The operation is over.
    void End();

    QProgressBar* bar() const { return m_bar; }
    QLabel* stepLabel() const { return m_step; }
    QLabel* timeLabel() const { return m_time; }
    QPushButton* cancelButton() const { return m_cancel; }

    // The text of a step in the language of the offset.
    static QString StepText(link::Step step, int languageOffset);

signals:
    void cancelClicked();

private:
    int m_languageOffset = 300;
    QLabel* m_busy = nullptr;
    QLabel* m_step = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_time = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace vantrel::widgets
