// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <optional>
#include <vector>

#include "math/Units.h"

#include "measure/MeasureLoop.h"
#include "measure/Trend.h"

class QChart;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace vantrel::widgets {

// The live trend of the measurement page (Qt Charts): the process value over the last
// minutes on the left axis, the output on the right axis, and the range ends and the trip
// levels as straight lines across the chart. Times on the bottom axis are wall-clock.
//
// The samples live in a measure::TrendModel; the chart draws its decimated view, so a run
// of any length costs the same to draw.
class TrendChart : public QWidget {
    Q_OBJECT
public:
    // At most this many points per trace are handed to the chart.
    static constexpr std::size_t kDrawnPoints = 600;

    explicit TrendChart(QWidget* parent = nullptr);

    // Texts in the language of the offset (titles, legend, axis names).
    void SetLanguage(int languageOffset);

    // A new run: the history goes and the reference lines are those of the run
    // (measure::ReferencesFor).
    void Start(const measure::TrendReferences& references);
    // One shown reading at `unixSeconds` (wall clock). An interruption (measure::kGapSeconds
    // without readings, or a reading without a defined value) breaks the line.
    void Add(const measure::Reading& reading, double unixSeconds);

    const measure::TrendModel& model() const { return m_model; }
    QChart* chart() const { return m_chart; }

private:
    void Redraw();
    void RefreshLegend();
    void SetReference(QLineSeries* series, const std::optional<double>& level, double from, double to);
    // The series that draws stretch `index` of a trace (0: the trace's own, with its legend
    // entry; later stretches get series of the same look without one).
    QLineSeries* Stretch(std::vector<QLineSeries*>& stretches, QLineSeries* first, QValueAxis* axis, std::size_t index);
    static void SetExtent(QValueAxis* axis, const measure::AxisExtent& extent);

    measure::TrendModel m_model;
    int m_languageOffset = 300;
    std::optional<math::Unit> m_valueUnit;
    std::string m_outputUnit = "mA";

    QChartView* m_view = nullptr;
    QChart* m_chart = nullptr;
    QDateTimeAxis* m_timeAxis = nullptr;
    QValueAxis* m_valueAxis = nullptr;
    QValueAxis* m_outputAxis = nullptr;
    QLineSeries* m_value = nullptr;
    QLineSeries* m_output = nullptr;
    QLineSeries* m_rangeLow = nullptr;
    QLineSeries* m_rangeHigh = nullptr;
    QLineSeries* m_trip1 = nullptr;
    QLineSeries* m_trip2 = nullptr;
    // The stretches after a gap, beyond the first of each trace.
    std::vector<QLineSeries*> m_valueStretches;
    std::vector<QLineSeries*> m_outputStretches;
};

}  // namespace vantrel::widgets
