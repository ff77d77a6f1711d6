#include "settings/Settings.h"

#include <charconv>

namespace nimbrel {

std::optional<int> ParseWholeNumber(std::string_view text) {
    int value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

int OffsetHours(const std::string& offsetText) {
    return ParseWholeNumber(offsetText).value_or(0);
}

} // namespace nimbrel
