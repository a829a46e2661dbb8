// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "math/SensorCurves.h"
#include "math/Units.h"

using vantrel::math::SensorSignal;

namespace {

struct CheckValue {
    int code;
    double t;
    double mv68;        // IPTS-68 function, mV rounded to 0.01 µV
    double mv90;        // ITS-90 function at the same temperature, mV
    double diffMicroV;  // E68 - E90 as listed beside the check values
};

// Check values of the IPTS-68 reference functions with the ITS-90 values at the same t.
const std::vector<CheckValue> kCheckValues = {
    {1, 0, -0.00000, 0.00000, -0.0},
    {1, 100, 4.09527, 4.09623, -0.96},
    {1, 200, 8.13655, 8.13847, -1.92},
    {1, 400, 16.39545, 16.39714, -1.69},
    {1, 500, 20.64017, 20.64429, -4.11},
    {1, 600, 24.90160, 24.90547, -3.86},
    {1, 800, 33.27677, 33.27538, 1.39},
    {1, 1000, 41.26871, 41.27561, -6.89},
    {1, 1200, 48.82804, 48.83824, -10.2},
    {1, 1372, 54.87490, 54.88636, -11.47},
    {2, -210, -8.09561, -8.09538, -0.23},
    {2, -200, -7.89046, -7.89048, 0.02},
    {2, -100, -4.63210, -4.63252, 0.43},
    {2, 100, 5.26769, 5.26892, -1.22},
    {2, 300, 16.32511, 16.32721, -2.1},
    {2, 500, 27.38825, 27.39263, -4.38},
    {2, 700, 39.13022, 39.13183, -1.6},
    {2, 760, 42.92190, 42.91864, 3.26},
    {2, 900, 51.87461, 51.87728, -2.68},
    {2, 1000, 57.94209, 57.95341, -11.32},
    {2, 1200, 69.53601, 69.55318, -17.17},
    {3, -50, -0.23569, -0.23556, -0.13},
    {3, 100, 0.64534, 0.64591, -0.58},
    {3, 300, 2.32268, 2.32304, -0.36},
    {3, 500, 4.23359, 4.23329, 0.3},
    {3, 630.74, 5.55210, 5.55393, -1.83},
    {3, 800, 7.34485, 7.34498, -0.13},
    {3, 1000, 9.58470, 9.58710, -2.4},
    {3, 1064.43, 10.33430, 10.33714, -2.84},
    {3, 1200, 11.94705, 11.95055, -3.5},
    {3, 1400, 14.36795, 14.37260, -4.64},
    {3, 1600, 16.77118, 16.77684, -5.66},
    {3, 1665, 17.53583, 17.54180, -5.97},
    {3, 1700, 17.94168, 17.94730, -5.62},
    {4, -50, -0.22644, -0.22647, 0.03},
    {4, 100, 0.64723, 0.64740, -0.17},
    {4, 300, 2.40005, 2.40055, -0.5},
    {4, 500, 4.47055, 4.47126, -0.71},
    {4, 630.74, 5.93308, 5.93478, -1.7},
    {4, 800, 7.94882, 7.94984, -1.02},
    {4, 1000, 10.50316, 10.50596, -2.8},
    {4, 1064.43, 11.36385, 11.36712, -3.27},
    {4, 1200, 13.22387, 13.22797, -4.1},
    {4, 1400, 16.03471, 16.04010, -5.39},
    {4, 1600, 18.84236, 18.84894, -6.58},
    {4, 1665, 19.73867, 19.74568, -7.01},
    {4, 1700, 20.21511, 20.22170, -6.59},
    {5, 100, 0.03318, 0.03320, -0.02},
    {5, 200, 0.17818, 0.17826, -0.08},
    {5, 400, 0.78635, 0.78653, -0.19},
    {5, 600, 1.79121, 1.79187, -0.66},
    {5, 800, 3.15403, 3.15361, 0.42},
    {5, 1000, 4.83264, 4.83434, -1.7},
    {5, 1200, 6.78331, 6.78643, -3.12},
    {5, 1400, 8.95191, 8.95622, -4.31},
    {5, 1600, 11.25738, 11.26300, -5.62},
    {5, 1820, 13.81350, 13.82028, -6.78},
    {6, -270, -9.83503, -9.83495, -0.08},
    {6, -200, -8.82450, -8.82458, 0.09},
    {6, -100, -5.23665, -5.23718, 0.54},
    {6, -50, -2.78681, -2.78721, 0.41},
    {6, 100, 6.31706, 6.31893, -1.87},
    {6, 200, 13.41864, 13.42130, -2.65},
    {6, 400, 28.94272, 28.94596, -3.24},
    {6, 600, 45.08469, 45.09336, -8.66},
    {6, 800, 61.02227, 61.01737, 4.9},
    {6, 1000, 76.35752, 76.37283, -15.31},
    {7, -270, -6.25758, -6.25751, -0.08},
    {7, -200, -5.60292, -5.60296, 0.04},
    {7, -100, -3.37824, -3.37858, 0.34},
    {7, -50, -1.81874, -1.81904, 0.3},
    {7, 100, 4.27734, 4.27852, -1.18},
    {7, 200, 9.28607, 9.28810, -2.03},
    {7, 300, 14.85981, 14.86193, -2.12},
    {7, 400, 20.86920, 20.87197, -2.77},
    {8, -270, -4.34518, -4.34514, -0.04},
    {8, -200, -3.99036, -3.99038, 0.02},
    {8, -100, -2.40656, -2.40681, 0.25},
    {8, -50, -1.26839, -1.26860, 0.21},
    {8, 100, 2.77357, 2.77412, -0.56},
    {8, 200, 5.91193, 5.91342, -1.49},
    {8, 400, 12.97216, 12.97369, -1.52},
    {8, 600, 20.60935, 20.61311, -3.76},
    {8, 800, 28.45616, 28.45452, 1.64},
    {8, 1000, 36.24813, 36.25554, -7.4},
    {8, 1200, 43.83612, 43.84636, -10.24},
    {8, 1300, 47.50183, 47.51277, -10.94},
};

constexpr double kOneMicrovolt = 0.001;  // mV

double Signal(double t, int code, int multiplier = 1) {
    const auto value = SensorSignal(t, code, multiplier);
    EXPECT_TRUE(value.has_value()) << "code " << code << " at " << t;
    return value.value_or(NAN);
}

}  // namespace

