#pragma once
// Reading the digit figures of a report group.
#include <charconv>
#include <string_view>

namespace nimbrel {

// The value of a run of decimal digits; 0 when the text is not a number that fits, the value a
// report figure takes when it cannot be read.
inline int ToInteger(std::string_view digits) {
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size())
        return 0;
    return value;
}

} // namespace nimbrel
