// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "math/SensorCurves.h"

using vantrel::math::SensorSignal;

namespace {

// Check values of the IPTS-68 reference functions (mV, rounded to 0.01 µV), per input code:
// the values the thermocouple reference data lists beside its coefficients.
struct CheckValues {
    int code;
    std::vector<std::pair<double, double>> celsiusAndMillivolts;
};
const std::vector<CheckValues> kCheckValues = {
    {1, {{0, -0.00000}, {100, 4.09527}, {200, 8.13655}, {400, 16.39545}, {500, 20.64017}, {600, 24.90160},
         {800, 33.27677}, {1000, 41.26871}, {1200, 48.82804}, {1372, 54.87490}}},  // K
    {2, {{-210, -8.09561}, {-200, -7.89046}, {-100, -4.63210}, {100, 5.26769}, {300, 16.32511},
         {500, 27.38825}, {700, 39.13022}, {760, 42.92190}, {900, 51.87461}, {1000, 57.94209}, {1200, 69.53601}}},  // J
    {3, {{-50, -0.23569}, {100, 0.64534}, {300, 2.32268}, {500, 4.23359}, {630.74, 5.55210}, {800, 7.34485},
         {1000, 9.58470}, {1064.43, 10.33430}, {1200, 11.94705}, {1400, 14.36795}, {1600, 16.77118},
         {1665, 17.53583}, {1700, 17.94168}}},  // S
    {4, {{-50, -0.22644}, {100, 0.64723}, {300, 2.40005}, {500, 4.47055}, {630.74, 5.93308}, {800, 7.94882},
         {1000, 10.50316}, {1064.43, 11.36385}, {1200, 13.22387}, {1400, 16.03471}, {1600, 18.84236},
         {1665, 19.73867}, {1700, 20.21511}}},  // R
    {5, {{100, 0.03318}, {200, 0.17818}, {400, 0.78635}, {600, 1.79121}, {800, 3.15403}, {1000, 4.83264},
         {1200, 6.78331}, {1400, 8.95191}, {1600, 11.25738}, {1820, 13.81350}}},  // B
    {6, {{-270, -9.83503}, {-200, -8.82450}, {-100, -5.23665}, {-50, -2.78681}, {100, 6.31706},
         {200, 13.41864}, {400, 28.94272}, {600, 45.08469}, {800, 61.02227}, {1000, 76.35752}}},  // E
    {7, {{-270, -6.25758}, {-200, -5.60292}, {-100, -3.37824}, {-50, -1.81874}, {100, 4.27734}, {200, 9.28607},
         {300, 14.85981}, {400, 20.86920}}},  // T
    {8, {{-270, -4.34518}, {-200, -3.99036}, {-100, -2.40656}, {-50, -1.26839}, {100, 2.77357}, {200, 5.91193},
         {400, 12.97216}, {600, 20.60935}, {800, 28.45616}, {1000, 36.24813}, {1200, 43.83612}, {1300, 47.50183}}},  // N
};

constexpr double kOneMicrovolt = 0.001;  // mV

double Signal(double t, int code, int multiplier = 1) {
    const auto value = SensorSignal(t, code, multiplier);
    EXPECT_TRUE(value.has_value()) << "code " << code << " at " << t;
    return value.value_or(NAN);
}

}  // namespace

TEST(SensorSignal, Thermocouples_MatchReferenceCheckValuesToOneMicrovolt) {
    for (const auto& [code, values] : kCheckValues)
        for (const auto& [t, mv] : values) {
            // The listed values are rounded to 0.01 µV, well inside the 1 µV requirement.
            EXPECT_NEAR(Signal(t, code), mv, 0.01 * kOneMicrovolt) << "code " << code << " at " << t;
        }
}