TEST(SensorSignal, Thermocouples_MatchReferenceCheckValuesToOneMicrovolt) {
    for (const auto& c : kCheckValues) {
        const double e = Signal(c.t, c.code);
        // The listed values are rounded to 0.01 µV, well inside the 1 µV requirement.
        EXPECT_NEAR(e, c.mv68, 0.01 * kOneMicrovolt) << "code " << c.code << " at " << c.t;
        EXPECT_NEAR(e, c.mv68, kOneMicrovolt);
    }
}

TEST(SensorSignal, Thermocouples_DifferFromIts90ByTheListedScaleDifference) {
    for (const auto& c : kCheckValues) {
        const double diffMicroV = (Signal(c.t, c.code) - c.mv90) * 1000;
        // Both columns are rounded to 0.01 µV; allow for the two roundings.
        EXPECT_NEAR(diffMicroV, c.diffMicroV, 0.02) << "code " << c.code << " at " << c.t;
    }
}

TEST(SensorSignal, TypeKBelowZero_UsesTheThreeCubicFitsWithUpperFitOwningTheEdges) {
    EXPECT_NEAR(Signal(-270, 1), -6.458, 0.0005);
    const double at235 = -0.028112677487 + 0.039007117223 * -235 + 2.648648013e-5 * 235 * 235 +
                         1.09884640361e-7 * 235 * 235 * 235;
    EXPECT_DOUBLE_EQ(Signal(-235, 1), at235);
    const double at130 = 0.039520291772 * -130 + 2.94442441728e-5 * 130 * 130 + 1.0470202845e-7 * 130 * 130 * 130;
    EXPECT_DOUBLE_EQ(Signal(-130, 1), at130);
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
    EXPECT_FALSE(SensorSignal(1767.6, 3, 1).has_value());
    EXPECT_FALSE(SensorSignal(1767.6, 4, 1).has_value());
    EXPECT_TRUE(SensorSignal(1767.59, 4, 1).has_value());
    // E, T and N: 0 °C belongs to the lower band (both give 0 there); the tops are inclusive.
    for (int code : {6, 7, 8}) EXPECT_EQ(Signal(0, code), 0.0);
    EXPECT_TRUE(SensorSignal(1000, 6, 1).has_value());
    EXPECT_FALSE(SensorSignal(1000.01, 6, 1).has_value());
    EXPECT_TRUE(SensorSignal(400, 7, 1).has_value());
    EXPECT_FALSE(SensorSignal(400.01, 7, 1).has_value());
    EXPECT_TRUE(SensorSignal(1300, 8, 1).has_value());
    EXPECT_FALSE(SensorSignal(1300.01, 8, 1).has_value());
    // N's two functions have different slopes at 0 °C: just above zero is the upper one.
    EXPECT_NEAR(Signal(0.001, 8) * 1000, 25.897798582 * 0.001, 1e-7);
    EXPECT_NEAR(Signal(-0.001, 8) * 1000, -26.153540164 * 0.001, 1e-7);
    // J and B have no band test at all.
    EXPECT_TRUE(SensorSignal(-500, 2, 1).has_value());
    EXPECT_TRUE(SensorSignal(3000, 5, 1).has_value());
}

