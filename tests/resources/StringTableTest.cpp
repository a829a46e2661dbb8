// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
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

// Every used id has its Italian text and its English twin at +300; the unused ones and their
// twins are absent.
TEST(StringTable, TheOriginalTableHoldsExactlyTheUsedIdsAndTheirTwins) {
    const std::set<int> used = UsedItalianIds();
    for (int id = 0; id <= 600; ++id) {
        const bool italian = used.count(id) != 0;
        const bool english = id > 300 && id != 301 && used.count(id - 300) != 0;
        EXPECT_EQ(HasResString(id), italian || english) << id;
        if (italian || english) {
            EXPECT_FALSE(LoadResString(id).empty()) << id;
        }
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

// The named ids are kept by hand in the header: each must name a text the table holds, in
// both languages, so a typo in a number cannot show an empty message.
TEST(StringTable, EveryNamedIdHasItsTextInBothLanguages) {
    std::ifstream header(VANTREL_SOURCE_DIR "/src/resources/StringTable.h");
    ASSERT_TRUE(header) << "the header is read from the source tree";
    std::stringstream content;
    content << header.rdbuf();
    const std::string text = content.str();
    const std::size_t begin = text.find("namespace text {");
    const std::size_t end = text.find("}  // namespace text");
    ASSERT_NE(begin, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const std::string names = text.substr(begin, end - begin);
    const std::regex named(R"(inline constexpr int (k\w+) = (\d+);)");
    int count = 0;
    for (auto it = std::sregex_iterator(names.begin(), names.end(), named); it != std::sregex_iterator(); ++it) {
        const int id = std::stoi((*it)[2].str());
        EXPECT_TRUE(HasResString(id) && HasResString(id + 300)) << (*it)[1].str() << " = " << id;
        ++count;
    }
    EXPECT_GT(count, 200);
}
