// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>

#include "render/Chart.h"

namespace vantrel::widgets {

// Shows a render::ChartSpec, painted in the colours of the widget's palette (dark on a dark
// desktop). The chart is made again from `make(dark)` when the palette changes.
class ChartWidget : public QWidget {
    Q_OBJECT
public:
    using SpecMaker = std::function<render::ChartSpec(bool dark)>;
    explicit ChartWidget(SpecMaker make, QWidget* parent = nullptr);

    const render::ChartSpec& chart() const { return m_chart; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    SpecMaker m_make;
    render::ChartSpec m_chart;
    bool m_dark = false;
};

}  // namespace vantrel::widgets
