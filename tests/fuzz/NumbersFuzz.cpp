// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Number parsing and formatting on arbitrary text: a parsed number is finite (overflow is no
// number), a Single fits a Single, and the texts the program writes read back close enough.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "resources/NumberFormat.h"

using namespace vantrel::resources;

namespace {

// Fifteen significant digits: a relative error of at most half a unit in the fifteenth.
bool Close(double read, double value, double absolute) {
    return std::fabs(read - value) <= absolute + std::fabs(value) * 1e-14;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = ParseNumber(text);
    const auto single = ParseSingle(text);
    const double leading = ParseLeadingNumber(text);
    Require(!std::isnan(leading), "a leading number is never NaN");
    Require(!single || (value && std::isfinite(*single)), "a Single is a finite number");
    if (!value) return 0;
    Require(std::isfinite(*value), "a number is finite");
    Require(leading == *value, "a whole number is its own leading number");

    const auto plain = ParseNumber(PlainText(*value));
    Require(plain && Close(*plain, *value, 0), "the plain text reads back");
    const auto signedText = ParseNumber(Str(*value));
    Require(signedText && Close(*signedText, *value, 0), "the signed text reads back");
    const auto pattern = ParseNumber(Format(*value, "####0.###"));
    Require(pattern && Close(*pattern, *value, 0.0005), "a pattern reads back to its decimals");
    if (single) {
        const auto singleText = ParseSingle(PlainTextSingle(*single));
        Require(singleText && std::fabs(*singleText - *single) <= std::fabs(*single) * 1e-6f,
                "a Single's text reads back as a Single");
    }
    return 0;
}
