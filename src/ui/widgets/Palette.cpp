// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/Palette.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

#include "render/Chart.h"

namespace vantrel::widgets {

namespace {

double Channel(double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }

double Luminance(const QColor& c) {
    return 0.2126 * Channel(static_cast<double>(c.redF())) + 0.7152 * Channel(static_cast<double>(c.greenF())) + 0.0722 * Channel(static_cast<double>(c.blueF()));
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ButtonColours ActionButtonColours(const QColor& base, bool dark) {
    if (!dark)
        return {base, QColor(0x11, 0x11, 0x11), base.darker(150), base.lighter(115), QColor(0xe4, 0xe4, 0xe4),
                QColor(0x8a, 0x8a, 0x8a)};
    // The same hue, deep enough to carry light text on a dark window.
    const QColor deep = QColor::fromHslF(std::max(base.hslHueF(), 0.0f), std::min(base.hslSaturationF(), 0.85f), 0.24f);
    return {deep, QColor(0xf4, 0xf4, 0xf4), base.darker(110), deep.lighter(115), QColor(0x3a, 0x3d, 0x42),
            QColor(0x9a, 0x9e, 0xa4)};
}

QColor ForPalette(const QWidget* widget, const QColor& light, const QColor& dark) {
    return render::IsDark(widget->palette()) ? dark : light;
}

}  // namespace vantrel::widgets
