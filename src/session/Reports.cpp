// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Reports.h"

#include "device/exchange/ConfigurationReader.h"
#include "device/Identify.h"
#include "device/ProgramPlan.h"
#include "files/DefaultName.h"
#include "files/ProgramFile.h"
#include "resources/StringTable.h"
#include "session/Operations.h"
#include "session/Recording.h"
#include "session/Records.h"
#include "session/Running.h"
#include "ui/model/ProgramFileCommands.h"

namespace vantrel::session {

namespace {

// The unit of the plan's breakpoint values: temperatures are always in °C there.
std::string TableUnit(int inputType) {
    switch (inputType) {
        case device::family::Thermocouple:
        case device::family::Rtd: return "°C";
        case device::family::Voltage: return "mV";
        case device::family::Resistance: return "Ohm";
        case device::family::Current: return "mA";
        default: return "";
    }
}

// The plan on nominal calibration: the breakpoints depend on the sensor and the range, not
// on the converter's calibration, so no transmitter read (and no question) is needed.
std::optional<ui::ReportBreakpoints> PlanBreakpoints(Session& session, const device::ConfigRecord& record) {
    const ui::InputEncoding encoding = session.form.EncodeInput();
    device::ProgramDeviceData data;
    if (session.lastRead) data.Cell7 = static_cast<std::uint8_t>(session.lastRead->outputConfig);
    const device::ProgramPlan plan = device::MakeProgramPlan(ProgramFormValues(session, encoding), session.state,
                                                             data, [] { return true; });
    if (plan.status != device::PlanStatus::Done || plan.BreakTemp.empty()) return std::nullopt;
    ui::ReportBreakpoints breakpoints;
    breakpoints.temps = plan.BreakTemp;
    breakpoints.rangeMin = plan.RangeMin;
    breakpoints.rangeMax = plan.RangeMax;
    breakpoints.unit = TableUnit(record.InputType);
    return breakpoints;
}

// The file's title while the form holds what the file holds; once edited, "(modified)"
// follows it (or stands alone for a configuration never saved).
std::string ReportedFileName(const device::WorkingState& state) {
    if (!state.EditedSinceLoad) return ui::FileTitle(state.CurrentFile);
    std::string modified = resources::Text(resources::text::kModified, state.LanguageOffset());
    if (files::IsDefaultConfigName(ui::FileTitle(state.CurrentFile))) return modified;
    return ui::FileTitle(state.CurrentFile) + " " + modified;
}

}  // namespace

ui::ConfigReport SessionReport(Session& session, bool fromTransmitter, const std::string& date) {
    ui::ReportInput input;
    input.record = FormRecord(session);
    input.languageOffset = session.state.LanguageOffset();
    input.identity = session.state.identity;
    input.fromTransmitter = fromTransmitter;
    input.fileName = ReportedFileName(session.state);
    if (fromTransmitter) input.serial = session.serial;
    input.date = date;
    input.breakpoints = PlanBreakpoints(session, input.record);
    return ui::MakeConfigReport(input);
}

std::optional<ui::Comparison> CompareWithDevice(Session& session, const device::ConfigRecord& file) {
    OperationScope scope(session, Operation::Compare);
    RunScope run(session, device::ReadPlan(session.state.identity));
    const bool wasConnected = session.connected();
    const std::optional<device::ConfigRecord> device = ReadDeviceRecord(session);
    if (!device) {
        if (wasConnected) scope.SetFailed();
        else scope.SetOutcome(Outcome::CommunicationFailed);
        return std::nullopt;
    }
    ui::Comparison comparison =
        ui::CompareConfigurations(*device, file, {session.state.LanguageOffset(), session.state.identity});
    OperationRecord& record = scope.record();
    const files::RecordBytes bytes = files::EncodeRecord(*device);
    record.configuration.assign(bytes.begin(), bytes.end());
    const int o = session.state.LanguageOffset();
    record.summary = comparison.Equal() ? resources::Text(resources::text::kCompareEqual, o)
                                        : resources::Text(resources::text::kCompareDifferent, o) + ' ' +
                                              std::to_string(comparison.DifferingCount());
    scope.SetOutcome(comparison.Equal() ? Outcome::Done : Outcome::Different);
    return comparison;
}

}  // namespace vantrel::session
