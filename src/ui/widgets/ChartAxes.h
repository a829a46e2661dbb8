// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCategoryAxis;
class QChart;
class QValueAxis;
class QWidget;

// Qt Charts axes that follow the one tick rule (render/AxisTicks), and the charts' theme for
// the desktop's palette.
namespace vantrel::widgets {

// An axis whose ticks are whole multiples of a round step and read as such (a value axis
// would add steps and label zero with a rounding residue).
QCategoryAxis* RoundAxis();
// Ticks covering low..high (symmetric: -m..m with m the larger magnitude).
void SetRoundRange(QCategoryAxis* axis, double low, double high, bool symmetric);
// Ticks at round multiples inside low..high exactly, for axes kept lined up with another.
void SetInnerTicks(QValueAxis* axis, double low, double high, int intervals);

// The dark theme on a dark desktop, the light one otherwise (the chart's own colours would
// glare or vanish against the wrong background).
void FollowPalette(QChart* chart, const QWidget* widget);

}  // namespace vantrel::widgets