TEST(SensorSignal, ResistanceThermometers_FollowTheirCoefficients) {
    EXPECT_DOUBLE_EQ(Signal(0, 21), 100.0);
    EXPECT_NEAR(Signal(100, 22, 10), 1385.0, 1e-9);
    EXPECT_NEAR(Signal(-200, 21), 18.4932, 0.00005);
    EXPECT_NEAR(Signal(-100, 21), 60.2541, 0.00005);
    EXPECT_NEAR(Signal(400, 21), 247.0376, 0.00005);
    EXPECT_NEAR(Signal(850, 56), 390.2622, 0.00005);
    // The C term only below 0 °C: 100 °C is exactly quadratic.
    EXPECT_DOUBLE_EQ(Signal(100, 21), 100 * (1 + 3.90802e-3 * 100 - 5.802e-7 * 100 * 100));
    EXPECT_DOUBLE_EQ(Signal(0, 23), 100.0);
    EXPECT_DOUBLE_EQ(Signal(0, 24, 10), 1000.0);
    EXPECT_NEAR(Signal(100, 23), 100 + 54.85 + 6.65 + 0.2805, 1e-9);
    EXPECT_TRUE(SensorSignal(-1000, 23, 1).has_value());  // no band test for nickel
}

TEST(SensorSignal, LinearCodesReturnTheArgument_UnknownCodesAreEmpty) {
    for (int code : {31, 32, 33, 36, 46, 51}) EXPECT_EQ(Signal(-12.5, code), -12.5);
    for (int code : {0, 9, 20, 25, 34, 57}) EXPECT_FALSE(SensorSignal(10, code, 1).has_value());
    EXPECT_EQ(vantrel::math::SensorSignalOrZero(2000, 7, 1), 0.0);
}

TEST(Units, FahrenheitAndCelsius_ConvertInSinglePrecision) {
    EXPECT_EQ(vantrel::math::FahrenheitToCelsius(212.0f), 100.0f);
    EXPECT_EQ(vantrel::math::CelsiusToFahrenheit(-40.0f), -40.0f);
}
