// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "resources/StringTable.h"

using namespace vantrel::resources;

namespace {

// Italian identifiers that the table holds: 1 and 31..234 except the unused ones.
std::set<int> UsedItalianIds() {
    std::set<int> ids{1};
    for (int id = 31; id <= 234; ++id) {
        const bool unused = (id >= 133 && id <= 139) || id == 182;
        if (!unused) ids.insert(id);
    }
    return ids;
}

}  // namespace

TEST(StringTable, EveryUsedIdHasItalianAndEnglishTextAtPlus300) {
    for (int id : UsedItalianIds()) {
        EXPECT_FALSE(LoadResString(id).empty()) << id;
        if (id == 1) continue;
        EXPECT_FALSE(LoadResString(id + 300).empty()) << id + 300;
    }
}

TEST(StringTable, UnusedIdsAndTheirTwinsAreAbsent) {
    const std::set<int> used = UsedItalianIds();
    for (int id = 0; id <= 600; ++id) {
        const bool italian = used.count(id) != 0;
        const bool english = id > 300 && id != 301 && used.count(id - 300) != 0;
        EXPECT_EQ(HasResString(id), italian || english) << id;
    }
}

TEST(StringTable, EveryProgramTextBeyondTheOriginalTableHasItsEnglishTwin) {
    int texts = 0;
    for (int id = 2001; id < 2300; ++id) {
        EXPECT_EQ(HasResString(id), HasResString(id + 300)) << id;
        if (HasResString(id)) {
            ++texts;
            EXPECT_FALSE(LoadResString(id).empty()) << id;
        }
    }
    EXPECT_GT(texts, 50);
    EXPECT_FALSE(HasResString(2000));
    EXPECT_FALSE(HasResString(2600));
}

TEST(StringTable, LanguageOffsetComesFromText1) {
    EXPECT_EQ(LoadResString(1), "300");
    EXPECT_EQ(LanguageOffsetFor(0), 0);
    EXPECT_EQ(LanguageOffsetFor(1), 300);
}

TEST(StringTable, TextsKeepTheirBlanksAndAccents) {
    const std::pair<int, const char*> texts[] = {
        {53, "Velocità              :          9600"}, {353, "Speed                :          9600"},
        {56, "Numero di Bit    :          8"}, {206, "    Allarme Sensore"}, {506, "    Burnout"}, {210, " ÷ "},
        {510, " to "}, {85, "Comunicazione impossibile con l' apparato"},
        {385, "It's impossible communicate with the device"}, {170, "Il numero dei punti dev'essere compreso tra 2 e "},
        {198, "Premere il pulsante per visualizzare la misura del Trasmettitore. Per terminare premere il pulsante 'Stop'"},
        {108, "Unità Temp. : °C"}, {463, "The programming with this Span will involve the noise to correct measure"},
    };
    for (const auto& [id, text] : texts) EXPECT_EQ(LoadResString(id), text) << id;
    EXPECT_EQ(Text(84, 0), "Dispositivo non connesso");
    EXPECT_EQ(Text(84, 300), "Device not connected");
}
