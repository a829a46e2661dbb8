// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Chart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace vantrel::render {

namespace {

constexpr qreal kGap = 6;
constexpr qreal kLegendSwatch = 22;

QColor Or(const QColor& colour, const QColor& fallback) { return colour.isValid() ? colour : fallback; }

qreal WidestLabel(const QFontMetricsF& metrics, const ChartAxis& axis) {
    qreal widest = 0;
    for (const std::string& label : axis.ticks.labels)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(label)));
    return widest;
}

// Maps a value of an axis onto a pixel coordinate between `from` (axis low) and `to`.
qreal Map(double value, const AxisTicks& ticks, qreal from, qreal to) {
    const double span = ticks.high - ticks.low;
    if (!(span > 0)) return (from + to) / 2;
    return from + (to - from) * (value - ticks.low) / span;
}

void DrawRotated(QPainter& painter, const QPointF& centre, qreal angle, const QString& text) {
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    const QFontMetricsF metrics(painter.font());
    painter.drawText(QPointF(-metrics.horizontalAdvance(text) / 2, metrics.ascent() / 2 - metrics.descent() / 2), text);
    painter.restore();
}

struct LegendItem {
    const ChartLine* line;
    qreal width;
};

// Rows of legend items that fit `width`.
std::vector<std::vector<LegendItem>> LegendRows(const ChartSpec& chart, const QFontMetricsF& metrics, qreal width) {
    std::vector<std::vector<LegendItem>> rows(1);
    qreal used = 0;
    for (const ChartLine& line : chart.lines) {
        if (!line.inLegend || line.name.isEmpty()) continue;
        const qreal w = kLegendSwatch + kGap + metrics.horizontalAdvance(line.name) + 3 * kGap;
        if (used > 0 && used + w > width) {
            rows.emplace_back();
            used = 0;
        }
        rows.back().push_back({&line, w});
        used += w;
    }
    if (rows.back().empty()) rows.pop_back();
    return rows;
}

QPen LinePen(const ChartLine& line) {
    QPen pen(line.colour, line.width, line.style);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

}  // namespace

ChartColours ChartColours::Light() {
    return {QColor(255, 255, 255), QColor(255, 255, 255), QColor(0x20, 0x26, 0x2e), QColor(0xdd, 0xe2, 0xe8),
            QColor(0x8a, 0x94, 0xa0), false};
}

ChartColours ChartColours::Dark() {
    return {QColor(0x26, 0x2a, 0x30), QColor(0x1e, 0x21, 0x26), QColor(0xe6, 0xe9, 0xee), QColor(0x3c, 0x43, 0x4c),
            QColor(0x7a, 0x84, 0x90), true};
}

bool IsDark(const QPalette& palette) { return static_cast<double>(palette.color(QPalette::Window).lightnessF()) < 0.5; }

ChartColours ChartColours::For(const QPalette& palette) { return IsDark(palette) ? Dark() : Light(); }

