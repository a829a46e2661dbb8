// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/ChartWidget.h"

#include <QEvent>
#include <QPainter>

namespace vantrel::widgets {

ChartWidget::ChartWidget(SpecMaker make, QWidget* parent)
    : QWidget(parent), m_make(std::move(make)), m_dark(render::IsDark(palette())) {
    m_chart = m_make(m_dark);
}

void ChartWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::PaletteChange) return;
    const bool dark = render::IsDark(palette());
    if (dark == m_dark) return;
    m_dark = dark;
    m_chart = m_make(m_dark);
    update();
}

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    render::PaintChart(painter, rect(), m_chart, m_dark ? render::ChartColours::Dark() : render::ChartColours::Light(),
                       font());
}

}  // namespace vantrel::widgets