// Below 0 °C type K follows the transmitter's own three cubic fits; they stay within 1.5 µV of
// the published type K table (NIST ITS-90 reference table, values to 1 µV).
TEST(SensorSignal, TypeKBelowZero_FitsFollowThePublishedTable) {
    for (const auto& [t, mv] : {std::pair{-50.0, -1.889}, {-100.0, -3.554}, {-150.0, -4.913}, {-200.0, -5.891},
                                {-250.0, -6.404}, {-270.0, -6.458}})
        EXPECT_NEAR(Signal(t, 1), mv, 1.5 * kOneMicrovolt) << t;
    EXPECT_FALSE(SensorSignal(-270.01, 1, 1).has_value());
    // 0 °C takes the standard function: its constant term cancels the exponential term.
    EXPECT_NEAR(Signal(0, 1), 0.0, 1e-9);
    EXPECT_NEAR(Signal(-1e-9, 1), 0.0, 1e-9);
}

TEST(SensorSignal, BandEdges_BelongToTheSideTheCurveDefinitionNames) {
    // J at 760 °C: the upper polynomial, 0.057 µV below the lower one.
    EXPECT_NEAR(Signal(760, 2) * 1000, 42921.900028, 1e-5);
    EXPECT_NEAR(Signal(759.9999999, 2) * 1000, 42921.957016, 1e-2);
    // S and R at their band edges: the upper band (the R bands meet to 1e-6 µV, so test
    // through S at 1665 °C where the step is 1e-5 µV, and through R's first edge value).
    EXPECT_NEAR(Signal(1665, 3) * 1000, 17535.828675, 2e-6);
    EXPECT_NEAR(Signal(630.74, 3) * 1000, 5552.1, 1e-6);
    EXPECT_NEAR(Signal(1064.43, 3) * 1000, 10334.3, 1e-6);
    EXPECT_FALSE(SensorSignal(1767.6, 3, 1) || SensorSignal(1767.6, 4, 1));
    EXPECT_TRUE(SensorSignal(1767.59, 4, 1).has_value());
    // E, T and N: 0 °C belongs to the lower band (both give 0 there); the tops are inclusive.
    for (int code : {6, 7, 8}) EXPECT_EQ(Signal(0, code), 0.0);
    for (const auto& [code, top] : {std::pair{6, 1000.0}, {7, 400.0}, {8, 1300.0}})
        EXPECT_TRUE(SensorSignal(top, code, 1) && !SensorSignal(top + 0.01, code, 1)) << code;
    // N's two functions have different slopes at 0 °C: just above zero is the upper one.
    EXPECT_NEAR(Signal(0.001, 8) * 1000, 25.897798582 * 0.001, 1e-7);
    EXPECT_NEAR(Signal(-0.001, 8) * 1000, -26.153540164 * 0.001, 1e-7);
    // J and B have no band test at all.
    EXPECT_TRUE(SensorSignal(-500, 2, 1) && SensorSignal(3000, 5, 1));
}

// Platinum (codes 21, 22, 56; the multiplier makes a Pt1000) and nickel (23, 24) against their
// table values in ohm; nickel has no band test.
TEST(SensorSignal, ResistanceThermometers_FollowTheirTables) {
    for (const auto& [t, code, multiplier, ohms] :
         {std::tuple{0.0, 21, 1, 100.0}, {100.0, 21, 1, 138.5}, {-200.0, 21, 1, 18.4932}, {-100.0, 21, 1, 60.2541},
          {400.0, 21, 1, 247.0376}, {850.0, 56, 1, 390.2622}, {100.0, 22, 10, 1385.0}, {0.0, 23, 1, 100.0},
          {100.0, 23, 1, 161.7805}, {0.0, 24, 10, 1000.0}})
        EXPECT_NEAR(Signal(t, code, multiplier), ohms, 0.00005) << code << " at " << t;
    EXPECT_TRUE(SensorSignal(-1000, 23, 1).has_value());
}

TEST(SensorSignal, LinearCodesReturnTheArgument_UnknownCodesAreEmpty) {
    for (int code : {31, 32, 33, 36, 46, 51}) EXPECT_EQ(Signal(-12.5, code), -12.5);
    for (int code : {0, 9, 20, 25, 34, 57}) EXPECT_FALSE(SensorSignal(10, code, 1).has_value());
    EXPECT_EQ(vantrel::math::SensorSignalOrZero(2000, 7, 1), 0.0);
}

