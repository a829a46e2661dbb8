#include "sim/SimTransport.h"

#include <utility>

namespace vantrel::sim {

namespace {

// The receive buffer of the port (bytes beyond it are lost, as on a real port).
constexpr std::size_t kReceiveBufferSize = 2048;

}  // namespace

link::OpenResult SimTransport::open(const std::string& /*port*/, const link::LineSettings& /*settings*/) {
    m_open = true;
    return {};
}

void SimTransport::collect() {
    if (!m_open) return;
    m_received += m_transmitter.takeOutput(m_clock.now());
    if (m_received.size() > kReceiveBufferSize) m_received.resize(kReceiveBufferSize);
}

bool SimTransport::write(std::string_view bytes) {
    if (!m_open || m_transmitter.lineClosed()) return false;
    collect();
    m_transmitter.receive(bytes, m_clock.now());
    return true;
}

std::string SimTransport::readAll() {
    collect();
    return std::exchange(m_received, {});
}

void SimTransport::discardInput() {
    collect();
    m_received.clear();
}

std::size_t SimTransport::bytesAvailable() {
    collect();
    return m_received.size();
}

}  // namespace vantrel::sim
