#include "app/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace nimbrel {

namespace {

constexpr double KilometresPerMile = 1.60934;
constexpr double MetresPerMile = 1609.34;

// Adding zero turns -0 into 0, so no text ever reads "-0".
double WithoutNegativeZero(double value) {
    return value + 0.0;
}

} // namespace

double RoundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1.0;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::string RoundedText(double value) {
    char text[400];
    std::snprintf(text, sizeof text, "%.0f", WithoutNegativeZero(RoundHalfEven(value)));
    return text;
}

std::string ShortestDecimalText(double value) {
    // to_chars ignores the C locale, which a GUI toolkit may have switched to a decimal comma.
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, WithoutNegativeZero(value),
                                      std::chars_format::general, 15);
    return std::string(text, result.ptr);
}

double KmhToMph(double kmh) {
    return kmh / KilometresPerMile;
}

double MetresToMiles(double metres) {
    return metres / MetresPerMile;
}

double CelsiusToFahrenheit(double celsius) {
    return celsius * 9.0 / 5.0 + 32.0;
}

} // namespace nimbrel
