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
}

link::LineSettings WorkSettings() {
    link::LineSettings settings;
    link::ParseLineSettings(link::frames::kWorkSettings, settings);
    return settings;
}

void Session::SyncProtocol() {
    protocol.setDeviceModel(state.identity.DeviceModel);
    protocol.setLanguageOffset(state.LanguageOffset);
}

}  // namespace vantrel::session
