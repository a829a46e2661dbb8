// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPalette>

#include "render/Chart.h"
#include "ui/widgets/Palette.h"

using namespace vantrel;

TEST(Palette, TheFormsSignalButtonsReadOnLightAndDarkThemes) {
    const QColor window[] = {QColor(0xef, 0xef, 0xef), QColor(0x2b, 0x2b, 0x2b)};
    for (const QColor& base : {QColor(0, 255, 255), QColor(255, 255, 0), QColor(128, 255, 128), QColor(255, 0, 0)}) {
        for (const bool dark : {false, true}) {
            const widgets::ButtonColours c = widgets::ActionButtonColours(base, dark);
            EXPECT_GE(widgets::ContrastRatio(c.text, c.background), 4.5) << base.name().toStdString() << dark;
            EXPECT_GE(widgets::ContrastRatio(c.text, c.hover), 3.0) << base.name().toStdString() << dark;
            // A dark theme gets no glaring button: it stays darker than light text.
            if (dark) {
                EXPECT_LT(c.background.lightnessF(), 0.35) << base.name().toStdString();
            }
            EXPECT_NE(c.background, window[dark ? 1 : 0]);
        }
    }
}

TEST(Palette, DarkIsToldByTheWindowColour) {
    QPalette light;
    light.setColor(QPalette::Window, QColor(0xef, 0xef, 0xef));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x31, 0x36, 0x3b));
    EXPECT_FALSE(render::IsDark(light));
    EXPECT_TRUE(render::IsDark(dark));
    EXPECT_GE(widgets::ContrastRatio(render::ChartColours::Dark().text, render::ChartColours::Dark().background), 7);
}
