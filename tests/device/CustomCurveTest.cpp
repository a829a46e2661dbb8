// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "device/CustomCurve.h"
#include "device/ProgramPlan.h"
#include "device/CustomTable.h"
#include "PlanFixtures.h"

using namespace vantrel;
using namespace vantrel::device;

namespace {

// A factory block as cells 233..247, little-endian words: RTD high 2400 x 16, aux 2 1680 x 10,
// aux 1 3572 x 10, zero 400 x 16, span 3600 x 16, RTD low 2188 x 16, 25.8 °C, CJC 2947 x 16.
constexpr std::array<std::uint8_t, cell::FactoryCalibrationSize> kFactoryBlock = {
    0x00, 0x96, 0xA0, 0x41, 0x88, 0x8B, 0x00, 0x19, 0x00, 0xE1, 0xC0, 0x88, 158, 0x30, 0xB8};

struct Programmed {
    MemoryImage cells;
    OutputCalibration calibration;
};

// Programs a custom curve with the plan and lays its writes over the factory block. The
// input range control holds the curve's first and last physical values, as the points
// editor leaves it.
Programmed Program(WorkingState w, int inputCode, int options, float rangeMin, float rangeMax) {
    MemoryImage cells{};
    std::copy(kFactoryBlock.begin(), kFactoryBlock.end(), cells.begin() + 233);
    ProgramDeviceData data = test::SampleDevice();
    data.Factory = DecodeFactoryCalibration(kFactoryBlock);
    const math::ConverterCalibration& c = *data.Converter;
    PlanRequest form = test::Form(inputCode, rangeMin, rangeMax, options);
    form.LinearVisible = false;
    const ProgramPlan plan = MakeProgramPlan(form, w, data, [] { return true; });
    EXPECT_EQ(plan.status, PlanStatus::Done);
    for (const WriteEntry& e : plan.writes) cells[e.address] = e.value;
    OutputCalibration calibration;
    calibration.CalWord250 = static_cast<float>(c.InCalSpan);
    calibration.CalWord254 = static_cast<float>(c.InCalZero);
    return {cells, calibration};
}

WorkingState CustomWorking(const std::vector<Point>& sensor, const std::vector<Point>& cjc) {
    WorkingState w;
    w.identity = {4, 10, 1, 0};
    w.CustomActive = true;
    for (std::size_t i = 0; i < sensor.size(); ++i) {
        w.PtPhysical[i] = static_cast<float>(sensor[i].physical);
        w.PtInput[i] = static_cast<float>(sensor[i].input);
    }
    for (std::size_t i = 0; i < cjc.size(); ++i) {
        w.CjcPhysical[i] = static_cast<float>(cjc[i].physical);
        w.CjcInput[i] = static_cast<float>(cjc[i].input);
    }
    EXPECT_TRUE(device::CompleteLoadedCurve(w, static_cast<int>(sensor.size()), cjc.empty() ? 2 : static_cast<int>(cjc.size())));
    return w;
}

void ExpectPointsNear(const std::vector<Point>& actual, const std::vector<Point>& expected, double physicalTolerance,
                      double inputTolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].physical, expected[i].physical, physicalTolerance) << "point " << i;
        EXPECT_NEAR(actual[i].input, expected[i].input, inputTolerance) << "point " << i;
    }
}

}  // namespace

// A custom curve programmed and decoded from the memory image reads back as typed: a
// thermocouple with its cold-junction table (in °C and in °F: the range cells hold °C, the
// points do not; the added fifth point is left out), and resistance and potentiometer inputs
// computed back through their converter stages.
TEST(CustomCurve, ProgrammedCurvesReadBackAsTyped) {
    const struct {
        std::vector<Point> sensor, cjc;
        int code, options;
        double physicalTolerance, inputTolerance;
    } cases[] = {
        {{{0, 0}, {100, 4.096}, {200, 8.138}, {300, 12.209}}, {{-20, -0.777}, {25, 1.0}, {70, 2.851}}, 1,
         option::InternalCjc | option::Custom, 0.05, 0.002},
        {{{32, 0}, {212, 4.096}, {392, 8.138}, {572, 12.209}}, {{-4, -0.777}, {77, 1.0}, {158, 2.851}}, 1,
         option::InternalCjc | option::Custom | option::Fahrenheit, 0.1, 0.002},
        {{{-50, 80.31}, {0, 100}, {150, 157.33}}, {}, 51, 1 | option::Custom, 0.05, 0.01},
        {{{0, 0}, {40, 50}, {100, 100}}, {}, 31, option::Custom, 0.05, 0.01},
    };
    for (const auto& c : cases) {
        const Programmed p = Program(CustomWorking(c.sensor, c.cjc), c.code, c.options,
                                     static_cast<float>(c.sensor.front().physical),
                                     static_cast<float>(c.sensor.back().physical));
        const auto curve = DecodeCustomCurve(p.cells, p.calibration);
        ASSERT_TRUE(curve) << c.code;
        ExpectPointsNear(curve->sensor, c.sensor, c.physicalTolerance, c.inputTolerance);
        ExpectPointsNear(curve->cjc, c.cjc, c.physicalTolerance, c.inputTolerance);
    }
}

TEST(CustomCurve, TablePointersThatDescribeNoTableGiveNoCurve) {
    MemoryImage cells{};
    cells[cell::CjcSensorStart] = 255;
    EXPECT_FALSE(DecodeCustomCurve(cells, {}));
    cells[cell::CjcSensorStart] = 58;  // N = 28 but T2..T4 do not follow
    EXPECT_FALSE(DecodeCustomCurve(cells, {}));
}
