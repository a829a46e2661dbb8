// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/PreviewPicture.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>

#include "resources/StringTable.h"

namespace vantrel::render {

namespace {

namespace text = resources::text;

QString Text(int id, int offset) { return QString::fromStdString(resources::Text(id, offset)); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

struct PreviewColours {
    QColor reference;
    QColor table;
    QColor error;
};

PreviewColours ColoursFor(bool dark) {
    if (dark) return {QColor(0x6e, 0xa8, 0xff), QColor(0xff, 0xa6, 0x4d), QColor(0xff, 0x6f, 0x6f)};
    return {QColor(0x2f, 0x6f, 0xd6), QColor(0xe0, 0x7b, 0x00), QColor(0xc0, 0x25, 0x25)};
}

}  // namespace

ChartSpec PreviewChart(const device::PlanPreview& p, int offset, bool dark) {
    const PreviewColours colours = ColoursFor(dark);
    ChartSpec chart;
    chart.title = Text(text::kPreviewTitle, offset);

    ChartLine reference;
    reference.name = Text(p.customCurve ? text::kPreviewAgainstPoints : text::kPreviewReference, offset);
    reference.colour = colours.reference;
    reference.width = 3;
    ChartLine table;
    table.name = Text(text::kPreviewTable, offset);
    table.colour = colours.table;
    table.width = 1.5;
    table.style = Qt::DashLine;
    table.markers = false;
    ChartLine points;
    points.name = table.name;
    points.colour = colours.table;
    points.drawLine = false;
    points.markers = true;
    points.inLegend = false;  // the table's legend entry speaks for its markers too
    ChartLine error;
    error.name = Text(text::kPreviewError, offset) + " (" + Q(p.valueUnit) + ")";
    error.colour = colours.error;
    error.rightAxis = true;

    double xMin = 0, xMax = 1, sMin = 0, sMax = 1, eMin = 0, eMax = 0;
    bool first = true;
    for (const math::PreviewSample& s : p.curve.samples) {
        reference.points.append({s.value, s.referenceSignal});
        table.points.append({s.value, s.tableSignal});
        error.points.append({s.value, s.error});
        if (first) {
            xMin = xMax = s.value;
            sMin = sMax = s.referenceSignal;
            first = false;
        }
        xMin = std::min(xMin, s.value);
        xMax = std::max(xMax, s.value);
        sMin = std::min({sMin, s.referenceSignal, s.tableSignal});
        sMax = std::max({sMax, s.referenceSignal, s.tableSignal});
        eMin = std::min(eMin, s.error);
        eMax = std::max(eMax, s.error);
    }
    for (const math::PreviewSample& b : p.breakpoints) points.points.append({b.value, b.tableSignal});
    chart.lines = {reference, table, points, error};

    chart.bottom.title = Q(p.valueUnit);
    chart.bottom.ticks = xMax > xMin ? InnerTicks(xMin, xMax, 8) : RoundTicks(xMin, xMax);
    chart.left.title = Text(text::kPreviewSignal, offset) + " (" + Q(p.signalUnit) + ")";
    const double room = (sMax - sMin) * 0.03;  // the breakpoint markers stay inside the frame
    chart.left.ticks = RoundTicks(sMin - room, sMax + room);
    ChartAxis right;
    right.title = error.name;
    right.colour = colours.error;
    right.ticks = RoundTicks(eMin, eMax, 5, true);
    chart.right = right;
    return chart;
}

QImage PreviewImage(const device::PlanPreview& preview, int offset, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const ChartColours colours = ChartColours::Light();
    image.fill(colours.background);
    QPainter painter(&image);
    QFont font = QGuiApplication::font();
    const QFontMetricsF metrics(font);
    QFont bold = font;
    bold.setBold(true);
    bold.setPointSizeF(font.pointSizeF() * 1.1);

    const qreal margin = 12;
    const QRectF textArea(margin, 0, size.width() - 2 * margin, size.height());
    const QString largest = preview.available ? Q(device::LargestErrorText(preview, offset)) : QString();
    const QString note = Q(preview.note);
    const int wrap = Qt::TextWordWrap;
    const QRectF noteBox = note.isEmpty() ? QRectF() : metrics.boundingRect(textArea.adjusted(8, 0, -8, 0), wrap, note);
    const qreal noteHeight = note.isEmpty() ? 0 : noteBox.height() + 16;
    const qreal largestHeight = largest.isEmpty() ? 0 : QFontMetricsF(bold).height() + 6;

    const QRectF chartArea(0, 0, size.width(), size.height() - noteHeight - largestHeight - margin);
    PaintChart(painter, chartArea, PreviewChart(preview, offset, false), colours, font);
    qreal y = chartArea.bottom();
    if (!largest.isEmpty()) {
        painter.setFont(bold);
        painter.setPen(colours.text);
        painter.drawText(QRectF(margin, y, textArea.width(), largestHeight), Qt::AlignLeft | Qt::AlignVCenter, largest);
        y += largestHeight;
    }
    if (!note.isEmpty()) {
        const QRectF box(margin, y + 4, textArea.width(), noteHeight - 4);
        painter.setPen(QColor(0xe0, 0xa0, 0x40));
        painter.setBrush(QColor(0xff, 0xf4, 0xe0));
        painter.drawRoundedRect(box, 4, 4);
        painter.setFont(font);
        painter.setPen(QColor(0x8a, 0x4b, 0x00));
        painter.drawText(box.adjusted(8, 6, -8, -6), wrap, note);
    }
    painter.end();
    return image;
}

QByteArray PreviewPng(const device::PlanPreview& preview, int offset, QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!PreviewImage(preview, offset, size).save(&buffer, "PNG")) return {};
    return bytes;
}

}  // namespace vantrel::render
