// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

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

// Writes PreviewImage as a PNG file, replacing the file only once the picture is complete.
// Needs a QGuiApplication (the offscreen platform will do). False when it cannot be written.
bool SavePreviewPng(const device::PlanPreview& preview, int languageOffset, const QString& path,
                    QSize size = QSize(1000, 640));

}  // namespace vantrel::render
