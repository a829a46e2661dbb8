// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <vector>

#include "math/Converter.h"

// Cold-junction tables of a thermocouple with internal compensation: at M + 1 ambient
// temperatures, the converter voltage of the compensation sensor and the thermocouple emf
// as seen at the converter. The transmitter interpolates the emf to add from its sensor.
namespace vantrel::math {

inline constexpr double kCjcTempLow = -20;
inline constexpr double kCjcTempHigh = 70;

struct CjcTables {
    std::vector<double> temps;       // °C
    std::vector<double> sensorVolts; // CjcSensorTable
    std::vector<double> emfVolts;    // CjcEmfTable
};

// Standard tables: M + 1 temperatures evenly from -20 to 70 °C. Type B uses fixed emf
// values (its curve is nearly flat and slightly negative near ambient).
CjcTables StandardCjcTables(int inputCode, int cjcSegmentCount, const ConverterCalibration& calibration,
                            const ConverterConstants& constants, const InputScale& scale);

// Custom tables: the temperatures (°C) and emf values (mV) of the custom cold-junction grid.
CjcTables CustomCjcTables(std::span<const double> celsius, std::span<const double> emfMv,
                          const ConverterCalibration& calibration, const ConverterConstants& constants,
                          const InputScale& scale);

}  // namespace vantrel::math
