// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>

#include "device/Identify.h"

using namespace vantrel::device;

// What each family offers: family 2 has no current input and ends the potentiometers with
// 2 kOhm, voltage output only on families 3 and 4, trips only on family 4 with model 10; an
// unknown family offers nothing and leaves the trips alone.
TEST(Identify, ListsAndTripsByFamilyAndModel) {
    const Identification two = Identify({2, 9, 1, 0});
    EXPECT_EQ(two.lists.inputFamilies, (std::vector<int>{31, 32, 33, 34, 154}));
    EXPECT_EQ(two.lists.potRanges, (std::vector<int>{201, 202, 204}));
    EXPECT_EQ(two.lists.outputTypes, (std::vector<int>{35}));
    EXPECT_EQ(Identify({3, 10, 0, 0}).lists.outputTypes, (std::vector<int>{35, 34}));
    for (const auto& [family, model, trips] : {std::tuple{2, 9, false}, {3, 10, false}, {4, 9, false}, {4, 10, true}})
        EXPECT_EQ(Identify({family, model, 0, 0}).tripsVisible, trips) << family << "/" << model;
    const Identification unknown = Identify({7, 10, 0, 0});
    EXPECT_FALSE(unknown.knownFamily || unknown.tripsVisible.has_value());
    EXPECT_TRUE(unknown.lists.inputFamilies.empty() && unknown.modelNames.empty());
}

TEST(IdentityLine, WritesEachNumberAfterOneBlank_FamilyFourWithoutTripsHasEmptyLine) {
    EXPECT_EQ(IdentityLine(Identify({2, 9, 1, 0}).modelNames, {2, 9, 1, 0}),
              "KRV 3070 / KRV 3070 XB\r\nKRV 3076 / KRV 3076 XB\r\nKRV 3087 / KRV 3087 XB\r\n"
              "KRV 3092 / KRV 3097\r\nKRV 7380 XB / KRV 8620 XB\r\n( VerSW :  2/ 9/ 1/ 0 )");
    EXPECT_EQ(IdentityLine(Identify({4, 9, 0, 0}).modelNames, {4, 9, 0, 0}),
              "KRV 7398\r\nKRV 8698 / KRV 8698YD\r\n\r\n( VerSW :  4/ 9/ 0/ 0 )");
}

