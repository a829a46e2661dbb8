// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>

#include "device/PlanPreview.h"

class QLabel;

namespace vantrel::widgets {

class ChartWidget;

// The linearisation preview drawn: the sensor's curve and the transmitter's table (signal
// against the input value, left axis), the error between them (right axis), the largest
// error in words and, when it applies, why the range is a problem.
class PreviewPanel : public QWidget {
    Q_OBJECT
public:
    PreviewPanel(const device::PlanPreview& preview, int languageOffset, QWidget* parent = nullptr);

    ChartWidget* chart() const { return m_chart; }
    QLabel* largestErrorLabel() const { return m_largest; }
    QLabel* noteLabel() const { return m_note; }

private:
    ChartWidget* m_chart = nullptr;
    QLabel* m_largest = nullptr;
    QLabel* m_note = nullptr;
};

// The programming window's Preview: the panel in a window of its own with a close button.
class PreviewDialog : public QDialog {
    Q_OBJECT
public:
    PreviewDialog(const device::PlanPreview& preview, int languageOffset, QWidget* parent = nullptr);
    PreviewPanel* panel() const { return m_panel; }

private:
    PreviewPanel* m_panel = nullptr;
};

}  // namespace vantrel::widgets