void PaintChart(QPainter& painter, const QRectF& area, const ChartSpec& chart, const ChartColours& colours,
                const QFont& font) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, colours.background);

    QFont titleFont = font;
    titleFont.setBold(true);
    titleFont.setPointSizeF(font.pointSizeF() * 1.15);
    const QFontMetricsF metrics(font);
    const QFontMetricsF titleMetrics(titleFont);
    const qreal line = metrics.height();

    QRectF inner = area.adjusted(kGap * 2, kGap * 1.5, -kGap * 2, -kGap * 1.5);
    if (!chart.title.isEmpty()) {
        painter.setFont(titleFont);
        painter.setPen(colours.text);
        painter.drawText(QRectF(inner.left(), inner.top(), inner.width(), titleMetrics.height()), Qt::AlignHCenter,
                         chart.title);
        inner.setTop(inner.top() + titleMetrics.height() + kGap);
    }

    const auto rows = LegendRows(chart, metrics, inner.width());
    const qreal legendHeight = static_cast<qreal>(rows.size()) * (line + 2);
    inner.setBottom(inner.bottom() - legendHeight - (rows.empty() ? 0 : kGap));

    const bool leftTitle = !chart.left.title.isEmpty();
    const bool rightTitle = chart.right && !chart.right->title.isEmpty();
    const qreal leftMargin = WidestLabel(metrics, chart.left) + kGap + (leftTitle ? line + kGap : 0);
    const qreal rightMargin =
        chart.right ? WidestLabel(metrics, *chart.right) + kGap + (rightTitle ? line + kGap : 0) : kGap * 2;
    const qreal bottomMargin = line + kGap + (chart.bottom.title.isEmpty() ? 0 : line + kGap);
    const QRectF plot(inner.left() + leftMargin, inner.top() + line / 2, inner.width() - leftMargin - rightMargin,
                      inner.height() - bottomMargin - line / 2);
    if (plot.width() < 10 || plot.height() < 10) {
        painter.restore();
        return;
    }
    painter.fillRect(plot, colours.plotBackground);

    // Grid and tick labels.
    painter.setFont(font);
    const QColor leftColour = Or(chart.left.colour, colours.text);
    for (std::size_t i = 0; i < chart.left.ticks.values.size(); ++i) {
        const qreal y = Map(chart.left.ticks.values[i], chart.left.ticks, plot.bottom(), plot.top());
        painter.setPen(QPen(colours.grid, 1));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(leftColour);
        painter.drawText(QRectF(plot.left() - kGap - 400, y - line / 2, 400, line), Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromStdString(chart.left.ticks.labels[i]));
    }
    for (std::size_t i = 0; i < chart.bottom.ticks.values.size(); ++i) {
        const qreal x = Map(chart.bottom.ticks.values[i], chart.bottom.ticks, plot.left(), plot.right());
        painter.setPen(QPen(colours.grid, 1));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Or(chart.bottom.colour, colours.text));
        painter.drawText(QRectF(x - 200, plot.bottom() + kGap / 2, 400, line), Qt::AlignHCenter | Qt::AlignTop,
                         QString::fromStdString(chart.bottom.ticks.labels[i]));
    }
    if (chart.right) {
        painter.setPen(Or(chart.right->colour, colours.text));
        for (std::size_t i = 0; i < chart.right->ticks.values.size(); ++i) {
            const qreal y = Map(chart.right->ticks.values[i], chart.right->ticks, plot.bottom(), plot.top());
            painter.drawText(QRectF(plot.right() + kGap, y - line / 2, 400, line), Qt::AlignLeft | Qt::AlignVCenter,
                             QString::fromStdString(chart.right->ticks.labels[i]));
        }
    }
    painter.setPen(QPen(colours.frame, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    // Axis titles.
    if (!chart.bottom.title.isEmpty()) {
        painter.setPen(Or(chart.bottom.colour, colours.text));
        painter.drawText(QRectF(plot.left(), plot.bottom() + line + kGap, plot.width(), line), Qt::AlignHCenter,
                         chart.bottom.title);
    }
    if (leftTitle) {
        painter.setPen(leftColour);
        DrawRotated(painter, QPointF(inner.left() + line / 2, plot.center().y()), -90, chart.left.title);
    }
    if (rightTitle) {
        painter.setPen(Or(chart.right->colour, colours.text));
        DrawRotated(painter, QPointF(inner.right() - line / 2, plot.center().y()), 90, chart.right->title);
    }

    // The lines, clipped to the plot.
    painter.save();
    painter.setClipRect(plot.adjusted(-4, -4, 4, 4));
    for (const ChartLine& l : chart.lines) {
        const AxisTicks& yTicks = l.rightAxis && chart.right ? chart.right->ticks : chart.left.ticks;
        QPainterPath path;
        QList<QPointF> mapped;
        mapped.reserve(l.points.size());
        for (const QPointF& p : l.points) {
            if (!std::isfinite(p.x()) || !std::isfinite(p.y())) continue;
            mapped.append({Map(p.x(), chart.bottom.ticks, plot.left(), plot.right()),
                           Map(p.y(), yTicks, plot.bottom(), plot.top())});
        }
        if (l.drawLine && mapped.size() > 1) {
            path.moveTo(mapped.front());
            for (qsizetype i = 1; i < mapped.size(); ++i) path.lineTo(mapped[i]);
            painter.setPen(LinePen(l));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
        }
        if (l.markers) {
            painter.setPen(QPen(l.colour.darker(130), 1));
            painter.setBrush(l.colour);
            for (const QPointF& p : mapped) painter.drawEllipse(p, 3.5, 3.5);
        }
    }
    painter.restore();

    // Legend, centred under the plot.
    painter.setFont(font);
    qreal y = area.bottom() - kGap * 1.5 - legendHeight;
    for (const auto& row : rows) {
        qreal rowWidth = 0;
        for (const LegendItem& item : row) rowWidth += item.width;
        qreal x = area.center().x() - rowWidth / 2;
        for (const LegendItem& item : row) {
            const ChartLine& l = *item.line;
            const qreal mid = y + line / 2;
            if (l.drawLine) {
                painter.setPen(LinePen(l));
                painter.drawLine(QPointF(x, mid), QPointF(x + kLegendSwatch, mid));
            }
            if (l.markers) {
                painter.setPen(QPen(l.colour.darker(130), 1));
                painter.setBrush(l.colour);
                painter.drawEllipse(QPointF(x + kLegendSwatch / 2, mid), 3.5, 3.5);
            }
            painter.setPen(colours.text);
            painter.drawText(QPointF(x + kLegendSwatch + kGap, y + metrics.ascent()), l.name);
            x += item.width;
        }
        y += line + 2;
    }
    painter.restore();
}

}  // namespace vantrel::render
