// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "measure/MeasureLoop.h"

class QLabel;
class QPushButton;

namespace vantrel::widgets {

class Lamp;

// The enlarged measurement display `only_display`, meant to be read from across the room:
// the process value and its unit in digits that grow with the window, the range lamps and,
// on the model with trips, the trip lamps. It fills the screen when opened so, or stands in
// a window of any size; Escape leaves it. A value older than the stale limit is greyed.
class LargeDisplayWindow : public QDialog {
    Q_OBJECT
public:
    explicit LargeDisplayWindow(int languageOffset, QWidget* parent = nullptr);

    void SetLanguage(int languageOffset);
    // The reading shown; its lamps follow it.
    void Show(const measure::Reading& reading);
    // Nothing measured (the measurement ended): dashes, lamps off.
    void Clear();
    void SetStale(bool stale);
    // Opens filling the screen, or as a window.
    void Open(bool fullScreen);

    QString value() const;      // the number as shown
    QString unit() const;
    bool stale() const { return m_stale; }
    int digitPixelSize() const; // the height of the digits now
    QPushButton* exitButton() const { return m_exit; }
    QPushButton* fullScreenButton() const { return m_fullScreen; }
    Lamp* underRangeLamp() const { return m_under; }
    Lamp* overRangeLamp() const { return m_over; }
    Lamp* tripLamp(int trip) const { return trip == 1 ? m_trip1 : m_trip2; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitDigits();
    void Restyle();

    QLabel* m_caption = nullptr;
    QWidget* m_panel = nullptr;
    QLabel* m_value = nullptr;
    QLabel* m_unit = nullptr;
    Lamp* m_under = nullptr;
    Lamp* m_over = nullptr;
    QWidget* m_trips = nullptr;
    Lamp* m_trip1 = nullptr;
    Lamp* m_trip2 = nullptr;
    QLabel* m_tripLabel1 = nullptr;
    QLabel* m_tripLabel2 = nullptr;
    QPushButton* m_fullScreen = nullptr;
    QPushButton* m_exit = nullptr;
    bool m_stale = false;
};

}  // namespace vantrel::widgets
