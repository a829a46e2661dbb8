// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include "device/PlanPreview.h"
#include "render/Chart.h"

// The linearisation preview as a chart: the sensor's curve and the transmitter's table
// (signal against the input value, left axis) with the table's breakpoints, and the error
// between them (right axis). The preview window shows it; `vantrel-cli program --preview
// OUT.png` saves it as a picture.
namespace vantrel::render {

// The chart of a preview, in the language of the offset; lines coloured for the background.
ChartSpec PreviewChart(const device::PlanPreview& preview, int languageOffset, bool dark = false);

// The chart with the largest error and the note under it, `size` pixels, light colours.
QImage PreviewImage(const device::PlanPreview& preview, int languageOffset, QSize size = QSize(1000, 640));

// PreviewImage as the bytes of a PNG picture (empty when it cannot be encoded). Needs a
// QGuiApplication (the offscreen platform will do).
QByteArray PreviewPng(const device::PlanPreview& preview, int languageOffset, QSize size = QSize(1000, 640));

}  // namespace vantrel::render
