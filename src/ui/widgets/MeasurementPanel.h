// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

#include "measure/MeasureLoop.h"
#include "measure/MeasurementLog.h"
#include "measure/Trend.h"
#include "ui/model/ProgramForm.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace vantrel::widgets {

class Lamp;
class TrendChart;

// The programming window's measurement page ("measurePage"): the state lamp and title, the
// value display, the output value, the bar graph between the range lamps, the trip lamps, the
// live trend and the logging button. It draws the form's display and lamps and follows a
// running measurement; the value greys when the last reading is older than
// measure::kStaleSeconds.
class MeasurementPanel : public QFrame {
    Q_OBJECT
public:
    MeasurementPanel(const ui::ProgramForm& form, QWidget* parent);

    void RefreshTexts();
    // The state lamp, the display and which parts the form shows.
    void Refresh();

    void Start(const measure::Scale& scale, const measure::TrendReferences& references);
    void Show(const measure::Reading& reading);
    void Stop();

    void SetTimeSource(measure::TimeSource source) { m_timeSource = std::move(source); }
    void RefreshStaleness();
    bool valueStale() const { return m_stale; }
    void SetLogging(bool active, const QString& path);
    TrendChart* trendChart() const { return m_trend; }
    QPushButton* logButton() const { return m_logButton; }

signals:
    void displayClicked();  // the display was clicked while it shows a value
    void loggingClicked();
    void staleChanged(bool stale);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildStateRow();
    QWidget* BuildDisplay();
    void RestyleDisplay();
    double NowSeconds() const;
    QString T(int id) const;

    const ui::ProgramForm& m_form;
    QWidget* m_stateLampFrame = nullptr;
    Lamp* m_stateLamp = nullptr;
    QLabel* m_measureTitle = nullptr;
    QFrame* m_displayFrame = nullptr;
    QLabel* m_display = nullptr;
    QLabel* m_outputValue = nullptr;
    QProgressBar* m_bar = nullptr;
    Lamp* m_underRangeLamp = nullptr;
    Lamp* m_overRangeLamp = nullptr;
    QWidget* m_tripLamps = nullptr;
    Lamp* m_tripLamp1 = nullptr;
    Lamp* m_tripLamp2 = nullptr;
    QLabel* m_tripLampLabel1 = nullptr;
    QLabel* m_tripLampLabel2 = nullptr;
    TrendChart* m_trend = nullptr;
    QPushButton* m_logButton = nullptr;
    QLabel* m_logLabel = nullptr;
    bool m_logging = false;
    QString m_logPath;
    measure::TimeSource m_timeSource;
    double m_barSpan = 0;
    bool m_measuring = false;
    bool m_stale = false;
    double m_lastReadingTime = 0;  // seconds, from the time source
    QTimer* m_staleTimer = nullptr;
};

}  // namespace vantrel::widgets
