// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace vantrel::cli {

namespace {

template <typename T>
std::string ShortestNumber(T value) {
    if (!std::isfinite(value)) return "null";
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : "null";
}

}  // namespace

std::string JsonEscape(std::string_view text) {
    std::string out;
    for (const char character : text) {
        const auto c = static_cast<unsigned char>(character);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out.push_back(character);
                }
        }
    }
    return out;
}

void JsonWriter::Separate() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.empty()) {
        if (!m_first.back()) m_text += ',';
        m_first.back() = false;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    Separate();
    m_text += '{';
    m_first.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    m_text += '}';
    m_first.pop_back();
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    Separate();
    m_text += '[';
    m_first.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    m_text += ']';
    m_first.pop_back();
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    Separate();
    m_text += '"' + JsonEscape(key) + "\":";
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::Value(std::string_view text) {
    Separate();
    m_text += '"' + JsonEscape(text) + '"';
    return *this;
}

JsonWriter& JsonWriter::Value(long long number) {
    Separate();
    m_text += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::Value(double number) {
    Separate();
    m_text += ShortestNumber(number);
    return *this;
}

JsonWriter& JsonWriter::Value(float number) {
    Separate();
    m_text += ShortestNumber(number);
    return *this;
}

JsonWriter& JsonWriter::Value(bool flag) {
    Separate();
    m_text += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    Separate();
    m_text += "null";
    return *this;
}

}  // namespace vantrel::cli
