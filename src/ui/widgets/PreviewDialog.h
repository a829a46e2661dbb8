#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>

#include "device/PlanPreview.h"

class QLabel;
class QCategoryAxis;
class QChart;
class QChartView;

namespace vantrel::widgets {

// The linearisation preview drawn: the sensor's curve and the transmitter's table (signal
// against the input value, left axis), the error between them (right axis), the largest
// error in words and, when it applies, why the range is a problem.
class PreviewPanel : public QWidget {
    Q_OBJECT
public:
    PreviewPanel(const device::PlanPreview& preview, int languageOffset, QWidget* parent = nullptr);

    QChartView* chartView() const { return m_view; }
    QLabel* largestErrorLabel() const { return m_largest; }
    QLabel* noteLabel() const { return m_note; }

private:
    QChartView* m_view = nullptr;
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

// An axis whose ticks are whole multiples of a round step (1, 2, 2.5, 5 x 10^n) and read as
// such: a value axis adds steps and labels zero with a rounding residue ("-0.0", "2.78e-17").
QCategoryAxis* RoundAxis();
// Ticks covering low..high (symmetric: -m..m with m the larger magnitude).
void SetRoundRange(QCategoryAxis* axis, double low, double high, bool symmetric);

// Renders the panel at `size` as the bytes of a PNG picture (empty when it cannot be encoded).
// Needs a QApplication (the offscreen platform will do).
QByteArray PreviewPng(const device::PlanPreview& preview, int languageOffset, QSize size = QSize(1000, 640));

}  // namespace vantrel::widgets
