// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/exchange/DeviceCheck.h"
#include "resources/StringTable.h"


namespace vantrel::device {

namespace {


bool AskCheckAgain(link::Protocol& protocol) {
    const link::Message message = link::TableMessage(resources::text::kDeviceChanged, protocol.languageOffset(),
                                                     link::Buttons::OkCancel, link::Icon::Exclamation);
    return protocol.dialogs().Show(message) == link::Answer::Ok;
}

}  // namespace

DeviceCheck CheckSameDevice(link::Protocol& protocol, const Identity& identity) {
    protocol.EnterStep(link::Step::CheckingDevice);
    for (;;) {
        const link::ByteResult version = protocol.ReadVersion();
        if (version.cancelled()) return DeviceCheck::Failed;
        const bool same = version[1] == identity.DeviceFamily && version[2] == identity.DeviceModel;
        if (same) return DeviceCheck::Same;
        if (!AskCheckAgain(protocol)) return DeviceCheck::Changed;
    }
}

}  // namespace vantrel::device
