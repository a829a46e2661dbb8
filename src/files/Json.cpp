// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace vantrel::files {

const JsonValue* JsonValue::member(std::string_view key) const {
    for (const JsonMember& m : members)
        if (m.name == key) return &m.value;
    return nullptr;
}

namespace {

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    bool parse(JsonValue& value) {
        skipSpace();
        if (!parseValue(value, 0)) return false;
        skipSpace();
        if (m_pos != m_text.size()) return fail("unexpected text after the end");
        return true;
    }
    const std::string& error() const { return m_error; }

private:
    static constexpr int kMaxDepth = 32;

    bool fail(const std::string& what) {
        if (m_error.empty()) m_error = what + " at offset " + std::to_string(m_pos);
        return false;
    }
    void skipSpace() {
        while (m_pos < m_text.size() &&
               (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }
    bool literal(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word) return fail("invalid value");
        m_pos += word.size();
        return true;
    }

    bool parseValue(JsonValue& value, int depth) {
        if (depth > kMaxDepth) return fail("nesting too deep");
        if (m_pos >= m_text.size()) return fail("unexpected end");
        const char c = m_text[m_pos];
        if (c == '{') return parseObject(value, depth);
        if (c == '[') return parseArray(value, depth);
        if (c == '"') {
            value.kind = JsonValue::Kind::String;
            return parseString(value.text);
        }
        if (c == 't' || c == 'f') {
            value.kind = JsonValue::Kind::Bool;
            value.boolean = c == 't';
            return literal(c == 't' ? "true" : "false");
        }
        if (c == 'n') return literal("null");
        return parseNumber(value);
    }

    bool parseObject(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Object;
        ++m_pos;
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') {
            ++m_pos;
            return true;
        }
        for (;;) {
            skipSpace();
            std::string key;
            if (m_pos >= m_text.size() || m_text[m_pos] != '"') return fail("expected a key");
            if (!parseString(key)) return false;
            skipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != ':') return fail("expected ':'");
            ++m_pos;
            skipSpace();
            JsonValue member;
            if (!parseValue(member, depth + 1)) return false;
            value.members.push_back(JsonMember{std::move(key), std::move(member)});
            skipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == '}') {
                ++m_pos;
                return true;
            }
            return fail("expected ',' or '}'");
        }
    }

    bool parseArray(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Array;
        ++m_pos;
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') {
            ++m_pos;
            return true;
        }
        for (;;) {
            skipSpace();
            JsonValue item;
            if (!parseValue(item, depth + 1)) return false;
            value.items.push_back(std::move(item));
            skipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == ']') {
                ++m_pos;
                return true;
            }
            return fail("expected ',' or ']'");
        }
    }

    bool parseString(std::string& out) {
        ++m_pos;  // opening quote
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return fail("control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size()) break;
            const char e = m_text[m_pos++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned code = 0;
                    if (m_pos + 4 > m_text.size()) return fail("short \\u escape");
                    const auto [end, ec] = std::from_chars(m_text.data() + m_pos, m_text.data() + m_pos + 4, code, 16);
                    if (ec != std::errc() || end != m_text.data() + m_pos + 4) return fail("bad \\u escape");
                    m_pos += 4;
                    AppendUtf8(out, code);
                    break;
                }
                default: return fail("bad escape");
            }
        }
        return fail("unterminated string");
    }

    static void AppendUtf8(std::string& out, unsigned code) {
        // Profiles need no characters outside the basic plane; a surrogate half is kept as is.
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool parseNumber(JsonValue& value) {
        const std::size_t start = m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '-') ++m_pos;
        auto digits = [&] {
            const std::size_t from = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') ++m_pos;
            return m_pos > from;
        };
        if (!digits()) return fail("invalid value");
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            if (!digits()) return fail("invalid number");
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-')) ++m_pos;
            if (!digits()) return fail("invalid number");
        }
        // from_chars reads JSON's number syntax whatever the process locale (strtod would stop
        // at the "." under a locale with a decimal comma).
        value.kind = JsonValue::Kind::Number;
        const char* first = m_text.data() + start;
        const auto [end, ec] = std::from_chars(first, m_text.data() + m_pos, value.number);
        if (ec == std::errc::result_out_of_range) {
            m_pos = start;
            return fail("number out of range");
        }
        if (ec != std::errc() || end != m_text.data() + m_pos || !std::isfinite(value.number)) return fail("invalid number");
        return true;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::string m_error;
};

}  // namespace

bool ParseJson(std::string_view text, JsonValue& value, std::string& error) {
    JsonReader reader(text);
    if (reader.parse(value)) return true;
    error = reader.error();
    return false;
}


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

}  // namespace vantrel::files
