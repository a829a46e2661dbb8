// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "resources/NumberFormat.h"

using namespace vantrel::resources;

TEST(Str, PutsASpaceBeforeNonNegativeNumbersAndKeepsSignificantDigits) {
    EXPECT_EQ(Str(100), " 100");
    EXPECT_EQ(Str(-200), "-200");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(30 * 0.05), " 1.5");  // 1.5000000000000002 in binary
    EXPECT_EQ(Str(0.5), " 0.5");
    EXPECT_EQ(Str(1000.0 / 28), " 35.7142857142857");
    EXPECT_EQ(StrSingle(1000.0f / 28), " 35.71429");
    EXPECT_EQ(StrSingle(-328.0f), "-328");
    // Exponent forms never take the C library's locale (a decimal comma under it_IT).
    EXPECT_EQ(Str(1.5e20), " 1.5E+20");
    EXPECT_EQ(PlainTextSingle(-2.5e-7f), "-2.5E-07");
}

TEST(PlainText, HasNoLeadingSpaceAndFollowsTheSeparator) {
    EXPECT_EQ(PlainTextSingle(2.5f), "2.5");
    EXPECT_EQ(PlainTextSingle(1400.0f), "1400");
    EXPECT_EQ(PlainTextSingle(-0.1f), "-0.1");
    SetDecimalSeparator(',');
    EXPECT_EQ(PlainTextSingle(2.5f), "2,5");
    SetDecimalSeparator('.');
}

// Optional decimals drop trailing zeros and the separator; required digits are padded; a hash
// before the point makes the leading zero optional; halves round away from zero on the
// decimal value; minus zero is never printed; a suffix is copied.
TEST(Format, PatternsAsTheFormsUseThem) {
    struct Case {
        double value;
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {5, "####0.###", "5"}, {12.5, "####0.###", "12.5"}, {1000.0 / 28, "####0.###", "35.714"},
        {-200, "####0.###", "-200"}, {0.0004, "####0.###", "0"}, {150, "####0.0##", "150.0"},
        {150.125, "####0.0##", "150.125"}, {5.04, "####0.0", "5.0"}, {12, "##0.000", "12.000"},
        {0.5, "##0.000", "0.500"}, {5, "00", "05"}, {999.96, "##0.0", "1000.0"}, {12.3456, "##0.00", "12.35"},
        {873.4, "##0", "873"}, {0.5, "#.0", ".5"}, {0, "#.0", ".0"}, {150, "#.0", "150.0"}, {-0.5, "#.0", "-.5"},
        {2.5, "##0", "3"}, {-2.5, "##0", "-3"}, {2.675, "##0.00", "2.68"} /* binary 2.67499999... */,
        {0.05, "0.0", "0.1"}, {-0.0001, "##0.000", "0.000"}, {-0.0, "0.0", "0.0"}, {-0.04, "#.0", ".0"},
        {12.5, "##0.000   V", "12.500   V"},
    };
    for (const Case& c : cases) EXPECT_EQ(Format(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
    EXPECT_EQ(FormatSingle(1.0005f, "0.000"), "1.001");
    SetDecimalSeparator(',');
    EXPECT_EQ(Format(12.5, "##0.000  mA"), "12,500  mA");
    SetDecimalSeparator('.');
}

TEST(Conversions, WholeNumbersRoundHalvesToEvenAndIntIsFloor) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(0.125 / 0.05), 2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(IntFloor(-1.5), -2);
    EXPECT_EQ(IntFloor(1.9), 1);
    EXPECT_EQ(ToSingle(0.1), 0.1f);
}

TEST(ParseNumber, AcceptsCommaOrPointAndRefusesGarbage) {
    for (const auto& [text, number] : {std::pair{"2,5", 2.5}, {"2.5", 2.5}, {" -200 ", -200.0}, {".5", 0.5},
                                       {"1e3", 1000.0}, {"+7", 7.0}})
        EXPECT_EQ(ParseNumber(text), number) << text;
    for (const char* garbage : {"", "   ", "abc", "1.2.3", "1,000.5", "-", "12abc"})
        EXPECT_FALSE(ParseNumber(garbage)) << garbage;
}

TEST(ParseNumber, OverflowIsRefusedEverywhereAndUnderflowReadsAsZero) {
    const double inf = HUGE_VAL;
    struct Case {
        const char* text;
        std::optional<double> number;
        std::optional<float> single;  // ParseSingle: also refuses what a Single cannot hold
        double leading;               // ParseLeadingNumber of the text followed by " mV"
    };
    const Case cases[] = {
        {"1e400", std::nullopt, std::nullopt, inf},
        {"-1e400", std::nullopt, std::nullopt, -inf},
        {"0.00001e320", std::nullopt, std::nullopt, inf},
        {"1e39", 1e39, std::nullopt, 1e39},
        {"-3.5e38", -3.5e38, std::nullopt, -3.5e38},
        {"3.4e38", 3.4e38, 3.4e38f, 3.4e38},
        {"1e-400", 0.0, 0.0f, 0.0},
        {"12345e-330", 0.0, 0.0f, 0.0},
        {"2,5", 2.5, 2.5f, 2.5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseNumber(c.text), c.number) << c.text;
        EXPECT_EQ(ParseSingle(c.text), c.single) << c.text;
        EXPECT_EQ(ParseLeadingNumber(std::string(c.text) + " mV"), c.leading) << c.text;
    }
}

TEST(ParseLeadingNumber, ReadsTheNumberAtTheStartOrZero) {
    EXPECT_EQ(ParseLeadingNumber("0007.D70"), 7);
    EXPECT_EQ(ParseLeadingNumber("  12,5 %"), 12.5);
    EXPECT_EQ(ParseLeadingNumber("abc"), 0);
    EXPECT_EQ(ParseLeadingNumber(""), 0);
    EXPECT_EQ(ParseLeadingNumber("-3x"), -3);
}
