// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the application's pictures to PNG files (QT_QPA_PLATFORM=offscreen works):
//
//   vantrel-iconsheet OUT.png                  a contact sheet of every picture, so the set can
//                                              be looked at in one go: toolbar keys at 24, 32
//                                              and 64 px, enabled and disabled, on a light and
//                                              a dark toolbar, the flags, the animation frames
//                                              and the larger pictures
//   vantrel-iconsheet --icon ID SIZE OUT.png   one picture at SIZE x SIZE pixels (the desktop
//                                              icon that is installed beside the scalable one)

#include "resources/icons/ResourceIcons.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace vantrel::resources;

constexpr int kWidth = 1180;

struct Row {
    QString title;
    std::vector<int> ids;
};

void Label(QPainter& p, QPoint at, const QString& text, QColor colour = QColor(60, 70, 85)) {
    p.setPen(colour);
    p.drawText(at, text);
}

// One toolbar strip: each key at 24, 32 and 64 px, then disabled at 32 px.
int ToolbarStrip(QPainter& p, int top, const std::vector<int>& ids, QColor background, QColor ink) {
    const int height = 128;
    p.fillRect(0, top, kWidth, height, background);
    int x = 20;
    for (int id : ids) {
        const QIcon icon = ResourceIcon(id);
        icon.paint(&p, QRect(x, top + 20, 24, 24));
        icon.paint(&p, QRect(x + 30, top + 16, 32, 32));
        icon.paint(&p, QRect(x + 30, top + 60, 32, 32), Qt::AlignCenter, QIcon::Disabled);
        icon.paint(&p, QRect(x + 68, top + 16, 64, 64));
        Label(p, QPoint(x, top + 116), QString::number(id), ink);
        x += 144;
    }
    return top + height;
}

}  // namespace

int RenderOne(const char* idText, const char* sizeText, const char* out) {
    const int id = std::atoi(idText);
    const int size = std::atoi(sizeText);
    const QPixmap pixmap = ResourcePixmap(id, QSize(size, size));
    if (pixmap.isNull() || size <= 0) {
        std::fprintf(stderr, "vantrel-iconsheet: no picture %s at %s px\n", idText, sizeText);
        return 2;
    }
    if (!pixmap.save(QString::fromLocal8Bit(out))) {
        std::fprintf(stderr, "vantrel-iconsheet: cannot write %s\n", out);
        return 1;
    }
    return 0;
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc == 5 && std::strcmp(argv[1], "--icon") == 0) return RenderOne(argv[2], argv[3], argv[4]);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantrel-iconsheet OUT.png | --icon ID SIZE OUT.png\n");
        return 2;
    }
    const std::vector<int> keysA{23, 25, 28, 29, 5, 26, 16, 27};
    QImage sheet(kWidth, 1000, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(250, 251, 252));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    p.setFont(font);

    int y = 10;
    Label(p, QPoint(20, y + 16), QStringLiteral("Toolbar keys in toolbar order (24, 32, 64 px; disabled at 32 px) on a light and a dark toolbar"));
    y += 28;
    y = ToolbarStrip(p, y, {keysA.begin(), keysA.end()}, QColor(236, 238, 241), QColor(60, 70, 85));
    y = ToolbarStrip(p, y, {keysA.begin(), keysA.end()}, QColor(45, 48, 54), QColor(220, 224, 230));

    y += 16;
    Label(p, QPoint(20, y + 16), QStringLiteral("Language window: flags 14, 15 (32 and 64 px) and animation frames 6 to 10 (48 px)"));
    y += 30;
    int x = 20;
    for (int id : {kIconEnglish, kIconItalian}) {
        ResourceIcon(id).paint(&p, QRect(x, y + 16, 32, 32));
        ResourceIcon(id).paint(&p, QRect(x + 40, y, 64, 64));
        Label(p, QPoint(x, y + 84), QString::number(id));
        x += 130;
    }
    for (int id = kLanguageFrameFirst; id <= kLanguageFrameLast; ++id) {
        p.drawPixmap(x, y + 8, ResourcePixmap(id));
        Label(p, QPoint(x + 16, y + 84), QString::number(id));
        x += 70;
    }
    y += 100;

    Label(p, QPoint(20, y + 16), QStringLiteral("Application icon 1002 (16, 24, 32, 48, 256 px)"));
    y += 30;
    x = 20;
    for (int s : {16, 24, 32, 48}) {
        ResourceIcon(kIconApplication).paint(&p, QRect(x, y, s, s));
        x += s + 16;
    }
    p.drawPixmap(x, y, ResourcePixmap(kIconApplication, QSize(256, 256)));
    const int iconBottom = y + 256;
    x += 276;
    Label(p, QPoint(x, y - 14), QStringLiteral("Programming window picture 4 (natural size) and the operation window frames 2001, 2002"));
    p.drawPixmap(x, y, ResourcePixmap(kPictureProgramming));
    p.drawPixmap(x + 140, y + 20, ResourcePixmap(kPictureTransferSend, QSize(272, 104)));
    p.drawPixmap(x + 140, y + 140, ResourcePixmap(kPictureTransferReceive, QSize(272, 104)));
    p.drawPixmap(x + 440, y + 20, ResourcePixmap(kPictureTransferSend));
    p.drawPixmap(x + 440, y + 90, ResourcePixmap(kPictureTransferReceive));
    y = iconBottom + 30;

    Label(p, QPoint(20, y + 16), QStringLiteral("Splash pictures 1014 (banner) and 1007, natural size"));
    y += 30;
    p.drawPixmap(20, y, ResourcePixmap(kPictureSplashBanner));
    p.drawPixmap(530, y, ResourcePixmap(kPictureSplashProbe));
    p.end();

    if (!sheet.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "vantrel-iconsheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
