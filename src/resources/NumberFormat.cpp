// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/NumberFormat.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <string>

namespace vantrel::resources {

namespace {

std::atomic<char> g_decimalSeparator{'.'};

constexpr int kDoubleDigits = 15;
constexpr int kSingleDigits = 7;

// The magnitude of a value as decimal digits rounded to a number of significant digits:
// integer digits and fraction digits, without sign.
struct DecimalDigits {
    std::string integer;   // at least "0"
    std::string fraction;  // may be empty
};

DecimalDigits ToDecimalDigits(double magnitude, int significantDigits) {
    DecimalDigits result{"0", ""};
    if (magnitude == 0.0 || !std::isfinite(magnitude)) return result;
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                         std::chars_format::scientific, significantDigits - 1);
    if (ec != std::errc()) return result;
    const std::string text(buffer, end);
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i)
        if (text[i] != '.') digits.push_back(text[i]);
    const int exponent = std::stoi(text.substr(ePos + 1));
    const int integerCount = exponent + 1;
    if (integerCount <= 0) {
        result.fraction = std::string(static_cast<std::size_t>(-integerCount), '0') + digits;
    } else if (integerCount >= static_cast<int>(digits.size())) {
        result.integer = digits + std::string(static_cast<std::size_t>(integerCount) - digits.size(), '0');
    } else {
        result.integer = digits.substr(0, static_cast<std::size_t>(integerCount));
        result.fraction = digits.substr(static_cast<std::size_t>(integerCount));
    }
    return result;
}

// Adds one unit in the last place of a digit string; returns true on a carry out.
bool IncrementDigits(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    return true;
}

// Rounds to a number of decimals, halves away from zero (on the magnitude).
void RoundToDecimals(DecimalDigits& d, std::size_t decimals) {
    if (d.fraction.size() <= decimals) return;
    const bool roundUp = d.fraction[decimals] >= '5';
    d.fraction.resize(decimals);
    if (!roundUp) return;
    std::string all = d.integer + d.fraction;
    if (IncrementDigits(all)) all.insert(all.begin(), '1');
    d.integer = all.substr(0, all.size() - decimals);
    d.fraction = all.substr(all.size() - decimals);
}

void StripTrailingZeros(std::string& fraction, std::size_t keep) {
    while (fraction.size() > keep && fraction.back() == '0') fraction.pop_back();
}

void StripLeadingZeros(std::string& integer) {
    const std::size_t first = integer.find_first_not_of('0');
    integer = first == std::string::npos ? "0" : integer.substr(first);
}

bool AllZero(const DecimalDigits& d) {
    return d.integer.find_first_not_of('0') == std::string::npos &&
           d.fraction.find_first_not_of('0') == std::string::npos;
}

// Shortest text with up to a number of significant digits: "35.7142857142857", "1400".
std::string GeneralText(double value, int significantDigits, char separator) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    const double magnitude = std::fabs(value);
    if (magnitude != 0.0 && (magnitude >= 1e15 || magnitude < 1e-5)) {
        // "1.5E+20": the mantissa's trailing zeros dropped, at least two exponent digits.
        char buffer[64];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                             significantDigits - 1);
        if (ec != std::errc()) return {};
        const std::string text(buffer, end);
        const std::size_t ePos = text.find('e');
        std::string mantissa = text.substr(0, ePos);
        if (mantissa.find('.') != std::string::npos) {
            while (mantissa.back() == '0') mantissa.pop_back();
            if (mantissa.back() == '.') mantissa.pop_back();
        }
        for (char& c : mantissa)
            if (c == '.') c = separator;
        return mantissa + 'E' + text.substr(ePos + 1);
    }
    DecimalDigits d = ToDecimalDigits(magnitude, significantDigits);
    StripLeadingZeros(d.integer);
    StripTrailingZeros(d.fraction, 0);
    std::string text = d.integer;
    if (!d.fraction.empty()) text += separator + d.fraction;
    if (value < 0 && !AllZero(d)) text.insert(text.begin(), '-');
    return text;
}

std::string SignedText(double value, int significantDigits) {
    std::string text = GeneralText(value, significantDigits, '.');
    if (text.empty() || text.front() != '-') text.insert(text.begin(), ' ');
    return text;
}

struct Pattern {
    std::size_t minIntegerDigits = 0;
    std::size_t requiredDecimals = 0;
    std::size_t maxDecimals = 0;
    bool hasSeparator = false;
    std::string_view suffix;
};

Pattern ParsePattern(std::string_view pattern) {
    Pattern p;
    std::size_t i = 0;
    for (; i < pattern.size() && (pattern[i] == '#' || pattern[i] == '0'); ++i)
        if (pattern[i] == '0') ++p.minIntegerDigits;
    if (i < pattern.size() && pattern[i] == '.') {
        p.hasSeparator = true;
        bool stillRequired = true;
        for (++i; i < pattern.size() && (pattern[i] == '#' || pattern[i] == '0'); ++i) {
            ++p.maxDecimals;
            if (pattern[i] == '0' && stillRequired) ++p.requiredDecimals;
            else stillRequired = false;
        }
    }
    p.suffix = pattern.substr(i);
    return p;
}

