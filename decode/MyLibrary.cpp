#include "decode/MyLibrary.h"

#include <algorithm>
#include <cstdio>

namespace nimbrel {

namespace {

std::string Format(const char* format, int a, int b, const char* suffix) {
    char text[48];
    std::snprintf(text, sizeof text, format, a, b, suffix);
    return text;
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

TDateTime UtcNow(const Clock& clock) {
    return clock.UtcNow();
}

std::string FormatTime12(int hour, int minute) {
    if (hour == 0 || hour == 24)
        return Format("%d:%.2d %s", 12, minute, "AM");
    if (hour >= 1 && hour <= 11)
        return Format("%d:%.2d %s", hour, minute, "AM");
    if (hour == 12)
        return Format("%d:%.2d %s", 12, minute, "PM");
    if (hour >= 13 && hour <= 23)
        return Format("%d:%.2d %s", hour - 12, minute, "PM");
    return "Invalid time";
}

std::string FormatClockTime(int hour, int minute, bool use24HourClock) {
    if (!use24HourClock)
        return FormatTime12(hour, minute);
    char text[32];
    std::snprintf(text, sizeof text, "%.2d:%.2d", hour, minute);
    return text;
}

std::string ShortenText(const std::string& text, int maxLength) {
    std::string trimmed(TrimBlanks(text));
    if (trimmed.size() <= static_cast<std::size_t>(std::max(maxLength, 0)))
        return trimmed;
    trimmed.resize(static_cast<std::size_t>(std::max(maxLength - 1, 0)));
    return trimmed + "...";
}

std::string CapitalizeFirst(const std::string& text) {
    if (text.empty() || text[0] < 'a' || text[0] > 'z')
        return text;
    std::string result = text;
    result[0] = static_cast<char>(result[0] - 'a' + 'A');
    return result;
}

} // namespace nimbrel
