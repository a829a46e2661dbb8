// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

class QWidget;

// Colours that stay readable on a light and on a dark desktop theme. The form's signal
// colours (the cyan programming button, the yellow measure and stop buttons) are kept in
// their hue, but on a dark theme they are darkened and carry light text, so they neither
// glare nor lose their text.
namespace vantrel::widgets {

struct ButtonColours {
    QColor background;
    QColor text;
    QColor border;
    QColor hover;
    QColor disabledBackground;
    QColor disabledText;
};

// The colours of an action button whose signal colour is `base`.
ButtonColours ActionButtonColours(const QColor& base, bool dark);

// The WCAG contrast ratio of two colours (1 to 21); 4.5 reads comfortably.
double ContrastRatio(const QColor& a, const QColor& b);

// `light` on a light theme, `dark` on a dark one (text colours with a meaning: green for
// passed, red for differs).
QColor ForPalette(const QWidget* widget, const QColor& light, const QColor& dark);

}  // namespace vantrel::widgets
