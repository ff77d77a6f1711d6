#pragma once
// The number texts of the display: rounded figures and unrounded Celsius values, plus the unit
// conversions the display applies to the record's fixed units.
#include <string>

namespace nimbrel {

// Nearest integer, halves to even: 2.5 gives 2, 3.5 gives 4, -2.5 gives -2.
double RoundHalfEven(double value);

// The rounded value written as a whole number without decimals ("12", "-3", "0").
std::string RoundedText(double value);

// The shortest decimal form with at most 15 significant digits and no exponent for ordinary
// values: 12, -3, 12.5, 0.1.
std::string ShortestDecimalText(double value);

double KmhToMph(double kmh);
double MetresToMiles(double metres);
double CelsiusToFahrenheit(double celsius);

} // namespace nimbrel
