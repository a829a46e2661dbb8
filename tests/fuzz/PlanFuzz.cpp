// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The programming plan on arbitrary requests: any input code, range, output, trims, trips,
// custom points and identity, including NaN, infinities and absurd magnitudes. Never a crash
// or an undefined operation; a plan is either refused with nothing to send, or every write
// goes to its own cell with the tables inside the memory. The encoders below the plan are
// fed the same numbers directly: they refuse, never wrap.
#include <fuzzer/FuzzedDataProvider.h>

#include <bitset>
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "device/Families.h"
#include "device/MemoryMap.h"
#include "device/ProgramPlan.h"
#include "math/Breakpoints.h"

using namespace vantrel;

namespace {

float AnyFloat(FuzzedDataProvider& in) {
    // Half of the time a plausible value, half of the time any bit pattern (NaN, infinities).
    if (in.ConsumeBool()) return in.ConsumeFloatingPointInRange<float>(-20000.0f, 20000.0f);
    return in.ConsumeFloatingPoint<float>();
}

device::PlanRequest AnyRequest(FuzzedDataProvider& in) {
    static constexpr int kCodes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 20, 21, 22, 23, 24, 31, 32, 33, 36, 46, 51, 56, 0};
    device::PlanRequest f;
    f.InputCode = in.ConsumeBool() ? in.PickValueInArray(kCodes) : in.ConsumeIntegral<int>();
    f.OptionWord = in.ConsumeIntegralInRange(0, 255);
    f.RangeMin = AnyFloat(in);
    f.RangeMax = AnyFloat(in);
    f.OutMin = AnyFloat(in);
    f.OutMax = AnyFloat(in);
    f.OutputTypeIndex = in.ConsumeIntegralInRange(-1, 2);
    f.OutputSelect = in.ConsumeIntegralInRange(0, 3);
    f.LinearVisible = in.ConsumeBool();
    f.LinearTicked = in.ConsumeBool();
    f.FilterTicked = in.ConsumeBool();
    f.BurnoutDown = in.ConsumeBool();
    f.OutputDirect = in.ConsumeBool();
    f.AdjMax = static_cast<double>(AnyFloat(in));
    f.AdjMin = static_cast<double>(AnyFloat(in));
    f.ZeroSlider = in.ConsumeIntegralInRange(-60, 60);
    f.SpanSlider = in.ConsumeIntegralInRange(-60, 60);
    return f;
}

device::WorkingState AnyWorking(FuzzedDataProvider& in) {
    device::WorkingState w;
    w.identity = {in.ConsumeIntegralInRange(0, 5), in.ConsumeBool() ? 10 : 9, in.ConsumeIntegralInRange(0, 6), 0};
    w.CustomActive = in.ConsumeBool();
    w.SensorPoints = in.ConsumeIntegralInRange(-2, 31);
    w.PointExtra = in.ConsumeBool();
    w.CjcPoints = in.ConsumeIntegralInRange(-2, 8);
    w.SegmentCount = in.ConsumeIntegralInRange(-2, 31);
    w.CjcSegmentCount = in.ConsumeIntegralInRange(-2, 8);
    for (std::size_t i = 0; i < w.PtPhysical.size(); ++i) w.PtPhysical[i] = AnyFloat(in), w.PtInput[i] = AnyFloat(in);
    for (std::size_t i = 0; i < w.CjcPhysical.size(); ++i) w.CjcPhysical[i] = AnyFloat(in), w.CjcInput[i] = AnyFloat(in);
    for (float& level : w.TripLevels) level = AnyFloat(in);
    w.TripDelayTicks = AnyFloat(in);
    w.TripFlags = in.ConsumeIntegral<std::uint8_t>();
    return w;
}

device::ProgramDeviceData AnyDevice(FuzzedDataProvider& in) {
    device::ProgramDeviceData d;
    d.Cell7 = in.ConsumeIntegral<std::uint8_t>();
    if (in.ConsumeBool()) {
        math::ConverterCalibration c;
        c.OutCalCode1 = static_cast<double>(AnyFloat(in));
        c.OutCalCode2 = static_cast<double>(AnyFloat(in));
        c.OutCalPoint1 = static_cast<double>(AnyFloat(in));
        c.OutCalPoint2 = static_cast<double>(AnyFloat(in));
        c.InCalSpan = static_cast<double>(AnyFloat(in));
        c.InCalZero = static_cast<double>(AnyFloat(in));
        d.Converter = c;
    }
    if (in.ConsumeBool()) {
        std::array<std::uint8_t, device::cell::FactoryCalibrationSize> cells{};
        for (std::uint8_t& cell : cells) cell = in.ConsumeIntegral<std::uint8_t>();
        d.Factory = device::DecodeFactoryCalibration(cells);
    }
    return d;
}

void CheckPlan(const device::ProgramPlan& plan) {
    if (plan.status != device::PlanStatus::Done) {
        Require(plan.sent.empty(), "a refused plan sends nothing");
        return;
    }
    std::bitset<device::kMemorySize> seen;
    for (const device::WriteEntry& w : plan.writes) {
        Require(!seen.test(w.address), "every cell is written once");
        seen.set(w.address);
    }
    Require(plan.SegmentCount >= 1 && plan.SegmentCount <= 28, "the table holds 1..28 segments");
    Require(plan.Layout.T4 + 3 * plan.CjcSegmentCount + 2 < device::kMemorySize, "the tables end inside the memory");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const device::PlanRequest request = AnyRequest(in);
    const device::WorkingState working = AnyWorking(in);
    const device::ProgramDeviceData device = AnyDevice(in);
    const bool answer = in.ConsumeBool();
    CheckPlan(device::MakeProgramPlan(request, working, device, [answer] { return answer; }));

    // The layers below, called directly with the same numbers.
    (void)device::RangeEncode(static_cast<double>(request.RangeMax), static_cast<double>(request.RangeMin));
    (void)device::TableLayout(working.SegmentCount, working.CjcSegmentCount);
    (void)device::Float24Encode(static_cast<double>(request.OutMax));
    const math::Breakpoints b = math::PlaceBreakpoints(
        {request.InputCode, request.RangeMin, request.RangeMax, request.LinearVisible, request.LinearTicked,
         device::MaxSegments(working.identity)});
    Require(b.segments == 0 || b.temps.size() == static_cast<std::size_t>(b.segments) + 1,
            "a placement has one point more than its segments");
    Require(b.segments >= 0 && b.segments <= device::MaxSegments(working.identity),
            "a placement is held to the table, never a wrapped count");
    const math::Breakpoints custom =
        math::CustomBreakpoints(working.PtPhysical, working.SegmentCount, working.PointExtra);
    Require(custom.segments >= 0 && static_cast<std::size_t>(custom.segments) < working.PtPhysical.size(),
            "a custom segment count the point table cannot hold gives no segments");
    return 0;
}
