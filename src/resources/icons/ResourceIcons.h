// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <span>

namespace vantrel::resources {

// Picture and icon resources, by the identifiers the windows use.
inline constexpr int kPictureProgramming = 4;       // programming window's picture box
inline constexpr int kIconFullScreen = 5;           // toolbar key "txrx"
inline constexpr int kLanguageFrameFirst = 6;       // Language window animation: 6, 7, 8, 9, 10
inline constexpr int kLanguageFrameLast = 10;
inline constexpr int kIconEnglish = 14;             // Language window, English button
inline constexpr int kIconItalian = 15;             // Language window, Italian button
inline constexpr int kIconWizard = 16;              // toolbar key "Wiz"
inline constexpr int kIconOpen = 23;                // toolbar key "apri"
inline constexpr int kIconSave = 25;                // toolbar key "salva"
inline constexpr int kIconConnect = 26;             // toolbar key "connect"
inline constexpr int kIconExit = 27;                // toolbar key "exit"
inline constexpr int kIconStart = 28;               // toolbar key "start"
inline constexpr int kIconStop = 29;                // toolbar key "stop"
inline constexpr int kIconApplication = 1002;       // main window and desktop icon
inline constexpr int kPictureSplashProbe = 1007;    // splash window
inline constexpr int kPictureSplashBanner = 1014;   // splash window
inline constexpr int kPictureTransferSend = 2001;   // operation window animation, first frame
inline constexpr int kPictureTransferReceive = 2002;  // operation window animation, second frame

// Every identifier above, in ascending order.
std::span<const int> ResourceIconIds();

bool HasResourceIcon(int id);

// The Qt resource path of a picture (":/icons/23"); empty for an unknown identifier.
QString ResourceIconPath(int id);

// The size the picture was drawn at (toolbar keys 32 x 32); empty for an unknown identifier.
QSize ResourceNaturalSize(int id);

// An icon that is drawn from the vector picture at whatever size a button asks for, with a
// greyed-out rendering for disabled keys. Null for an unknown identifier.
QIcon ResourceIcon(int id);

// The picture scaled to fit inside `size` with its proportions kept (an empty size means the
// natural size), for picture boxes and animations. Null for an unknown identifier.
QPixmap ResourcePixmap(int id, QSize size = {}, qreal devicePixelRatio = 1.0);

}  // namespace vantrel::resources
