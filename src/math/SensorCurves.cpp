// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "math/SensorCurves.h"

#include <array>
#include <cmath>
#include <span>

namespace vantrel::math {

namespace {

// IPTS-68 thermocouple reference functions, E(t) = sum c_i t^i in microvolts, t in °C.
// Coefficients of NBS Monograph 125 (1974) for types B, E, J, K, R, S, T and of
// NBS Monograph 161 (1978) for type N (below 0 °C the 28 AWG function, above 0 °C the
// 14 AWG / 1.6 mm function), 11 significant digits as printed there.
constexpr std::array kTypeK = {-1.8533063273E+01, 3.8918344612E+01,  1.6645154356E-02,
                               -7.8702374448E-05, 2.2835785557E-07,  -3.5700231258E-10,
                               2.9932909136E-13,  -1.2849848798E-16, 2.2239974336E-20};

constexpr std::array kTypeJLow = {0.0,               5.0372753027E+01,  3.0425491284E-02,
                                  -8.5669750464E-05, 1.3348825735E-07,  -1.7022405966E-10,
                                  1.9416091001E-13,  -9.6391844859E-17};
constexpr std::array kTypeJHigh = {2.9721751778E+05,  -1.5059632873E+03, 3.2051064215E+00,
                                   -3.2210174230E-03, 1.5949968788E-06,  -3.1239801752E-10};

constexpr std::array kTypeS1 = {0.0,              5.3995782346E+00,  1.2519770000E-02, -2.2448217997E-05,
                                2.8452164949E-08, -2.2440584544E-11, 8.5054166936E-15};
constexpr std::array kTypeS2 = {-2.9824481615E+02, 8.2375528221E+00, 1.6453909942E-03};
constexpr std::array kTypeS3 = {1.2766292175E+03, 3.4970908041E+00, 6.3824648666E-03, -1.5722424599E-06};
constexpr std::array kTypeS4 = {9.7846655361E+04, -1.7050295632E+02, 1.1088699768E-01, -2.2494070849E-05};

constexpr std::array kTypeR1 = {0.0,               5.2891395059E+00, 1.3911109947E-02,
                                -2.4005238430E-05, 3.6201410595E-08, -4.4645019036E-11,
                                3.8497691865E-14,  -1.5372641559E-17};
constexpr std::array kTypeR2 = {-2.6418007025E+02, 8.0468680747E+00, 2.9892293723E-03, -2.6876058617E-07};
constexpr std::array kTypeR3 = {1.4901702702E+03, 2.8639867552E+00, 8.0823631189E-03, -1.9338477638E-06};
constexpr std::array kTypeR4 = {9.5445559910E+04, -1.6642500359E+02, 1.0975743239E-01, -2.2289216980E-05};

constexpr std::array kTypeB = {0.0,               -2.4674601620E-01, 5.9102111169E-03,
                               -1.4307123430E-06, 2.1509149750E-09,  -3.1757800720E-12,
                               2.4010367459E-15,  -9.0928148159E-19, 1.3299505137E-22};

constexpr std::array kTypeELow = {0.0,               5.8695857799E+01,  5.1667517705E-02,  -4.4652683347E-04,
                                  -1.7346270905E-05, -4.8719368427E-07, -8.8896550447E-09, -1.0930767375E-10,
                                  -9.1784535039E-13, -5.2575158521E-15, -2.0169601996E-17, -4.9502138782E-20,
                                  -7.0177980633E-23, -4.3671808488E-26};
constexpr std::array kTypeEHigh = {0.0,              5.8695857799E+01,  4.3110945462E-02,
                                   5.7220358202E-05, -5.4020668085E-07, 1.5425922111E-09,
                                   -2.4850089136E-12, 2.3389721459E-15, -1.1946296815E-18,
                                   2.5561127497E-22};

constexpr std::array kTypeTLow = {0.0,              3.8740773840E+01, 4.4123932482E-02, 1.1405238498E-04,
                                  1.9974406568E-05, 9.0445401187E-07, 2.2766018504E-08, 3.6247409380E-10,
                                  3.8648924201E-12, 2.8298678519E-14, 1.4281383349E-16, 4.8833254364E-19,
                                  1.0803474683E-21, 1.3949291026E-24, 7.9795893156E-28};
constexpr std::array kTypeTHigh = {0.0,               3.8740773840E+01, 3.3190198092E-02,
                                   2.0714183645E-04,  -2.1945834823E-06, 1.1031900550E-08,
                                   -3.0927581898E-11, 4.5653337165E-14, -2.7616878040E-17};

constexpr std::array kTypeNLow = {0.0,               2.6153540164E+01,  1.0933114132E-02,
                                  -9.3917128470E-05, -5.3592739285E-08, -2.7406835184E-09,
                                  -2.3370710645E-11, -7.8250681060E-14, -9.5885491371E-17};
constexpr std::array kTypeNHigh = {0.0,               2.5897798582E+01, 1.6656127713E-02,  3.1234962101E-05,
                                   -1.7248130773E-07, 3.6526665920E-10, -4.4390833504E-13, 3.1553382729E-16,
                                   -1.2150879468E-19, 1.9557197559E-23};

// Sum of c_i t^i term by term, as the monographs write the functions, in mV.
double Millivolts(std::span<const double> microvoltCoefficients, double t) {
    double sum = 0;
    double power = 1;
    for (double c : microvoltCoefficients) {
        sum += c * power;
        power *= t;
    }
    return sum / 1000;
}

std::optional<double> TypeK(double t) {
    if (t >= 0) {
        const double x = (t - 127) / 65;
        return Millivolts(kTypeK, t) + 125 * std::exp(-0.5 * x * x) / 1000;
    }
    // Below 0 °C the transmitter's own cubic fits, in mV directly.
    if (t >= -130) return 0.039520291772 * t + 2.94442441728e-5 * t * t - 1.0470202845e-7 * t * t * t;
    if (t >= -235)
        return -0.028112677487 + 0.039007117223 * t + 2.648648013e-5 * t * t - 1.09884640361e-7 * t * t * t;
    if (t >= -270)
        return 7.705829717168 + 0.13190881752 * t + 3.9710351417e-4 * t * t + 3.8090206327e-7 * t * t * t;
    return std::nullopt;
}

std::optional<double> TypeJ(double t) { return t < 760 ? Millivolts(kTypeJLow, t) : Millivolts(kTypeJHigh, t); }

// Types S and R share their band edges; the edge value belongs to the upper band.
template <typename B1, typename B2, typename B3, typename B4>
std::optional<double> PlatinumRhodium(double t, const B1& b1, const B2& b2, const B3& b3, const B4& b4) {
    if (t < 630.74) return Millivolts(b1, t);
    if (t < 1064.43) return Millivolts(b2, t);
    if (t < 1665) return Millivolts(b3, t);
    if (t < 1767.6) return Millivolts(b4, t);
    return std::nullopt;
}

// Types E, T and N: 0 °C belongs to the lower band.
template <typename Low, typename High>
std::optional<double> SplitAtZero(double t, const Low& low, const High& high, double upper) {
    if (t <= 0) return Millivolts(low, t);
    if (t <= upper) return Millivolts(high, t);
    return std::nullopt;
}

// IEC 751:1983 / DIN 43760 coefficients, alpha = 0.00385.
double Platinum(double t, int multiplier) {
    constexpr double A = 3.90802e-3;
    constexpr double B = -5.802e-7;
    constexpr double C = -4.2735e-12;
    const double ratio = t < 0 ? 1 + A * t + B * t * t + C * (t - 100) * t * t * t : 1 + A * t + B * t * t;
    return 100 * ratio * multiplier;
}

double Nickel(double t, int multiplier) {
    return (100 + 0.5485 * t + 0.000665 * t * t + 2.805e-9 * t * t * t * t) * multiplier;
}

}  // namespace

std::optional<double> SensorSignal(double t, int code, int multiplier) {
    switch (code) {
    case 1: return TypeK(t);
    case 2: return TypeJ(t);
    case 3: return PlatinumRhodium(t, kTypeS1, kTypeS2, kTypeS3, kTypeS4);
    case 4: return PlatinumRhodium(t, kTypeR1, kTypeR2, kTypeR3, kTypeR4);
    case 5: return Millivolts(kTypeB, t);
    case 6: return SplitAtZero(t, kTypeELow, kTypeEHigh, 1000);
    case 7: return SplitAtZero(t, kTypeTLow, kTypeTHigh, 400);
    case 8: return SplitAtZero(t, kTypeNLow, kTypeNHigh, 1300);
    case 21:
    case 22:
    case 56: return Platinum(t, multiplier);
    case 23:
    case 24: return Nickel(t, multiplier);
    case 31:
    case 32:
    case 33:
    case 36:
    case 46:
    case 51: return t;
    default: return std::nullopt;
    }
}

double SensorSignalOrZero(double t, int code, int multiplier) { return SensorSignal(t, code, multiplier).value_or(0.0); }

}  // namespace vantrel::math
