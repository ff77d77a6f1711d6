#pragma once
// Time and text helpers shared by the decoder and the display.
#include "base/Clock.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace nimbrel {

// The current UTC date and time, read from the clock's UTC source, never from local time.
TDateTime UtcNow(const Clock& clock);

// "9:30 AM", "12:05 AM", "5:45 PM"; "Invalid time" for an hour outside 0..24.
std::string FormatTime12(int hour, int minute);

// A time of day as the user's clock shows it: "09:05" with the 24-hour clock, else as
// FormatTime12 writes it.
std::string FormatClockTime(int hour, int minute, bool use24HourClock);

// A space or a control character (codes 0..32): what trimming takes off a text's ends.
constexpr bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// The text without leading and trailing spaces and control characters (codes 0..32): how a
// fetched station text, a typed name and a decoder input are all trimmed.
std::string_view TrimBlanks(std::string_view text);

// The text with each CR LF line break as a line feed alone, as Qt's widgets and the desktop
// notification protocol break lines; the program's own texts break them with CR LF.
std::string LineFeedLines(std::string_view text);

// The length of the UTF-8 sequence that starts text[at], or 0 when none valid starts there
// (overlong forms, surrogates and code points beyond U+10FFFF are not valid).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);
bool IsValidUtf8(std::string_view text);

// Bytes taken by the first count characters of a UTF-8 text, never splitting a character; a byte
// that starts no valid sequence counts as a character of its own.
std::size_t CharacterPrefix(std::string_view text, int count);

// Equal but for the case of ASCII letters. Not std::tolower: under the user's locale it would
// also fold some non-ASCII bytes.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Trims spaces and control characters; a text longer than maxLength keeps maxLength - 1
// characters and gains "...".
std::string ShortenText(const std::string& text, int maxLength);

// Upper-cases a leading ASCII a..z; every other text is returned unchanged.
std::string CapitalizeFirst(const std::string& text);

} // namespace nimbrel
