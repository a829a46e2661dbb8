// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "device/ReadConfiguration.h"
#include "device/PlanRequest.h"
#include "device/ProgramPlan.h"

// After a programming the configuration is read back; what the transmitter then holds must
// be what was asked: the input code and options, the input range cells and the output range.
// A difference means the writes did not land as sent, and the programming has failed.
namespace vantrel::device {

enum class ReadBackField { InputCode, OptionFlags, InputRange, OutputRange };

// What was programmed and what came back, in the transmitter's units (°C, ratio, mV, mA,
// ohm for the input range; mA or V for the output). Codes and flags hold low == high.
struct ReadBackDifference {
    ReadBackField field = ReadBackField::InputCode;
    double askedLow = 0;
    double askedHigh = 0;
    double readLow = 0;
    double readHigh = 0;
};

// The differences between a plan that was written and the configuration read afterwards;
// empty when the transmitter holds what was asked.
std::vector<ReadBackDifference> CompareReadBack(const PlanRequest& request, const ProgramPlan& plan,
                                                const ReadConfiguration& read);

// "Read back differs from what was programmed:" followed by one line per field, in the
// language of the offset.
std::string ReadBackDifferencesText(const std::vector<ReadBackDifference>& differences, int languageOffset);

}  // namespace vantrel::device
