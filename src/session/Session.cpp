#include "session/Session.h"

namespace vantrel::session {

Session::Session(link::Transport& transport_, link::Clock& clock, link::Dialogs& dialogs, ui::FormHost& host)
    : transport(transport_), protocol(transport_, clock, dialogs), form(state, record, host, dialogs) {
    SyncProtocol();
    protocol.setCellObserver([this](int address, std::uint8_t value) { NoteCellRead(address, value); });
}

void Session::NoteCellRead(int address, std::uint8_t value) {
    knownMemory.Put(address, value);
    if (running.cellsInto) running.cellsInto->Put(address, value);
}

void Session::SyncProtocol() {
    protocol.setDeviceModel(state.identity.DeviceModel);
    protocol.setLanguageOffset(state.LanguageOffset);
}

}  // namespace vantrel::session
