// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Transport.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace vantrel::link {

namespace {

bool ParseInt(std::string_view text, int& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool ParseLineSettings(std::string_view text, LineSettings& settings) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t comma = text.find(',');
        parts.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos || parts.size() > 4) break;
        text.remove_prefix(comma + 1);
    }
    if (parts.size() != 4) return false;
    LineSettings parsed;
    if (!ParseInt(parts[0], parsed.baudRate) || parsed.baudRate <= 0) return false;
    if (parts[1].size() != 1) return false;
    parsed.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(parts[1][0])));
    if (parsed.parity != 'N' && parsed.parity != 'E' && parsed.parity != 'O') return false;
    if (!ParseInt(parts[2], parsed.dataBits) || parsed.dataBits < 5 || parsed.dataBits > 8) return false;
    if (!ParseInt(parts[3], parsed.stopBits) || parsed.stopBits < 1 || parsed.stopBits > 2) return false;
    settings = parsed;
    return true;
}

void AppendBounded(std::string& buffer, std::string_view bytes) {
    if (bytes.size() >= kReceiveBufferSize) {
        buffer.assign(bytes.substr(bytes.size() - kReceiveBufferSize));
        return;
    }
    buffer += bytes;
    if (buffer.size() > kReceiveBufferSize) buffer.erase(0, buffer.size() - kReceiveBufferSize);
}

}  // namespace vantrel::link
