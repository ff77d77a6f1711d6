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

// Bytes of one UTF-8 character at the start of a non-empty text; a byte that starts no valid
// sequence is a character of its own.
std::size_t CharacterSize(std::string_view text) {
    return std::max<std::size_t>(1, Utf8SequenceLength(text, 0));
}

} // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    // The second byte's range depends on the lead: it is what excludes the invalid forms.
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (byte(at + 1) < low || byte(at + 1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

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

std::string LineFeedLines(std::string_view text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
            continue;
        lines += text[at];
    }
    return lines;
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
