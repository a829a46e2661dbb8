// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Profile.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <utility>
#include <vector>

#include "files/FileAccess.h"
#include "files/Json.h"
#include "files/SafeWrite.h"

namespace vantrel::sim {

namespace {

using files::JsonValue;

// ---- Profile fields ----

bool ReadByte(const JsonValue& object, std::string_view key, bool required, std::uint8_t& out, std::string& error) {
    const JsonValue* value = object.member(key);
    if (!value) {
        if (required) error = "missing \"" + std::string(key) + "\"";
        return !required;
    }
    if (value->kind != JsonValue::Kind::Number || value->number != std::floor(value->number) || value->number < 0 ||
        value->number > 255) {
        error = "\"" + std::string(key) + "\" must be a whole number from 0 to 255";
        return false;
    }
    out = static_cast<std::uint8_t>(value->number);
    return true;
}

bool ReadCount(const JsonValue& object, std::string_view key, int& out, std::string& error) {
    const JsonValue* value = object.member(key);
    if (!value) return true;
    if (value->kind != JsonValue::Kind::Number || value->number != std::floor(value->number) || value->number < -1 ||
        value->number > 1e6) {
        error = "\"" + std::string(key) + "\" must be a whole number";
        return false;
    }
    out = static_cast<int>(value->number);
    return true;
}

bool ReadFlag(const JsonValue& object, std::string_view key, bool& out, std::string& error) {
    const JsonValue* value = object.member(key);
    if (!value) return true;
    if (value->kind != JsonValue::Kind::Bool) {
        error = "\"" + std::string(key) + "\" must be true or false";
        return false;
    }
    out = value->boolean;
    return true;
}

bool ReadNumber(const JsonValue& object, std::string_view key, double& out, std::string& error) {
    const JsonValue* value = object.member(key);
    if (!value) return true;
    if (value->kind != JsonValue::Kind::Number) {
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

bool ReadMemory(const JsonValue& object, Memory& memory, std::string& error) {
    const JsonValue* value = object.member("memory");
    if (!value) {
        error = "missing \"memory\"";
        return false;
    }
    if (value->kind != JsonValue::Kind::String || value->text.size() != 2 * device::kMemorySize) {
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

bool ReadInput(const JsonValue& object, SimulatedInput& input, std::string& error) {
    const JsonValue* value = object.member("input");
    if (!value) return true;
    if (value->kind != JsonValue::Kind::Object) {
        error = "\"input\" must be an object";
        return false;
    }
    if (const JsonValue* quantity = value->member("quantity")) {
        bool known = false;
        for (const QuantityName& q : kQuantities) {
            if (quantity->kind == JsonValue::Kind::String && quantity->text == q.name) {
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

bool ReadFaults(const JsonValue& object, FaultSettings& faults, std::string& error) {
    const JsonValue* value = object.member("faults");
    if (!value) return true;
    if (value->kind != JsonValue::Kind::Object) {
        error = "\"faults\" must be an object";
        return false;
    }
    const JsonValue& f = *value;
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
    JsonValue root;
    std::string syntax;
    if (!files::ParseJson(text, root, syntax)) {
        result.error = "not valid JSON: " + syntax;
        return result;
    }
    if (root.kind != JsonValue::Kind::Object) {
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
