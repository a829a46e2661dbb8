// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "device/Identify.h"

using namespace vantrel::device;

TEST(Identify, FamilyTwo_HasNoCurrentInputAndEndsPotentiometerWithTwoKOhm) {
    const Identification id = Identify({2, 9, 1, 0});
    ASSERT_TRUE(id.knownFamily);
    EXPECT_EQ(id.lists.inputFamilies, (std::vector<int>{31, 32, 33, 34, 154}));
    EXPECT_EQ(id.lists.potRanges, (std::vector<int>{201, 202, 204}));
    EXPECT_EQ(id.lists.outputTypes, (std::vector<int>{35}));
    EXPECT_EQ(id.tripsVisible, false);
}

TEST(Identify, FamiliesThreeAndFour_OfferVoltageOutput_TripsOnlyOnFourWithModelTen) {
    const Identification three = Identify({3, 10, 0, 0});
    EXPECT_EQ(three.lists.outputTypes, (std::vector<int>{35, 34}));
    EXPECT_EQ(three.lists.inputFamilies.size(), 6u);
    EXPECT_EQ(three.tripsVisible, false);
    EXPECT_EQ(three.modelNames, "KRV8690");

    EXPECT_EQ(Identify({4, 10, 0, 0}).tripsVisible, true);
    EXPECT_EQ(Identify({4, 10, 0, 0}).modelNames, "KRV 8690 XB\r\nKRV 8736 / KRV 8748");
    EXPECT_EQ(Identify({4, 9, 0, 0}).tripsVisible, false);
}

TEST(Identify, UnknownFamily_OffersNothingAndLeavesTripsAlone) {
    const Identification id = Identify({7, 10, 0, 0});
    EXPECT_FALSE(id.knownFamily);
    EXPECT_TRUE(id.lists.inputFamilies.empty());
    EXPECT_FALSE(id.tripsVisible.has_value());
    EXPECT_TRUE(id.modelNames.empty());
}

TEST(IdentityLine, WritesEachNumberAfterOneBlank_FamilyFourWithoutTripsHasEmptyLine) {
    EXPECT_EQ(IdentityLine(Identify({2, 9, 1, 0}).modelNames, {2, 9, 1, 0}),
              "KRV 3070 / KRV 3070 XB\r\nKRV 3076 / KRV 3076 XB\r\nKRV 3087 / KRV 3087 XB\r\n"
              "KRV 3092 / KRV 3097\r\nKRV 7380 XB / KRV 8620 XB\r\n( VerSW :  2/ 9/ 1/ 0 )");
    EXPECT_EQ(IdentityLine(Identify({4, 9, 0, 0}).modelNames, {4, 9, 0, 0}),
              "KRV 7398\r\nKRV 8698 / KRV 8698YD\r\n\r\n( VerSW :  4/ 9/ 0/ 0 )");
}

