// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "link/Transport.h"

namespace vantrel::link {

// A transport that tests script by hand. How to use it:
//
//   ScriptedTransport line;
//   line.feedReceived("xx*ab\x05\r\n");   // bytes that have "arrived" and wait to be read
//   line.respond([](std::string_view frame) -> std::string {   // answer every write
//       return frame.starts_with("$R") ? std::string("*ab\x05\r\n") : std::string();
//   });
//   ... run the protocol ...
//   line.written();        // every byte written, concatenated
//   line.frames();         // each write separately, in order
//   line.countFrames("SM\r");
//
// Failures to inject:
//   line.failOpen("COM3", OpenError::PortInUse);  // opening that port fails (by name)
//   line.pullCable();      // from now on writes fail, nothing more arrives, an open port has
//                          // vanished and opening fails ...
//   line.plugCable();      // ... until the cable goes back in
//
// The responder runs inside write(); what it returns is appended to the receive buffer
// at once (the protocol then finds it after its 0.1 s pause).
class ScriptedTransport final : public Transport {
public:
    using Responder = std::function<std::string(std::string_view frame)>;

    void feedReceived(std::string_view bytes) {
        if (!m_cablePulled) m_received += bytes;
    }
    void respond(Responder responder) { m_responder = std::move(responder); }
    void failOpen(const std::string& port, OpenError error) { m_openFailures[port] = error; }
    void pullCable() {
        m_cablePulled = true;
        m_received.clear();
    }
    void plugCable() { m_cablePulled = false; }

    const std::string& written() const { return m_written; }
    const std::vector<std::string>& frames() const { return m_frames; }
    int countFrames(std::string_view frame) const {
        int n = 0;
        for (const std::string& f : m_frames) n += f == frame ? 1 : 0;
        return n;
    }
    const std::vector<std::string>& openedPorts() const { return m_opened; }
    void clearWritten() {
        m_written.clear();
        m_frames.clear();
    }

    OpenResult open(const std::string& port, const LineSettings& /*settings*/) override {
        if (m_open) return {};
        if (m_cablePulled) return {OpenError::NoSuchPort, "scripted: cable pulled"};
        const auto failure = m_openFailures.find(port);
        if (failure != m_openFailures.end()) return {failure->second, "scripted failure"};
        m_open = true;
        m_opened.push_back(port);
        return {};
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(std::string_view bytes) override {
        if (m_cablePulled) return false;
        m_written += bytes;
        m_frames.emplace_back(bytes);
        if (m_responder) m_received += m_responder(bytes);
        return true;
    }
    std::string readAll() override { return std::exchange(m_received, {}); }
    void discardInput() override { m_received.clear(); }
    std::size_t bytesAvailable() override { return m_received.size(); }
    bool vanished() const override { return m_open && m_cablePulled; }

private:
    std::string m_received;
    std::string m_written;
    std::vector<std::string> m_frames;
    std::vector<std::string> m_opened;
    std::map<std::string, OpenError> m_openFailures;
    Responder m_responder;
    bool m_open = false;
    bool m_cablePulled = false;
};

}  // namespace vantrel::link
