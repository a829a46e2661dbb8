// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Session.h"

#include "link/Frames.h"

namespace vantrel::session {

Session::Session(link::Transport& transport_, link::Clock& clock, link::Dialogs& dialogs, ui::FormHost& host)
    : transport(transport_), protocol(transport_, clock, dialogs), form(state, record, host, dialogs) {
    SyncProtocol();
    // Retry after a vanished port opens the same port again: a replugged adapter needs a
    // new handle, the old one never works again.
    protocol.setReopen([this] {
        transport.close();
        return transport.open(port, WorkSettings()).ok();
    });
    protocol.setCellObserver([this](int address, std::uint8_t value) { NoteCellRead(address, value); });
    protocol.setCancelToken(&cancel);
    protocol.setProgressMeter(&progress);
}

link::LineSettings WorkSettings() {
    link::LineSettings settings;
    link::ParseLineSettings(link::frames::kWorkSettings, settings);
    return settings;
}

void Session::NoteCellRead(int address, std::uint8_t value) {
    knownMemory.Put(address, value);
    if (running.cellsInto) running.cellsInto->Put(address, value);
}

void Session::SyncProtocol() {
    protocol.setDeviceModel(state.identity.DeviceModel);
    protocol.setLanguageOffset(state.LanguageOffset());
}

}  // namespace vantrel::session
