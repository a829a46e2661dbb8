// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The one JSON vocabulary of the programs: a small reader (device profiles of the simulator),
// strict about syntax and bounded in depth, and a small writer (the command-line tool's
// --json output). Numbers are read and written in their shortest exact form, "." whatever
// the process locale.
namespace vantrel::files {

struct JsonMember;

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;
    std::vector<JsonMember> members;  // a pair<string, JsonValue> here would need JsonValue complete

    const JsonValue* member(std::string_view key) const;
};

struct JsonMember {
    std::string name;
    JsonValue value;
};

// Reads a whole document into `value`; false with the reason in `error` when the text is not
// JSON (trailing text, a nesting deeper than 32, a number beyond a double included).
bool ParseJson(std::string_view text, JsonValue& value, std::string& error);

// A small JSON writer: keys in insertion order, numbers in their shortest exact form.
class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& Value(std::string_view text);
    JsonWriter& Value(const char* text) { return Value(std::string_view(text)); }
    JsonWriter& Value(long long number);
    JsonWriter& Value(int number) { return Value(static_cast<long long>(number)); }
    JsonWriter& Value(unsigned number) { return Value(static_cast<long long>(number)); }
    JsonWriter& Value(double number);
    JsonWriter& Value(float number);
    JsonWriter& Value(bool flag);
    // null when unset (a value without a defined result).
    template <class T>
    JsonWriter& Value(const std::optional<T>& value) {
        return value ? Value(*value) : Null();
    }
    JsonWriter& Null();

    const std::string& str() const { return m_text; }

private:
    void Separate();
    std::string m_text;
    std::vector<bool> m_first;  // per open container: nothing written in it yet
    bool m_afterKey = false;
};

std::string JsonEscape(std::string_view text);

}  // namespace vantrel::files
