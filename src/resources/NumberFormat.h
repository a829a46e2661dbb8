// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Number formatting and parsing shared by every layer, so that a number reads the same
// in the summary, in the range boxes, in messages and on the command line.
namespace vantrel::resources {

// Decimal separator used by Format and PlainText. It is '.' (the C locale) unless the
// desktop program sets its locale's separator once at start-up.
void SetDecimalSeparator(char separator);
char DecimalSeparator();

// Text of a number with a leading space when it is not negative and '-' when it is,
// always with '.', up to 15 significant digits (Double) or 7 (Single); " 100", "-200", " 1.5".
std::string Str(double value);
std::string StrSingle(float value);

// The standard number-to-text form: no leading space, the locale's decimal separator,
// up to 15 (Double) or 7 (Single) significant digits.
std::string PlainText(double value);
std::string PlainTextSingle(float value);

// Pattern formatting for patterns such as "####0.###", "####0.0##", "0.0", "#.0",
// "##0.000", "##0", "00": '0' is a digit always shown, '#' a digit shown only when
// significant; anything after the numeric part is copied as it stands.
// Halves round away from zero; "-0" is never printed; no separator is printed when no
// decimals follow it ("5", not "5.").
std::string Format(double value, std::string_view pattern);
// The same for a single-precision value: its decimal form has 7 significant digits.
std::string FormatSingle(float value, std::string_view pattern);

// Conversion to a whole number with exact halves going to the even neighbour.
long long RoundHalfEven(double value);
// The whole part toward minus infinity.
double IntFloor(double value);
// Rounding to single precision.
float ToSingle(double value);

// A whole text read as a number: optional blanks around it, an optional sign, digits with
// at most one decimal separator ("," or "."), an optional exponent. Empty when it is not
// a number or when it is too large for a Double (a number too small for one reads as 0).
std::optional<double> ParseNumber(std::string_view text);
// The same for a value stored as a Single (range ends, trip levels, points): empty also when
// the number is beyond what a Single holds, so it can never become infinity on the way.
std::optional<float> ParseSingle(std::string_view text);
// The leading number of a text (blanks before it allowed), 0 when it does not start with one;
// infinity (with the number's sign) when it is too large for a Double, so that every range
// check refuses it instead of reading 0.
double ParseLeadingNumber(std::string_view text);

}  // namespace vantrel::resources