std::string FormatDigits(double value, std::string_view pattern, int significantDigits) {
    const Pattern p = ParsePattern(pattern);
    if (!std::isfinite(value)) return GeneralText(value, significantDigits, '.') + std::string(p.suffix);
    DecimalDigits d = ToDecimalDigits(std::fabs(value), significantDigits);
    RoundToDecimals(d, p.maxDecimals);
    StripTrailingZeros(d.fraction, p.requiredDecimals);
    while (d.fraction.size() < p.requiredDecimals) d.fraction.push_back('0');
    StripLeadingZeros(d.integer);
    if (d.integer == "0" && p.minIntegerDigits == 0) d.integer.clear();
    while (d.integer.size() < p.minIntegerDigits) d.integer.insert(d.integer.begin(), '0');
    std::string text = d.integer;
    if (!d.fraction.empty()) text += DecimalSeparator() + d.fraction;
    if (text.empty()) text = "0";
    if (value < 0 && !AllZero(d)) text.insert(text.begin(), '-');
    return text + std::string(p.suffix);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number at the start of text (after blanks), 0 when there is none.
// Fills the normalised text ('.' as separator) of the number read.
std::size_t ScanNumber(std::string_view text, std::string& normalised) {
    std::size_t i = 0;
    normalised.clear();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normalised.push_back(text[i++]);
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) { normalised.push_back(text[i++]); ++digits; }
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        std::size_t j = i + 1;
        std::string fraction;
        while (j < text.size() && IsDigit(text[j])) fraction.push_back(text[j++]);
        if (digits > 0 || !fraction.empty()) {
            normalised += '.' + fraction;
            digits += fraction.size();
            i = j;
        }
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent.push_back(text[j++]);
        const std::size_t exponentStart = j;
        while (j < text.size() && IsDigit(text[j])) exponent.push_back(text[j++]);
        if (j > exponentStart) {
            normalised += exponent;
            i = j;
        }
    }
    return i;
}

// The decimal exponent of the leading digit of a normalised number ("123.4e5": 7), so that an
// out-of-range conversion can tell a number too large from one too small.
long long LeadingExponent(const std::string& normalised) {
    const std::size_t ePos = normalised.find('e');
    const std::string mantissa = normalised.substr(0, ePos);
    long long exponent = 0;
    if (ePos != std::string::npos) {
        // An exponent of many digits saturates; it only has to say "far beyond" either way.
        for (std::size_t i = ePos + 1; i < normalised.size(); ++i)
            if (IsDigit(normalised[i])) exponent = std::min(exponent * 10 + (normalised[i] - '0'), 1000000000LL);
        if (normalised.find('-', ePos) != std::string::npos) exponent = -exponent;
    }
    const std::size_t point = mantissa.find('.');
    const std::size_t firstDigit = mantissa.find_first_of("123456789");
    if (firstDigit == std::string::npos) return 0;
    const std::size_t integerEnd = point == std::string::npos ? mantissa.size() : point;
    const long long position = firstDigit < integerEnd ? static_cast<long long>(integerEnd - firstDigit) - 1
                                                       : -static_cast<long long>(firstDigit - integerEnd);
    return position + exponent;
}

// The value of a normalised number; empty when it is too large for a Double. A number too
// small for a Double is 0 (with its sign): nothing a technician types means anything else.
std::optional<double> ToDouble(const std::string& normalised) {
    const char* begin = normalised.data();
    if (*begin == '+') ++begin;
    double value = 0;
    const auto [end, ec] = std::from_chars(begin, normalised.data() + normalised.size(), value);
    if (ec == std::errc()) return value;
    if (ec != std::errc::result_out_of_range || LeadingExponent(normalised) > 0) return std::nullopt;
    return *begin == '-' ? -0.0 : 0.0;
}

}  // namespace

void SetDecimalSeparator(char separator) { g_decimalSeparator = separator; }
char DecimalSeparator() { return g_decimalSeparator; }

std::string Str(double value) { return SignedText(value, kDoubleDigits); }
std::string StrSingle(float value) { return SignedText(static_cast<double>(value), kSingleDigits); }

std::string PlainText(double value) { return GeneralText(value, kDoubleDigits, DecimalSeparator()); }
std::string PlainTextSingle(float value) { return GeneralText(static_cast<double>(value), kSingleDigits, DecimalSeparator()); }

std::string Format(double value, std::string_view pattern) {
    return FormatDigits(value, pattern, kDoubleDigits);
}

std::string FormatSingle(float value, std::string_view pattern) {
    return FormatDigits(static_cast<double>(value), pattern, kSingleDigits);
}

long long RoundHalfEven(double value) { return std::llrint(value); }

double IntFloor(double value) { return std::floor(value); }

float ToSingle(double value) { return static_cast<float>(value); }

std::optional<double> ParseNumber(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t last = text.find_last_not_of(' ');
    const std::string_view trimmed = text.substr(first, last - first + 1);
    std::string normalised;
    if (ScanNumber(trimmed, normalised) != trimmed.size()) return std::nullopt;
    return ToDouble(normalised);
}

std::optional<float> ParseSingle(std::string_view text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value) return std::nullopt;
    const float single = static_cast<float>(*value);
    if (!std::isfinite(single)) return std::nullopt;
    return single;
}

double ParseLeadingNumber(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    std::string normalised;
    if (ScanNumber(text.substr(first), normalised) == 0) return 0;
    if (const std::optional<double> value = ToDouble(normalised)) return *value;
    return normalised.front() == '-' ? -HUGE_VAL : HUGE_VAL;
}

}  // namespace vantrel::resources
