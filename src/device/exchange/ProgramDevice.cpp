// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/exchange/ProgramDevice.h"

#include "device/exchange/ConfigurationReader.h"
#include "device/exchange/DeviceCheck.h"
#include "link/Frames.h"
#include "resources/StringTable.h"

namespace vantrel::device {

namespace {

constexpr double kAfterWrite = 0.04;
constexpr double kAfterCommand = 0.1;

bool AskNoisyRange(link::Protocol& protocol) {
    const link::Message message = link::TableMessage(resources::text::kNoisyRange, protocol.languageOffset(),
                                                     link::Buttons::YesNo, link::Icon::Question);
    return protocol.dialogs().Show(message) == link::Answer::Yes;
}

math::ConverterCalibration ToConverterCalibration(const OutputCalibration& c) {
    math::ConverterCalibration converter;
    converter.OutCalCode1 = static_cast<double>(c.CalCodeLow);
    converter.OutCalCode2 = static_cast<double>(c.CalCodeHigh);
    converter.OutCalPoint2 = static_cast<double>(c.CalValueHigh);
    converter.OutCalPoint1 = static_cast<double>(c.CalValueLow);
    converter.InCalSpan = static_cast<double>(c.CalWord250);
    converter.InCalZero = static_cast<double>(c.CalWord254);
    return converter;
}

// Reads what the plan needs from the transmitter. A Cancel in any of the reads ends the
// programming with nothing written: default calibration values would program wrong codes.
bool ReadCalibration(link::Protocol& protocol, const WorkingState& working, int outputSelect, ProgramDeviceData& data) {
    const auto output = ReadOutputCalibration(protocol, working.identity.DeviceFamily, outputSelect & 3);
    if (!output) return false;
    data.Converter = ToConverterCalibration(*output);
    protocol.EnterStep(link::Step::ReadingFactoryCalibration);
    const link::ByteResult block = protocol.ReadBlock(cell::FactoryCalibration, cell::FactoryCalibrationSize);
    if (block.cancelled()) return false;
    std::array<std::uint8_t, cell::FactoryCalibrationSize> cells{};
    for (int i = 0; i < cell::FactoryCalibrationSize; ++i) cells[static_cast<std::size_t>(i)] = block[static_cast<std::size_t>(i + 1)];
    data.Factory = DecodeFactoryCalibration(cells);
    return true;
}

ProgramStatus StatusOfPlan(PlanStatus status) {
    switch (status) {
        case PlanStatus::Done: return ProgramStatus::Done;
        case PlanStatus::NoisyRangeRefused: return ProgramStatus::NoisyRangeRefused;
        default: return ProgramStatus::Refused;
    }
}

void ShowRefusal(link::Protocol& protocol, const ProgramPlan& plan) {
    link::Message message;
    message.text = PlanRefusalText(plan, protocol.languageOffset());
    message.buttons = link::Buttons::Ok;
    message.icon = link::Icon::Exclamation;
    protocol.dialogs().Show(message);
}

void ShowLinkLost(link::Protocol& protocol) {
    protocol.dialogs().Show(link::TableMessage(resources::text::kLinkLostWhileProgramming, protocol.languageOffset(),
                                               link::Buttons::Ok, link::Icon::Critical, resources::text::kCommunicationErrorTitle));
}

}  // namespace

std::optional<ProgramDeviceData> ReadProgrammingData(link::Protocol& protocol, const WorkingState& working,
                                                     const PlanRequest& form, std::uint8_t lastCell7,
                                                     const std::array<int, 4>& previousTripWords) {
    if (CheckSameDevice(protocol, working.identity) != DeviceCheck::Same) return std::nullopt;
    ProgramDeviceData data;
    data.Cell7 = lastCell7;
    data.PreviousTripWords = previousTripWords;
    if (!ReadCalibration(protocol, working, form.OutputSelect, data)) return std::nullopt;
    return data;
}

double WritePauses(std::size_t writes) {
    return kAfterCommand + static_cast<double>(writes) * kAfterWrite + 2 * kAfterCommand;
}

link::StepPlan ProgrammingDataPlan(const Identity& identity) {
    return {{link::Step::CheckingDevice, link::pauses::Version()},
            {link::Step::ReadingOutputCalibration, OutputCalibrationPauses(identity.DeviceFamily)},
            {link::Step::ReadingFactoryCalibration, link::pauses::Block(cell::FactoryCalibrationSize)}};
}

ProgramResult ProgramDevice(link::Protocol& protocol, const WorkingState& working, const PlanRequest& form,
                            std::uint8_t lastCell7, const std::array<int, 4>& previousTripWords,
                            bool writeCells) {
    ProgramResult result;
    result.request = form;
    // A configuration no transmitter takes is refused before the line is used at all.
    if (auto problem = CheckConfiguration(form, working)) {
        result.status = ProgramStatus::InvalidConfiguration;
        result.plan.status = PlanStatus::InvalidConfiguration;
        result.plan.problem = std::move(problem);
        ShowRefusal(protocol, result.plan);
        return result;
    }
    if (CheckSameDevice(protocol, working.identity) != DeviceCheck::Same) return result;

    ProgramDeviceData data;
    data.Cell7 = lastCell7;
    data.PreviousTripWords = previousTripWords;
    if (!ReadCalibration(protocol, working, form.OutputSelect, data)) return result;

    result.plan = MakeProgramPlan(form, working, data, [&] { return AskNoisyRange(protocol); });
    result.status = StatusOfPlan(result.plan.status);
    if (result.status != ProgramStatus::Done) {
        if (result.status == ProgramStatus::Refused) ShowRefusal(protocol, result.plan);
        return result;
    }
    if (!writeCells) {
        protocol.Send(link::frames::kEndProgramming);
        protocol.Wait(kAfterCommand);
        return result;
    }

    protocol.EnterStep(link::Step::Writing);
    protocol.ResizeStep(link::Step::Writing, WritePauses(result.plan.sent.size()));
    protocol.clearLineLost();
    protocol.Send(link::frames::kProgrammingMode);
    protocol.Wait(kAfterCommand);
    for (const WriteEntry& entry : result.plan.sent) {
        // A stop before the first write leaves the transmitter as it was; after it, with a
        // partial configuration (the caller asked the user first).
        if (protocol.cancelRequested()) {
            result.status = result.framesSent == 0 ? ProgramStatus::NotWritten : ProgramStatus::Interrupted;
            return result;
        }
        if (!protocol.Send(link::frames::WriteFrame(entry.address, entry.value))) {
            result.status = ProgramStatus::Interrupted;
            ShowLinkLost(protocol);
            return result;
        }
        if (++result.framesSent == 1) protocol.NoteWritesStarted();
        protocol.Wait(kAfterWrite);
    }
    protocol.Send(link::frames::kEndProgramming);
    protocol.Wait(kAfterCommand);
    protocol.Send(link::frames::kEndProgramming);
    protocol.Wait(kAfterCommand);
    return result;
}

}  // namespace vantrel::device
