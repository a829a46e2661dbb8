#include "ui/widgets/Lamp.h"

#include <QPainter>

namespace vantrel::widgets {

Lamp::Lamp(int diameter, QWidget* parent) : QWidget(parent), m_diameter(diameter) {
    setFixedSize(diameter, diameter);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Lamp::SetColour(const QColor& colour) {
    if (colour == m_colour) return;
    m_colour = colour;
    update();
}

void Lamp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    QRadialGradient g(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() * 0.75);
    g.setColorAt(0, m_colour.lighter(140));
    g.setColorAt(1, m_colour);
    p.setBrush(g);
    p.setPen(QPen(m_colour.darker(160), 1));
    p.drawEllipse(r);
}

}  // namespace vantrel::widgets
