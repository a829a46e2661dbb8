// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/ProgramPlan.h"
#include "sim/Profile.h"

namespace vantrel::sim {

// The transmitter that ships as profiles/default.json: family 4, model 10, firmware 1.0,
// a plausible factory and output calibration, serial number 12 / 2010 / order 91 /
// progressive 528, programmed as a type K thermocouple 0..1000 °C with internal cold-junction
// compensation, 4..20 mA direct output, trip 1 above 800 °C (2 % hysteresis), trip 2 below
// 100 °C, 1 s delay. The tables are exactly what programming writes for that configuration.
Profile MakeDefaultProfile();

// The calibration cells and serial number of that transmitter, before any programming.
Memory FactoryMemory();

// The programming form and working state of the default configuration.
device::PlanRequest DefaultProgramForm();
device::WorkingState DefaultWorkingState();

// What a programming would read from this memory before computing its plan (family 4,
// output selection 2 = current).
device::ProgramDeviceData ReadBeforeProgramming(const Memory& memory);

// Applies the writes that go on the line.
void ApplyPlan(const device::ProgramPlan& plan, Memory& memory);

}  // namespace vantrel::sim
