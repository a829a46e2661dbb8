// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/CustomTable.h"

#include "device/Families.h"
#include "resources/NumberFormat.h"

namespace vantrel::device {

void StoreAddedPoint(std::array<float, kWorkingPoints>& physical, std::array<float, kWorkingPoints>& input, int k) {
    using resources::ToSingle;
    const auto at = [](const std::array<float, kWorkingPoints>& t, int i) {
        return static_cast<double>(t[static_cast<std::size_t>(i)]);
    };
    physical[static_cast<std::size_t>(k)] = ToSingle(at(physical, k - 1) + (at(physical, k - 1) - at(physical, 0)) / 40);
    input[static_cast<std::size_t>(k)] = ToSingle(at(input, k - 1) + (at(input, k - 1) - at(input, 0)) / 40);
}

bool CompleteLoadedCurve(WorkingState& working, int pointCount, int cjcPointCount) {
    const int most = MaxSensorPoints(working.identity);
    if (pointCount < kMinPoints || pointCount > most || cjcPointCount < kMinPoints || cjcPointCount > kMaxCjcPoints)
        return false;
    working.SensorPoints = pointCount;
    working.PointExtra = pointCount % 2 == 0;
    if (working.PointExtra) {
        working.SensorPoints = pointCount + 1;
        StoreAddedPoint(working.PtPhysical, working.PtInput, pointCount);
    }
    working.SegmentCount = working.SensorPoints - 1;
    working.CjcPoints = cjcPointCount;
    working.CjcSegmentCount = cjcPointCount - 1;
    return true;
}

}  // namespace vantrel::device
