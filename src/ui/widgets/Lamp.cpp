// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/Lamp.h"

#include <QPainter>

namespace vantrel::widgets {

QColor LampColour(measure::Lamp lamp) {
    switch (lamp) {
    case measure::Lamp::Red: return QColor(255, 0, 0);
    case measure::Lamp::Green: return QColor(0, 200, 0);
    case measure::Lamp::Yellow: return QColor(255, 255, 0);
    case measure::Lamp::Grey: break;
    }
    return kLampGrey;
}

Lamp::Lamp(int diameter, QWidget* parent) : QWidget(parent), m_diameter(diameter) {
    setFixedSize(diameter, diameter);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Lamp::SetColour(const QColor& colour) {
    if (colour == m_colour) return;
    m_colour = colour;
    update();
}

void Lamp::SetDiameter(int diameter) {
    if (diameter == m_diameter) return;
    m_diameter = diameter;
    setFixedSize(diameter, diameter);
    update();
}

// Any shade of grey is a lamp that is off.
bool Lamp::lit() const { return !(m_colour.red() == m_colour.green() && m_colour.green() == m_colour.blue()); }

void Lamp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal bezel = std::max<qreal>(1.5, outer.width() / 7);
    // The bezel: a dark metal ring.
    QLinearGradient ring(outer.topLeft(), outer.bottomRight());
    ring.setColorAt(0, QColor(150, 150, 150));
    ring.setColorAt(1, QColor(60, 60, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(ring);
    p.drawEllipse(outer);
    const QRectF glass = outer.adjusted(bezel, bezel, -bezel, -bezel);
    // Lit: bright in the middle; unlit: a dark smoked glass whatever its grey.
    const QColor base = lit() ? m_colour : QColor(88, 92, 98);
    QRadialGradient g(glass.center() - QPointF(glass.width() / 6, glass.height() / 6), glass.width() * 0.7);
    g.setColorAt(0, base.lighter(lit() ? 150 : 130));
    g.setColorAt(1, base.darker(lit() ? 115 : 140));
    p.setBrush(g);
    p.drawEllipse(glass);
    // A small highlight, as on a domed lens.
    const QRectF shine(glass.left() + glass.width() * 0.22, glass.top() + glass.height() * 0.14, glass.width() * 0.34,
                       glass.height() * 0.24);
    p.setBrush(QColor(255, 255, 255, lit() ? 150 : 70));
    p.drawEllipse(shine);
}

}  // namespace vantrel::widgets
