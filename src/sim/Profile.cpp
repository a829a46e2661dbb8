// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Profile.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <utility>
#include <vector>

#include "files/FileAccess.h"
#include "files/SafeWrite.h"

namespace vantrel::sim {

namespace {

// ---- A small JSON reader: enough for profiles, strict about syntax, bounded in depth. ----

struct JsonMember;

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::vector<JsonMember> members;  // a pair<string, Json> here would need Json complete

    const Json* member(std::string_view key) const;
};

struct JsonMember {
    std::string name;
    Json value;
};

const Json* Json::member(std::string_view key) const {
    for (const JsonMember& m : members)
        if (m.name == key) return &m.value;
    return nullptr;
}

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    bool parse(Json& value) {
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

    bool parseValue(Json& value, int depth) {
        if (depth > kMaxDepth) return fail("nesting too deep");
        if (m_pos >= m_text.size()) return fail("unexpected end");
        const char c = m_text[m_pos];
        if (c == '{') return parseObject(value, depth);
        if (c == '[') return parseArray(value, depth);
        if (c == '"') {
            value.kind = Json::Kind::String;
            return parseString(value.text);
        }
        if (c == 't' || c == 'f') {
            value.kind = Json::Kind::Bool;
            value.boolean = c == 't';
            return literal(c == 't' ? "true" : "false");
        }
        if (c == 'n') return literal("null");
        return parseNumber(value);
    }

    bool parseObject(Json& value, int depth) {
        value.kind = Json::Kind::Object;
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
            Json member;
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

    bool parseArray(Json& value, int depth) {
        value.kind = Json::Kind::Array;
        ++m_pos;
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') {
            ++m_pos;
            return true;
        }
        for (;;) {
            skipSpace();
            Json item;
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

    bool parseNumber(Json& value) {
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
        value.kind = Json::Kind::Number;
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

// ---- Profile fields ----

bool ReadByte(const Json& object, std::string_view key, bool required, std::uint8_t& out, std::string& error) {
    const Json* value = object.member(key);
    if (!value) {
        if (required) error = "missing \"" + std::string(key) + "\"";
        return !required;
    }
    if (value->kind != Json::Kind::Number || value->number != std::floor(value->number) || value->number < 0 ||
        value->number > 255) {
        error = "\"" + std::string(key) + "\" must be a whole number from 0 to 255";
        return false;
    }
    out = static_cast<std::uint8_t>(value->number);
    return true;
}

bool ReadCount(const Json& object, std::string_view key, int& out, std::string& error) {
    const Json* value = object.member(key);
    if (!value) return true;
    if (value->kind != Json::Kind::Number || value->number != std::floor(value->number) || value->number < -1 ||
        value->number > 1e6) {
        error = "\"" + std::string(key) + "\" must be a whole number";
        return false;
    }
    out = static_cast<int>(value->number);
    return true;
}

bool ReadFlag(const Json& object, std::string_view key, bool& out, std::string& error) {
    const Json* value = object.member(key);
    if (!value) return true;
    if (value->kind != Json::Kind::Bool) {
        error = "\"" + std::string(key) + "\" must be true or false";
        return false;
    }
    out = value->boolean;
    return true;
}

bool ReadNumber(const Json& object, std::string_view key, double& out, std::string& error) {
    const Json* value = object.member(key);
    if (!value) return true;
    if (value->kind != Json::Kind::Number) {
        error = "\"" + std::string(key) + "\" must be a number";
        return false;
    }
    out = value->number;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ReadMemory(const Json& object, Memory& memory, std::string& error) {
    const Json* value = object.member("memory");
    if (!value) {
        error = "missing \"memory\"";
        return false;
    }
    if (value->kind != Json::Kind::String || value->text.size() != 2 * device::kMemorySize) {
        error = "\"memory\" must be a text of 512 hexadecimal digits";
        return false;
    }
    Memory::Cells cells{};
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int high = HexDigit(value->text[2 * i]);
        const int low = HexDigit(value->text[2 * i + 1]);
        if (high < 0 || low < 0) {
            error = "\"memory\" holds a character that is not a hexadecimal digit (cell " + std::to_string(i) + ")";
            return false;
        }
        cells[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    memory = Memory(cells);
    return true;
}

struct QuantityName {
    Quantity quantity;
    std::string_view name;
};
constexpr QuantityName kQuantities[] = {
    {Quantity::Temperature, "temperature"}, {Quantity::Millivolts, "millivolts"},
    {Quantity::Milliamps, "milliamps"},     {Quantity::Ohms, "ohms"},
    {Quantity::Fraction, "fraction"},       {Quantity::ConverterVolts, "converterVolts"},
};

bool ReadInput(const Json& object, SimulatedInput& input, std::string& error) {
    const Json* value = object.member("input");
    if (!value) return true;
    if (value->kind != Json::Kind::Object) {
        error = "\"input\" must be an object";
        return false;
    }
    if (const Json* quantity = value->member("quantity")) {
        bool known = false;
        for (const QuantityName& q : kQuantities) {
            if (quantity->kind == Json::Kind::String && quantity->text == q.name) {
                input.quantity = q.quantity;
                known = true;
            }
        }
        if (!known) {
            error = "\"input\".\"quantity\" must be one of temperature, millivolts, milliamps, ohms, fraction, "
                    "converterVolts";
            return false;
        }
    }
    if (!ReadNumber(*value, "value", input.value, error) ||
        !ReadNumber(*value, "coldJunction", input.coldJunction, error) ||
        !ReadNumber(*value, "drift", input.drift, error) || !ReadNumber(*value, "driftPeriod", input.driftPeriod, error) ||
        !ReadNumber(*value, "noise", input.noise, error))
        return false;
    if (!std::isfinite(input.drift) || !std::isfinite(input.noise) || !(input.driftPeriod > 0) ||
        !std::isfinite(input.driftPeriod)) {
        error = "\"input\": \"drift\" and \"noise\" must be numbers and \"driftPeriod\" a number of seconds above 0";
        return false;
    }
    return true;
}

bool ReadFaults(const Json& object, FaultSettings& faults, std::string& error) {
    const Json* value = object.member("faults");
    if (!value) return true;
    if (value->kind != Json::Kind::Object) {
        error = "\"faults\" must be an object";
        return false;
    }
    const Json& f = *value;
    std::uint8_t family = 0;
    std::uint8_t model = 0;
    const bool ok = ReadFlag(f, "noReply", faults.noReply, error) &&
                    ReadFlag(f, "noiseBeforeReplies", faults.noiseBeforeReplies, error) &&
                    ReadFlag(f, "noiseInsteadOfReplies", faults.noiseInsteadOfReplies, error) &&
                    ReadCount(f, "silentAfterFrames", faults.silentAfterFrames, error) &&
                    ReadCount(f, "silentAfterReplies", faults.silentAfterReplies, error) &&
                    ReadCount(f, "dropReplies", faults.dropReplies, error) &&
                    ReadCount(f, "dropRepliesAfter", faults.dropRepliesAfter, error) &&
                    ReadCount(f, "closeLineAfterCommands", faults.closeLineAfterCommands, error) &&
                    ReadCount(f, "corruptWriteAddress", faults.corruptWriteAddress, error) &&
                    ReadCount(f, "closeLineAfterFrames", faults.closeLineAfterFrames, error) &&
                    ReadNumber(f, "replugAfterSeconds", faults.replugAfterSeconds, error) &&
                    ReadCount(f, "silentAfterWrites", faults.silentAfterWrites, error) &&
                    ReadNumber(f, "replyDelaySeconds", faults.replyDelaySeconds, error) &&
                    ReadCount(f, "delayRepliesAfter", faults.delayRepliesAfter, error) &&
                    ReadCount(f, "wrongIdentityAfterReplies", faults.wrongIdentityAfterReplies, error) &&
                    ReadByte(f, "reportedFamily", false, family, error) &&
                    ReadByte(f, "reportedModel", false, model, error);
    if (!ok) return false;
    if (f.member("reportedFamily")) faults.reportedFamily = family;
    if (f.member("reportedModel")) faults.reportedModel = model;
    return true;
}

// The shortest text that reads back as the same value, "." whatever the process locale.
std::string FormatNumber(double value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : "0";
}

}  // namespace

ProfileResult ParseProfile(std::string_view text) {
    ProfileResult result;
    Json root;
    JsonReader reader(text);
    if (!reader.parse(root)) {
        result.error = "not valid JSON: " + reader.error();
        return result;
    }
    if (root.kind != Json::Kind::Object) {
        result.error = "a device profile must be a JSON object";
        return result;
    }
    Profile profile;
    std::string& error = result.error;
    const bool ok = ReadByte(root, "family", true, profile.identity.family, error) &&
                    ReadByte(root, "model", true, profile.identity.model, error) &&
                    ReadByte(root, "firmwareVersion", false, profile.identity.firmwareVersion, error) &&
                    ReadByte(root, "firmwareRelease", false, profile.identity.firmwareRelease, error) &&
                    ReadMemory(root, profile.memory, error) && ReadInput(root, profile.input, error) &&
                    ReadFaults(root, profile.faults, error);
    if (ok) result.profile = profile;
    return result;
}

ProfileResult LoadProfile(const std::string& path, int languageOffset) {
    // A profile is a few kilobytes; a megabyte is far more than any holds.
    constexpr std::size_t kMaxProfileSize = std::size_t{1} << 20;
    const files::ReadBytes read = files::ReadRegularFile(path, kMaxProfileSize, true);
    if (!read.ok()) return {std::nullopt, path + ": " + files::FileErrorText(read.problem, languageOffset)};
    ProfileResult result =
        ParseProfile(std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()));
    if (!result.profile) result.error = path + ": " + result.error;
    return result;
}

std::string ToHex(const Memory::Cells& cells) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(cells.size() * 2);
    for (std::uint8_t byte : cells) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

std::string ProfileJson(const Profile& profile) {
    std::string quantity = "temperature";
    for (const QuantityName& q : kQuantities)
        if (q.quantity == profile.input.quantity) quantity = q.name;
    std::ostringstream out;
    out << "{\n"
        << "  \"family\": " << int(profile.identity.family) << ",\n"
        << "  \"model\": " << int(profile.identity.model) << ",\n"
        << "  \"firmwareVersion\": " << int(profile.identity.firmwareVersion) << ",\n"
        << "  \"firmwareRelease\": " << int(profile.identity.firmwareRelease) << ",\n"
        << "  \"memory\": \"" << ToHex(profile.memory.cells()) << "\",\n"
        << "  \"input\": {\"quantity\": \"" << quantity << "\", \"value\": " << FormatNumber(profile.input.value)
        << ", \"coldJunction\": " << FormatNumber(profile.input.coldJunction)
        << ", \"drift\": " << FormatNumber(profile.input.drift) << ", \"driftPeriod\": "
        << FormatNumber(profile.input.driftPeriod) << ", \"noise\": " << FormatNumber(profile.input.noise) << "}\n"
        << "}\n";
    return out.str();
}

std::string SaveProfile(const std::string& path, const Profile& profile, int languageOffset) {
    const files::WriteResult written = files::SafeWrite(path, ProfileJson(profile));
    if (!written.ok()) return path + ": " + files::FileErrorText(written.problem, languageOffset);
    return {};
}

}  // namespace vantrel::sim
