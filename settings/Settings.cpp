#include "settings/Settings.h"

#include <charconv>

namespace nimbrel {

int OffsetHours(const std::string& offsetText) {
    int value = 0;
    const char* first = offsetText.data();
    const char* last = first + offsetText.size();
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last ? value : 0;
}

} // namespace nimbrel
