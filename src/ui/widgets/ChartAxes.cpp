// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/ChartAxes.h"

#include <QCategoryAxis>
#include <QChart>
#include <QValueAxis>
#include <QWidget>

#include "render/AxisTicks.h"
#include "render/Chart.h"

namespace vantrel::widgets {

QCategoryAxis* RoundAxis() {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    return axis;
}

void SetRoundRange(QCategoryAxis* axis, double low, double high, bool symmetric) {
    const render::AxisTicks ticks = render::RoundTicks(low, high, 5, symmetric);
    for (const QString& label : axis->categoriesLabels()) axis->remove(label);
    axis->setStartValue(ticks.low - ticks.step);
    for (std::size_t i = 0; i < ticks.values.size(); ++i)
        axis->append(QString::fromStdString(ticks.labels[i]), ticks.values[i]);
    axis->setRange(ticks.low, ticks.high);
}

void SetInnerTicks(QValueAxis* axis, double low, double high, int intervals) {
    const render::AxisTicks ticks = render::InnerTicks(low, high, intervals);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    // The axis lays its ticks out after each change: in this order the ticks in between are no
    // more than before or after (a wide new range on the old fine interval would make the axis
    // build hundreds of thousands of ticks and hold the window for seconds).
    if (ticks.step >= axis->tickInterval()) {
        axis->setTickInterval(ticks.step);
        axis->setRange(low, high);
    } else {
        axis->setRange(low, high);
        axis->setTickInterval(ticks.step);
    }
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(ticks.decimals) + QStringLiteral("f"));
}

void FollowPalette(QChart* chart, const QWidget* widget) {
    const QChart::ChartTheme theme =
        render::IsDark(widget->palette()) ? QChart::ChartThemeDark : QChart::ChartThemeLight;
    if (chart->theme() != theme) chart->setTheme(theme);
}

}  // namespace vantrel::widgets
