// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

#include "measure/MeasurementMath.h"

namespace vantrel::widgets {

// The colour of an unlit lamp (range lamps inside the range, trip lamps when idle).
inline constexpr QColor kLampGrey(224, 224, 224);

// The colour a lamp of the measurement shows.
QColor LampColour(measure::Lamp lamp);

// A small round indicator lamp (state, link, range and trip lamps, guide markers). A grey
// lamp is drawn unlit, as a dark glass in its bezel, so that an idle lamp never looks like an
// option button.
class Lamp : public QWidget {
    Q_OBJECT
public:
    explicit Lamp(int diameter = 14, QWidget* parent = nullptr);
    void SetColour(const QColor& colour);
    void SetDiameter(int diameter);
    QColor colour() const { return m_colour; }
    bool lit() const;
    QSize sizeHint() const override { return {m_diameter, m_diameter}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_diameter;
    QColor m_colour = kLampGrey;
};

}  // namespace vantrel::widgets
