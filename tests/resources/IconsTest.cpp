// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/icons/ResourceIcons.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <vector>

namespace {

using namespace vantrel::resources;


// Every picture the windows name, including the operation window's two animation frames.
const std::vector<int> kNamedIds{4, 5, 6, 7, 8, 9, 10, 14, 15, 16, 23, 25, 26, 27, 28, 29,
                                 1002, 1007, 1014, 2001, 2002};
const std::vector<int> kToolbarKeys{23, 25, 28, 29, 5, 26, 16, 27};

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) ++count;
    return count;
}

bool AllGrey(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) > 0 && (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p))) return false;
        }
    return true;
}

TEST(ResourceIcons, EveryNamedIdentifier_LoadsAsIconAndPixmapWithSomethingDrawn) {
    for (int id : kNamedIds) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(HasResourceIcon(id));
        EXPECT_EQ(ResourceIconPath(id), QStringLiteral(":/icons/%1").arg(id));
        EXPECT_FALSE(ResourceIcon(id).isNull());
        const QPixmap pixmap = ResourcePixmap(id, QSize(48, 48));
        ASSERT_FALSE(pixmap.isNull());
        // A picture that rendered to nothing (a broken file) would leave it fully transparent.
        EXPECT_GT(OpaquePixels(pixmap.toImage()), pixmap.width() * pixmap.height() / 10);
    }
    std::vector<int> listed(ResourceIconIds().begin(), ResourceIconIds().end());
    std::vector<int> named = kNamedIds;
    std::sort(named.begin(), named.end());
    EXPECT_EQ(listed, named);
    EXPECT_TRUE(ResourcePixmap(24, QSize(32, 32)).isNull());
}

TEST(ResourceIcons, DisabledKey_IsGreyAndDiffersFromTheEnabledOne) {
    for (int id : kToolbarKeys) {
        SCOPED_TRACE(id);
        const QIcon icon = ResourceIcon(id);
        const QImage normal = icon.pixmap(QSize(32, 32), QIcon::Normal).toImage();
        const QImage disabled = icon.pixmap(QSize(32, 32), QIcon::Disabled).toImage();
        EXPECT_NE(normal, disabled);
        EXPECT_TRUE(AllGrey(disabled));
        EXPECT_FALSE(AllGrey(normal));
    }
}

TEST(ResourceIcons, Pixmap_KeepsProportionsAndFollowsTheDevicePixelRatio) {
    const QSize banner = ResourceNaturalSize(kPictureSplashBanner);
    ASSERT_FALSE(banner.isEmpty());
    const QPixmap fitted = ResourcePixmap(kPictureSplashBanner, QSize(240, 240));
    EXPECT_EQ(fitted.width(), 240);
    EXPECT_EQ(fitted.height(), banner.height() * 240 / banner.width());

    EXPECT_EQ(ResourcePixmap(kPictureProgramming).size(), ResourceNaturalSize(kPictureProgramming));

    const QPixmap sharp = ResourcePixmap(kIconOpen, QSize(32, 32), 2.0);
    EXPECT_EQ(sharp.size(), QSize(64, 64));
    EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
}

}  // namespace
