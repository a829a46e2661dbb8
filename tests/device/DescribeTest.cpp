// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "ReadFixtures.h"
#include "device/Describe.h"
#include "device/Families.h"

using namespace vantrel::device;
using vantrel::test::ReadValuesOf;

namespace {

using Lines = std::vector<std::string>;

DescribeContext Context(int family, int model, int language = 0) {
    return {Identity{family, model, 0, 0}, language, 0};
}

}  // namespace

TEST(Describe, ThermocoupleInFahrenheitWithTrips_GivesEveryLineInOrder) {
    ReadValues v = ReadValuesOf(1, 8 + 2 + 1, 0, 1200);
    v.tripValues = {0, 1000, 950, 100, 50, 30, 0};
    v.tripFlags = kTrip2MinimumBit;
    const Description d = Describe(v, Context(4, 10));
    EXPECT_EQ(d.lines, (Lines{"Termocoppia Tipo K", "CJC : Interno", "Linearizzazione ON",
                              "Campo Ingresso: 32 ÷ 2192  °F", "Campo uscita: 4 ÷ 20 mA", "Reg. Zero: 0.0%",
                              "Reg. Span: 0.0%", "Segnale uscita: Diretto", "Allarme sensore: Basso", "Filtro: OFF",
                              "Soglia 1: 1832.0 4.2 %- Max", "Soglia 2: 122.0 4.2 %- Min",
                              "Ritardo:  1.5 sec."}));
    EXPECT_EQ(d.SummaryText().substr(0, 20), "Termocoppia Tipo K\r\n");
    EXPECT_TRUE(d.fahrenheit && d.cjcInternal && d.linearOn);
    ASSERT_TRUE(d.trips);
    // Working levels are in the unit of the range, trip 1 high first.
    EXPECT_FLOAT_EQ(d.trips->levels[0], 1832);
    EXPECT_FLOAT_EQ(d.trips->levels[1], 1742);
    EXPECT_FLOAT_EQ(d.trips->delayTicks, 30);
}

TEST(Describe, Potentiometer_ShowsPercentTimesHundred_NoAdjustmentsOrTripsWithoutModelTen) {
    ReadValues v = ReadValuesOf(31, 0, 0.25, 0.75);
    const Description d = Describe(v, Context(1, 9));
    EXPECT_EQ(d.lines, (Lines{"Potenziometro Tra 20 e 200 Ohm", "Campo Ingresso: 25 ÷ 75 %",
                              "Campo uscita: 4 ÷ 20 mA", "Segnale uscita: Diretto", "Allarme sensore: Alto",
                              "Filtro: OFF"}));
    EXPECT_FALSE(d.trips);
    EXPECT_FALSE(d.fahrenheit);
}

TEST(Describe, OutputUnitAndEntry_FollowFamilyAndOutputType) {
    ReadValues v = ReadValuesOf(36, 0, 0, 100);
    v.outputFirst = 10;
    v.outputSecond = 0;
    v.outputType = 2;
    Description d = Describe(v, Context(3, 10));
    EXPECT_EQ(d.outputEntry, 1);
    EXPECT_EQ(d.lines[2], "Campo uscita: 0 ÷ 10 V");

    for (const auto& [type, entry] : {std::pair{1, 1}, {2, 0}}) {
        v.outputType = type;
        EXPECT_EQ(Describe(v, Context(4, 10)).outputEntry, entry) << type;
    }
    v.outputType = 0;
    d = Describe(v, {Identity{4, 10, 0, 0}, 0, 1});
    EXPECT_FALSE(d.outputEntry);
    EXPECT_EQ(d.outputUnit, " V");  // unknown combination keeps what the form shows
}

// Family, output type read from cell 7, the form's output entry, and whether bit 7 of cell 6
// is set for burn-out down (it is set for up otherwise).
TEST(Describe, BurnoutReadBack_MatchesWhatProgrammingEncodes) {
    for (const auto& [family, outputType, entry, setWhenDown] :
         {std::tuple{1, 0, 0, true}, {2, 0, 0, true}, {3, 0, 0, false}, {3, 1, 0, false}, {3, 2, 1, false},
          {4, 2, 0, false}, {4, 1, 1, true}})
        for (const bool down : {false, true}) {
            const Identity identity{family, 9, 0, 0};
            EXPECT_EQ(BurnoutBitSet(identity, entry, down), down == setWhenDown) << family << " " << entry;
            EXPECT_EQ(BurnoutDownFromGainCode(identity, down == setWhenDown ? 128 : 0, outputType), down)
                << family << " " << outputType;
        }
}

TEST(Describe, English_UsesTheOtherHalfOfTheStringTable) {
    ReadValues v = ReadValuesOf(2, 1, -10.5, 400);
    v.outputFlags = 1;
    v.zeroAdjust = -0.3;
    v.spanAdjust = 1.2;
    const Description d = Describe(v, Context(4, 10, 300));
    ASSERT_GE(d.lines.size(), 10u);
    EXPECT_EQ(d.lines[0] + "|" + d.lines[1] + "|" + d.lines[2] + "|" + d.lines[3],
              "Thermocouple Type J|CJC : Internal|Linearization OFF|Input Range: -10.5 to 400  °C");
    EXPECT_EQ(d.lines[5] + "|" + d.lines[6] + "|" + d.lines[9], "Reg. Zero: -0.3%|Reg. Span: 1.2%|Filter: ON");
    EXPECT_TRUE(d.filterOn);
}

