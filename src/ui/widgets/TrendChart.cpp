// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/TrendChart.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "resources/StringTable.h"
#include "ui/widgets/ChartAxes.h"

namespace vantrel::widgets {

namespace {

namespace text = resources::text;

// Until the window fills, the time axis spans at least this much, so a new trace grows from
// the left instead of filling the whole width with a few seconds.
constexpr double kShortestSpanSeconds = 60;

QString Tr(int id, int offset) { return QString::fromStdString(resources::Text(id, offset)); }

QLineSeries* MakeSeries(QChart* chart, const QColor& colour, qreal width, Qt::PenStyle style, const char* name) {
    auto* series = new QLineSeries(chart);
    series->setObjectName(name);
    QPen pen(colour);
    pen.setWidthF(width);
    pen.setStyle(style);
    series->setPen(pen);
    chart->addSeries(series);
    return series;
}

qint64 Milliseconds(double unixSeconds) { return static_cast<qint64>(std::llround(unixSeconds * 1000)); }

}  // namespace

TrendChart::TrendChart(QWidget* parent) : QWidget(parent) {
    setObjectName("trend");
    m_chart = new QChart();
    FollowPalette(m_chart, this);  // before the series: a theme sets their colours
    const bool dark = m_chart->theme() == QChart::ChartThemeDark;
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    m_chart->setBackgroundRoundness(6);
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    m_chart->legend()->setFont(small);

    const QColor rangeColour = dark ? QColor(160, 160, 160) : QColor(120, 120, 120);
    m_rangeLow = MakeSeries(m_chart, rangeColour, 1.2, Qt::DashLine, "trendRangeLow");
    m_rangeHigh = MakeSeries(m_chart, rangeColour, 1.2, Qt::DashLine, "trendRangeHigh");
    m_trip1 = MakeSeries(m_chart, dark ? QColor(255, 170, 60) : QColor(230, 140, 0), 1.4, Qt::DotLine, "trendTrip1");
    m_trip2 = MakeSeries(m_chart, dark ? QColor(255, 100, 120) : QColor(200, 30, 60), 1.4, Qt::DotLine, "trendTrip2");
    // The axes are lined up, so a sound output runs right under the value: a wide pale band
    // beneath the value's line shows it, and shows where the two part.
    m_output = MakeSeries(m_chart, QColor(40, 170, 80, 110), 7, Qt::SolidLine, "trendOutput");
    m_value = MakeSeries(m_chart, dark ? QColor(110, 168, 255) : QColor(20, 90, 200), 2.2, Qt::SolidLine, "trendValue");

    m_timeAxis = new QDateTimeAxis(m_chart);
    m_timeAxis->setFormat("HH:mm:ss");
    m_timeAxis->setTickCount(6);
    m_timeAxis->setLabelsFont(small);
    m_valueAxis = new QValueAxis(m_chart);
    m_valueAxis->setLabelsFont(small);
    m_outputAxis = new QValueAxis(m_chart);
    m_outputAxis->setLabelsFont(small);
    m_outputAxis->setLabelsColor(dark ? QColor(90, 200, 120) : QColor(40, 150, 80));
    m_outputAxis->setGridLineVisible(false);
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);
    m_chart->addAxis(m_outputAxis, Qt::AlignRight);
    for (QLineSeries* series : {m_rangeLow, m_rangeHigh, m_trip1, m_trip2, m_value}) {
        series->attachAxis(m_timeAxis);
        series->attachAxis(m_valueAxis);
    }
    m_output->attachAxis(m_timeAxis);
    m_output->attachAxis(m_outputAxis);

    m_view = new QChartView(m_chart, this);
    m_view->setObjectName("trendView");
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumHeight(200);  // both pages of the form fit the first window size
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    SetLanguage(m_languageOffset);
    Redraw();
}

void TrendChart::SetLanguage(int languageOffset) {
    m_languageOffset = languageOffset;
    RefreshLegend();
}

void TrendChart::RefreshLegend() {
    const int o = m_languageOffset;
    const QString valueUnit = m_valueUnit ? QString::fromUtf8(math::Symbol(*m_valueUnit).data(),
                                                              static_cast<int>(math::Symbol(*m_valueUnit).size()))
                                          : QString();
    const QString outputUnit = QString::fromStdString(m_outputUnit);
    m_chart->setTitle(Tr(text::kTrendTitle, o));
    m_value->setName(Tr(resources::text::kMeasure, o) + (valueUnit.isEmpty() ? QString() : " (" + valueUnit + ")"));
    m_output->setName(Tr(text::kTrendOutput, o) + " (" + outputUnit + ")");
    m_rangeLow->setName(Tr(text::kTrendRangeLow, o));
    m_rangeHigh->setName(Tr(text::kTrendRangeHigh, o));
    m_trip1->setName(Tr(resources::text::kTrip, o) + " 1");
    m_trip2->setName(Tr(resources::text::kTrip, o) + " 2");
    m_valueAxis->setTitleText(valueUnit);
    m_outputAxis->setTitleText(outputUnit);
    m_timeAxis->setTitleText(Tr(text::kTrendTime, o));
}

