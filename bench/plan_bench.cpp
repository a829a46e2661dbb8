// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the time taken to compute a programming plan; no assertion on it.
#include <chrono>
#include <cstdio>

#include "PlanFixtures.h"
#include "device/ProgramPlan.h"

using namespace vantrel::device;

namespace {

double MeanMicroseconds(const PlanRequest& form, const WorkingState& working, const ProgramDeviceData& device,
                        int runs) {
    const NoiseQuestion yes = [] { return true; };
    std::size_t sink = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) sink += MakeProgramPlan(form, working, device, yes).writes.size();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (sink == 0) std::puts("no writes");
    return std::chrono::duration<double, std::micro>(elapsed).count() / runs;
}

}  // namespace

int main() {
    constexpr int kRuns = 10000;
    WorkingState working;
    working.identity = {4, 9, 5, 1};
    ProgramDeviceData device;
    device.Converter = vantrel::math::ConverterCalibration{};
    device.Factory = vantrel::test::SampleFactory();

    PlanRequest k;
    k.InputCode = 1;
    k.OptionWord = 1;  // internal cold-junction compensation
    k.RangeMin = 0;
    k.RangeMax = 1000;
    k.OutMin = 4;
    k.OutMax = 20;
    k.LinearVisible = true;
    std::printf("K 0..1000 °C, internal CJC: %.2f µs per plan (mean of %d)\n",
                MeanMicroseconds(k, working, device, kRuns), kRuns);

    PlanRequest pt = k;
    pt.InputCode = 21;
    pt.OptionWord = 1;  // three wires
    pt.RangeMax = 400;
    std::printf("Pt100 0..400 °C:            %.2f µs per plan (mean of %d)\n",
                MeanMicroseconds(pt, working, device, kRuns), kRuns);
    return 0;
}
