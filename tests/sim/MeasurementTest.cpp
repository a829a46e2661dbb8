// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "device/Families.h"

#include "sim/DefaultProfile.h"
#include "sim/Transmitter.h"

namespace vantrel::sim {
namespace {

// Programs a configuration into a freshly calibrated transmitter the way programming does,
// then checks that the simulated input produces the output code the plan assigns to it.
struct Programmed {
    device::ProgramPlan plan;
    Transmitter transmitter;
};

Programmed Program(const device::PlanRequest& form) {
    Memory memory = FactoryMemory();
    device::ProgramPlan plan =
        device::MakeProgramPlan(form, DefaultWorkingState(), ReadBeforeProgramming(memory), [] { return true; });
    EXPECT_EQ(plan.status, device::PlanStatus::Done);
    ApplyPlan(plan, memory);
    return {plan, Transmitter(DeviceIdentity{}, memory)};
}

// The code the plan's output line gives at a fraction of the input range (the plan's ends
// are the first breakpoint and the one at the range maximum).
double PlannedCode(const device::ProgramPlan& plan, double fraction) {
    const auto first = static_cast<double>(plan.BreakOutput.front());
    const auto last = static_cast<double>(plan.BreakOutput[static_cast<std::size_t>(plan.SegmentCount) -
                                                           ((plan.OptionWord & device::option::ExtraEndPoint) ? 1 : 0)]);
    return first + fraction * (last - first);
}

double CodeFor(Transmitter& transmitter, SimulatedInput input) {
    transmitter.setInput(input);
    return transmitter.OutputCode().value_or(-1);
}

TEST(Measurement, TypeK_500C_GivesTwelveMilliampsWhateverTheColdJunction) {
    Programmed p = Program(DefaultProgramForm());
    const double expected = PlannedCode(p.plan, 0.5);
    // 0.5 °C is 1.3 codes on this range; 0.01 mA is 1.6 codes.
    for (double coldJunction : {0.0, 10.0, 25.0, 45.0})
        EXPECT_NEAR(CodeFor(p.transmitter, {Quantity::Temperature, 500, coldJunction}), expected, 0.5) << coldJunction;
    EXPECT_NEAR(CodeFor(p.transmitter, {Quantity::Temperature, 0, 25}), PlannedCode(p.plan, 0), 0.5);
    EXPECT_NEAR(CodeFor(p.transmitter, {Quantity::Temperature, 1000, 25}), PlannedCode(p.plan, 1), 0.5);
    // Beyond the range the end segments carry on.
    EXPECT_GT(CodeFor(p.transmitter, {Quantity::Temperature, 1050, 25}), PlannedCode(p.plan, 1));
    EXPECT_LT(CodeFor(p.transmitter, {Quantity::Temperature, -20, 25}), PlannedCode(p.plan, 0));
}

// One configuration per input family on a 4..20 mA output: the simulated input at a known
// point of the range lands on the code the plan gives that point.
struct FamilyCase {
    const char* name;
    int inputCode;
    int options;
    float min, max;
    SimulatedInput input;
    double fraction;
};

TEST(Measurement, EachInputFamilyLandsOnItsPlannedCode) {
    const FamilyCase cases[] = {
        {"Pt100 three-wire", 21, 1, -50, 250, {Quantity::Temperature, 100, 25}, 0.5},
        {"Pt100 three-wire", 21, 1, -50, 250, {Quantity::Temperature, 25, 25}, 0.25},
        {"Pt1000 on the high-range scale", 22, 0, 0, 200, {Quantity::Temperature, 100, 25}, 0.5},
        {"current through its shunt", 46, 0, 4, 20, {Quantity::Milliamps, 12, 25}, 0.5},
        {"potentiometer by wiper position", 31, 0, 0, 100, {Quantity::Fraction, 0.3, 25}, 0.3},
    };
    for (const FamilyCase& c : cases) {
        SCOPED_TRACE(c.name);
        device::PlanRequest form = DefaultProgramForm();
        form.InputCode = c.inputCode;
        form.OptionWord = c.options;
        form.RangeMin = c.min;
        form.RangeMax = c.max;
        Programmed p = Program(form);
        EXPECT_NEAR(CodeFor(p.transmitter, c.input), PlannedCode(p.plan, c.fraction), 0.5);
    }
}

TEST(Measurement, ErasedMemoryOrAnImpossibleTemperatureGivesNoCode) {
    Transmitter erased;
    EXPECT_FALSE(erased.OutputCode());
    Transmitter programmed(DeviceIdentity{}, MakeDefaultProfile().memory);
    programmed.setInput({Quantity::Temperature, -300, 25});  // below the curve
    EXPECT_FALSE(programmed.OutputCode());
}

}  // namespace
}  // namespace vantrel::sim