TEST(Describe, ValuesWithoutADefinedResult_ShowAsUnknownAndLeaveTheFormAlone) {
    ReadValues v = ReadValuesOf(1, 0, 0, 1000);
    v.outputFirst.reset();
    v.outputSecond.reset();
    v.tripValues = {0, std::nan(""), 950, 100, 50, 30, 0};
    const Description d = Describe(v, Context(4, 10, 300));
    EXPECT_EQ(d.lines[4], "Output Range: — to — mA");
    EXPECT_EQ(d.lines[10], "Trip 1: — — %- Max");
    EXPECT_TRUE(d.outputRangeMin.empty() && d.outputRangeMax.empty());
    EXPECT_FALSE(d.trips);  // the working trips keep what they hold
}

// One line of the description of a transmitter's configuration (model 10, family 4), by
// input code, option flags and range: wiring, custom curves, code blocks, units, direction.
TEST(Describe, LinesByInputFlagsAndRange) {
    struct Case {
        int code, flags;
        double bottom, top;
        std::size_t line;
        const char* text;
    };
    const Case cases[] = {
        {24, 2 + 4, 0, 100, 0, "RTD Ni1000 - 4 Fili"}, {24, 2 + 4, 0, 100, 1, "Linearizzazione ON"},
        {51, 1, 0, 100, 0, "Resistenza - 3 Fili"}, {51, 32 + 1, 0, 100, 0, "Resistenza (Custom)  - 3 Fili"},
        {33, 32, 0, 1, 0, "Potenziometro (Custom) "},
        // A custom potentiometer's range holds the curve's physical column as typed, not a ratio.
        {31, 32, 0, 100, 1, "Campo Ingresso: 0 ÷ 100 %"},
        {20, 0, 0, 100, 0, "Termocoppia (codice d'ingresso sconosciuto: 20)"},
        {0, 0, 0, 100, 0, "Campo Ingresso: 0 ÷ 100"}, {61, 0, 0, 100, 0, "Campo Ingresso: 0 ÷ 100"},
        {56, 8, 0, 100, 0, "Diff. di Temp."}, {56, 8, 0, 100, 1, "Campo Ingresso: 32 ÷ 212  °F"},
        {36, 0, 0, 750, 0, "Tensione"}, {36, 64, 0, 100, 2, "Campo uscita: 20 ÷ 4 mA"},
        {36, 64, 0, 100, 5, "Segnale uscita: Inverso"},
    };
    for (const Case& c : cases) {
        const Description d = Describe(ReadValuesOf(c.code, c.flags, c.bottom, c.top), Context(4, 10));
        ASSERT_GT(d.lines.size(), c.line) << c.code;
        EXPECT_EQ(d.lines[c.line], c.text) << "code " << c.code << " flags " << c.flags;
        EXPECT_EQ(d.custom, (c.flags & 32) != 0) << c.code;
    }
    const auto family = [](int code) { return Describe(ReadValuesOf(code, 0, 0, 100), Context(4, 10)).familyPosition; };
    EXPECT_EQ(std::tuple(family(20), family(21), family(0), family(56), family(61)),
              std::tuple(0, 1, std::nullopt, std::nullopt, std::nullopt));
    EXPECT_EQ(Describe(ReadValuesOf(20, 0, 0, 100), Context(4, 10)).tcType, 19);
    const Description reverse = Describe(ReadValuesOf(36, 64, 0, 100), Context(4, 10));
    EXPECT_EQ(reverse.outputRangeMin + "/" + reverse.outputRangeMax + (reverse.outputDirect ? " direct" : ""), "20/4");
    // Burn-out is hidden for voltage ranges above 700 mV or wider than 800 mV.
    for (const auto& [code, bottom, top, hidden] : {std::tuple{36, 0.0, 750.0, true}, {36, 0.0, 500.0, false},
                                                    {36, -200.0, 650.0, true}, {46, 0.0, 750.0, false}})
        EXPECT_EQ(Describe(ReadValuesOf(code, 0, bottom, top), Context(4, 10)).hideBurnout, hidden) << top;
}

// Trip lines: minimum trips show their low level, potentiometer levels in percent, equal range
// ends give zero hysteresis (not NaN), 30 ticks of delay with two blanks after the colon.
TEST(Describe, TripLines) {
    struct Case {
        int code;
        double bottom, top;
        std::array<double, 7> trips;
        int tripFlags;
        std::size_t fromEnd;
        const char* text;
        float workingLevel0;
    };
    const Case cases[] = {
        {21, 0, 200, {0, 160, 150, 0, 0, 0, 0}, kTrip1MinimumBit, 3, "Soglia 1: 150.0 5.0 %- Min", 160},
        {31, 0, 1, {0, 0.5, 0.45, 0.2, 0.1, 0, 0}, 0, 3, "Soglia 1: 50.0 5.0 %- Max", 50},
        {36, 5, 5, {0, 5, 5, 5, 5, 0, 0}, 0, 3, "Soglia 1: 5.0 0.0 %- Max", 5},
        {36, 0, 100, {0, 0, 0, 0, 0, 30, 0}, 0, 1, "Ritardo:  1.5 sec.", 0},
    };
    for (const Case& c : cases) {
        ReadValues v = ReadValuesOf(c.code, 0, c.bottom, c.top);
        std::copy(c.trips.begin(), c.trips.end(), v.tripValues.begin());
        v.tripFlags = static_cast<std::uint8_t>(c.tripFlags);
        const Description d = Describe(v, Context(4, 10));
        EXPECT_EQ(d.lines[d.lines.size() - c.fromEnd], c.text);
        ASSERT_TRUE(d.trips);
        EXPECT_FLOAT_EQ(d.trips->levels[0], c.workingLevel0) << c.text;
    }
}
