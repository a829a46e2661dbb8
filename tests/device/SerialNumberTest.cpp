// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "device/SerialNumber.h"

using namespace vantrel::device;

TEST(SerialNumber, EncodingIsTheInverseOverEveryFieldBoundary) {
    EXPECT_EQ(EncodeSerialNumber({12, 5, 91, 528}), (SerialCells{12, 0x5B, 0x62, 0x10}));
    for (const SerialNumber serial : {SerialNumber{0, 0, 0, 0}, SerialNumber{255, 15, 127, 8191},
                                      SerialNumber{12, 5, 91, 528}, SerialNumber{1, 1, 8, 256}}) {
        EXPECT_EQ(DecodeSerialNumber(EncodeSerialNumber(serial)), serial);
    }
    // Customer 255 hides the menu item.
    EXPECT_FALSE(SerialMenuVisible({255, 0, 0, 0}));
    EXPECT_TRUE(SerialMenuVisible({254, 0, 0, 0}));
}
