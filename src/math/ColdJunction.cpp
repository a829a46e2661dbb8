// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "math/ColdJunction.h"

#include <array>

#include "math/InputCodes.h"
#include "math/SensorCurves.h"

namespace vantrel::math {

namespace {

constexpr std::array<double, 8> kTypeBEmf = {0.00025, 0.0005, 0.001, 0.002, 0.003, 0.0039, 0.00495, 0.01126};

}  // namespace

CjcTables StandardCjcTables(int inputCode, int cjcSegmentCount, const ConverterCalibration& calibration,
                            const ConverterConstants& constants, const InputScale& scale) {
    CjcTables tables;
    const int m = cjcSegmentCount;
    for (int j = 1; j <= m + 1; ++j) {
        const double t = kCjcTempLow + (j - 1) * (kCjcTempHigh - kCjcTempLow) / m;
        const double emf = inputCode == input::ThermocoupleB
                               ? (j <= static_cast<int>(kTypeBEmf.size()) ? kTypeBEmf[static_cast<std::size_t>(j - 1)] : 0.0)
                               : SensorSignalOrZero(t, inputCode, 1);
        tables.temps.push_back(t);
        tables.sensorVolts.push_back(CjcSensorVolts(t, calibration, constants));
        tables.emfVolts.push_back(CjcEmfVolts(emf, scale));
    }
    return tables;
}

CjcTables CustomCjcTables(std::span<const double> celsius, std::span<const double> emfMv,
                          const ConverterCalibration& calibration, const ConverterConstants& constants,
                          const InputScale& scale) {
    CjcTables tables;
    for (std::size_t j = 0; j < celsius.size() && j < emfMv.size(); ++j) {
        tables.temps.push_back(celsius[j]);
        tables.sensorVolts.push_back(CjcSensorVolts(celsius[j], calibration, constants));
        tables.emfVolts.push_back(CjcEmfVolts(emfMv[j], scale));
    }
    return tables;
}

}  // namespace vantrel::math
