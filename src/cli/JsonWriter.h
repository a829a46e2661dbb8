// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::cli {

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

}  // namespace vantrel::cli
