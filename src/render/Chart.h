// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

#include "render/AxisTicks.h"

class QPainter;
class QPalette;

// A line chart drawn with QPainter alone (QtGui, no window): a title, lines and markers
// against a bottom axis and one or two value axes, and a legend. The desktop program paints
// it in a widget, the command-line tool into an image.
namespace vantrel::render {

// The chart's own colours. Series colours are chosen to read on both backgrounds.
struct ChartColours {
    QColor background;
    QColor plotBackground;
    QColor text;
    QColor grid;
    QColor frame;
    bool dark = false;

    static ChartColours Light();
    static ChartColours Dark();
    // Dark when the palette's window colour is dark, so a chart never glares in a dark desktop.
    static ChartColours For(const QPalette& palette);
};

// True when the palette's window colour is dark (a dark desktop theme).
bool IsDark(const QPalette& palette);

struct ChartLine {
    QString name;
    QList<QPointF> points;
    QColor colour;
    qreal width = 2;
    Qt::PenStyle style = Qt::SolidLine;
    bool drawLine = true;
    bool markers = false;   // a dot at every point
    bool rightAxis = false; // measured against the right axis
    bool inLegend = true;
};

struct ChartAxis {
    QString title;
    AxisTicks ticks;
    QColor colour;  // labels and title; invalid: the chart's text colour
};

struct ChartSpec {
    QString title;
    std::vector<ChartLine> lines;
    ChartAxis bottom;
    ChartAxis left;
    std::optional<ChartAxis> right;
};

// Paints the chart into `area` (background included). `font` is the base font of the labels.
void PaintChart(QPainter& painter, const QRectF& area, const ChartSpec& chart, const ChartColours& colours,
                const QFont& font = QFont());

}  // namespace vantrel::render
