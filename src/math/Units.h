#pragma once

// Temperature unit conversions used on range entry and for display; results are single
// precision like the values they feed.
namespace vantrel::math {

inline float CelsiusToFahrenheit(float celsius) {
    return static_cast<float>(static_cast<double>(celsius) * 9 / 5 + 32);
}

inline float FahrenheitToCelsius(float fahrenheit) {
    return static_cast<float>((static_cast<double>(fahrenheit) - 32) * 5 / 9);
}

}  // namespace vantrel::math