void TrendChart::Start(const measure::TrendReferences& references) {
    m_model.Clear();
    m_model.SetReferences(references);
    Redraw();
}

void TrendChart::Add(const measure::Reading& reading, double unixSeconds) {
    measure::TrendReferences references = m_model.references();
    references.rangeBottom = reading.rangeBottom;
    references.rangeTop = reading.rangeTop;
    m_model.SetReferences(references);
    const std::string outputUnit = reading.outputIsVoltage ? "V" : "mA";
    if (reading.unit != m_valueUnit || outputUnit != m_outputUnit) {
        m_valueUnit = reading.unit;
        m_outputUnit = outputUnit;
        RefreshLegend();
    }
    // A frame without a defined value leaves a gap rather than a point.
    if (reading.value && reading.output)
        m_model.Add({unixSeconds, *reading.value, *reading.output});
    else
        m_model.MarkGap();
    Redraw();
}

void TrendChart::SetReference(QLineSeries* series, const std::optional<double>& level, double from, double to) {
    const bool shown = level.has_value() && std::isfinite(*level);
    series->setVisible(shown);
    for (QLegendMarker* marker : m_chart->legend()->markers(series)) marker->setVisible(shown);
    if (!shown) return;
    series->replace(QList<QPointF>{{static_cast<qreal>(Milliseconds(from)), *level},
                                   {static_cast<qreal>(Milliseconds(to)), *level}});
}

QLineSeries* TrendChart::Stretch(std::vector<QLineSeries*>& stretches, QLineSeries* first, QValueAxis* axis,
                                 std::size_t index) {
    if (index == 0) return first;
    while (stretches.size() < index) {
        auto* series = new QLineSeries(m_chart);
        series->setPen(first->pen());
        m_chart->addSeries(series);
        series->attachAxis(m_timeAxis);
        series->attachAxis(axis);
        for (QLegendMarker* marker : m_chart->legend()->markers(series)) marker->setVisible(false);
        stretches.push_back(series);
    }
    return stretches[index - 1];
}

// Ticks at round numbers (anchored at 0) inside the exact extent, so the two axes stay lined
// up and no room is lost to rounding the ends.
void TrendChart::SetExtent(QValueAxis* axis, const measure::AxisExtent& extent) {
    axis->setReverse(extent.reversed);
    SetInnerTicks(axis, extent.low, extent.high, 7);
}

void TrendChart::Redraw() {
    const double now = m_model.empty() ? static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0 : m_model.newest().time;
    const std::vector<measure::TrendSample> samples = m_model.Decimated(kDrawnPoints);
    const double from = samples.empty() ? now : samples.front().time;
    const double to = std::max(now, from + kShortestSpanSeconds);

    // One line per stretch between gaps.
    std::vector<QList<QPointF>> values(1);
    std::vector<QList<QPointF>> outputs(1);
    for (const measure::TrendSample& s : samples) {
        if (s.afterGap && !values.back().isEmpty()) {
            values.emplace_back();
            outputs.emplace_back();
        }
        const auto x = static_cast<qreal>(Milliseconds(s.time));
        values.back().append({x, s.value});
        outputs.back().append({x, s.output});
    }
    const std::size_t stretches = std::max({values.size(), m_valueStretches.size() + 1});
    for (std::size_t i = 0; i < stretches; ++i) {
        const bool used = i < values.size();
        Stretch(m_valueStretches, m_value, m_valueAxis, i)->replace(used ? values[i] : QList<QPointF>());
        Stretch(m_outputStretches, m_output, m_outputAxis, i)->replace(used ? outputs[i] : QList<QPointF>());
    }

    const measure::TrendReferences& r = m_model.references();
    SetReference(m_rangeLow, r.rangeBottom, from, to);
    SetReference(m_rangeHigh, r.rangeTop, from, to);
    SetReference(m_trip1, r.trip1, from, to);
    SetReference(m_trip2, r.trip2, from, to);

    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(Milliseconds(from)),
                         QDateTime::fromMSecsSinceEpoch(Milliseconds(to)));
    SetExtent(m_valueAxis, m_model.ValueExtent());
    SetExtent(m_outputAxis, m_model.OutputExtent());
}

}  // namespace vantrel::widgets
