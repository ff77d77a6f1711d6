#include "base/TextTime.h"

#include <algorithm>
#include <cstdio>

namespace nimbrel {

namespace {

std::string Format(const char* format, int a, int b, const char* suffix) {
    char text[48];
    std::snprintf(text, sizeof text, format, a, b, suffix);
    return text;
}

// Bytes of one UTF-8 character at the start of a non-empty text.
std::size_t CharacterSize(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const std::size_t size = byte(0) >= 0xF0 && byte(0) <= 0xF4   ? 4
                             : byte(0) >= 0xE0 && byte(0) <= 0xEF ? 3
                             : byte(0) >= 0xC2 && byte(0) <= 0xDF ? 2
                                                                  : 1;
    if (size > text.size())
        return 1;
    for (std::size_t i = 1; i < size; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 1;
    return size;
}

} // namespace

// Names are cut by characters, so an accented letter is neither counted twice nor split into a
// broken byte sequence.
std::size_t CharacterPrefix(std::string_view text, int count) {
    std::size_t pos = 0;
    for (int n = 0; n < count && pos < text.size(); ++n)
        pos += CharacterSize(text.substr(pos));
    return pos;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&fold](char x, char y) { return fold(x) == fold(y); });
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
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
    const std::string_view trimmed = TrimBlanks(text);
    if (CharacterPrefix(trimmed, std::max(maxLength, 0)) == trimmed.size())
        return std::string(trimmed);
    return std::string(trimmed.substr(0, CharacterPrefix(trimmed, maxLength - 1))) + "...";
}

std::string CapitalizeFirst(const std::string& text) {
    if (text.empty() || text[0] < 'a' || text[0] > 'z')
        return text;
    std::string result = text;
    result[0] = static_cast<char>(result[0] - 'a' + 'A');
    return result;
}

} // namespace nimbrel
