// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The preview chart drawn without any window: what the command-line tool saves.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>

#include "TypeKPreview.h"
#include "render/PreviewPicture.h"

namespace vantrel::render {
namespace {

device::PlanPreview TypeK() { return test::TypeKPreview(1000); }

// Pixels close to a colour (the lines are drawn antialiased).
int PixelsOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
                             std::abs(qBlue(p) - qBlue(colour)) < 40 ? 1 : 0;
        }
    return count;
}

TEST(PreviewPicture, TheChartHasItsFourLinesOnTheirAxes) {
    const ChartSpec chart = PreviewChart(TypeK(), 300);
    ASSERT_EQ(chart.lines.size(), 4u);
    EXPECT_EQ(chart.lines[0].name, "Sensor curve");
    EXPECT_FALSE(chart.lines[2].inLegend);  // the breakpoints share the table's legend entry
    EXPECT_TRUE(chart.lines[3].rightAxis);
    ASSERT_TRUE(chart.right);
    EXPECT_DOUBLE_EQ(chart.right->ticks.low, -chart.right->ticks.high);  // the error axis is centred on zero
    // Dark colours are lighter, so the lines stay visible on a dark background.
    EXPECT_GT(PreviewChart(TypeK(), 300, true).lines[0].colour.lightnessF(), chart.lines[0].colour.lightnessF());
}

TEST(PreviewPicture, Png_IsAPictureOfTheAskedSizeWithTheCurves) {
    const QImage image = QImage::fromData(PreviewPng(TypeK(), 300, QSize(800, 500)), "PNG");
    ASSERT_EQ(image.size(), QSize(800, 500));
    EXPECT_GT(PixelsOf(image.convertToFormat(QImage::Format_RGB32), qRgb(0xc0, 0x25, 0x25)), 500);  // the error curve
}

}  // namespace
}  // namespace vantrel::render
