#include "session/Session.h"

namespace vantrel::session {

Session::Session(link::Transport& transport_, link::Clock& clock, link::Dialogs& dialogs, ui::FormHost& host)
    : transport(transport_), protocol(transport_, clock, dialogs), form(state, record, host, dialogs) {
    SyncProtocol();
}

void Session::SyncProtocol() {
    protocol.setDeviceModel(state.identity.DeviceModel);
    protocol.setLanguageOffset(state.LanguageOffset);
}

}  // namespace vantrel::session
