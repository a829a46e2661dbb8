// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/icons/ResourceIcons.h"

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <memory>

// The pictures live in a static library, so their resource data must be registered by hand
// before the first lookup (nothing else references the generated initialiser).
static void RegisterIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace vantrel::resources {
namespace {

constexpr std::array kIds{
    kPictureProgramming, kIconFullScreen, 6, 7, 8, 9, 10, kIconEnglish, kIconItalian,
    kIconWizard, kIconOpen, kIconSave, kIconConnect, kIconExit, kIconStart, kIconStop,
    kIconApplication, kPictureSplashProbe, kPictureSplashBanner, kPictureTransferSend,
    kPictureTransferReceive};

void EnsureRegistered() {
    static const bool registered = [] {
        RegisterIconResources();
        return true;
    }();
    (void)registered;
}

// Disabled keys: grey, lighter and half transparent, like the toolkit's own disabled icons.
QImage Greyed(QImage image) {
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = QColor::fromRgba(qUnpremultiply(line[x]));
            const int grey = 110 + qGray(c.rgb()) / 2;
            line[x] = qPremultiply(qRgba(grey, grey, grey, c.alpha() * 45 / 100));
        }
    }
    return image;
}

QImage Render(int id, QSize pixelSize) {
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(ResourceIconPath(id));
    if (!renderer.isValid()) return {};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixelSize)));
    return image;
}

QPixmap CachedRender(int id, QSize pixelSize, bool disabled) {
    const QString key = QStringLiteral("vantrel-icon-%1-%2x%3-%4")
                            .arg(id).arg(pixelSize.width()).arg(pixelSize.height()).arg(disabled);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    QImage image = Render(id, pixelSize);
    if (image.isNull()) return {};
    if (disabled) image = Greyed(std::move(image));
    pixmap = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

// Renders the vector picture at the requested size, so toolbar keys stay sharp at 24, 32 or
// 48 pixels and on high-density screens.
class SvgIconEngine final : public QIconEngine {
public:
    explicit SvgIconEngine(int id) : m_id(id) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QSize pixels = (QSizeF(rect.size()) * ratio).toSize();
        QPixmap pm = pixmap(pixels, mode, state);
        pm.setDevicePixelRatio(ratio);
        const QSize logical = (QSizeF(pm.size()) / ratio).toSize();
        const QPoint origin = rect.topLeft() + QPoint((rect.width() - logical.width()) / 2,
                                                      (rect.height() - logical.height()) / 2);
        painter->drawPixmap(origin, pm);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const QSize fitted = ResourceNaturalSize(m_id).scaled(size, Qt::KeepAspectRatio);
        if (fitted.isEmpty()) return {};
        return CachedRender(m_id, fitted, mode == QIcon::Disabled);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        return ResourceNaturalSize(m_id).scaled(size, Qt::KeepAspectRatio);
    }

    QIconEngine* clone() const override { return new SvgIconEngine(m_id); }
    QString key() const override { return QStringLiteral("vantrel-svg"); }
    bool isNull() override { return false; }

private:
    int m_id;
};

}  // namespace

std::span<const int> ResourceIconIds() {
    return kIds;
}

bool HasResourceIcon(int id) {
    return std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

QString ResourceIconPath(int id) {
    if (!HasResourceIcon(id)) return {};
    EnsureRegistered();
    return QStringLiteral(":/icons/%1").arg(id);
}

QSize ResourceNaturalSize(int id) {
    if (!HasResourceIcon(id)) return {};
    QSvgRenderer renderer(ResourceIconPath(id));
    return renderer.isValid() ? renderer.defaultSize() : QSize();
}

QIcon ResourceIcon(int id) {
    if (!HasResourceIcon(id) || ResourceNaturalSize(id).isEmpty()) return {};
    return QIcon(new SvgIconEngine(id));
}

QPixmap ResourcePixmap(int id, QSize size, qreal devicePixelRatio) {
    const QSize natural = ResourceNaturalSize(id);
    if (natural.isEmpty()) return {};
    const QSize logical = size.isEmpty() ? natural : natural.scaled(size, Qt::KeepAspectRatio);
    if (logical.isEmpty()) return {};
    QPixmap pixmap = CachedRender(id, (QSizeF(logical) * devicePixelRatio).toSize(), false);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

}  // namespace vantrel::resources
