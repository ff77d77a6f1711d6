#include "base/TextTime.h"

#include "decode/WeatherInfo.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>
#include <string>

namespace nimbrel {
namespace {

TEST(WrapHourTest, WrapsIntoTheDay) {
    struct Case {
        int hour, offset, expected;
    };
    const Case cases[] = {{23, 2, 1},
                          {22, 2, 0},
                          {0, -1, 23},
                          {12, 0, 12},
                          {20, 14, 10},
                          {0, -24, 0},
                          {23, 24, 23},
                          {0, 24, 0},
                          {10, -12, 22},
                          // A hand-edited offset may be any integer.
                          {23, 2147483647, 6},
                          {0, -2147483647 - 1, 16},
                          {5, 49, 6}};
    for (const Case& c : cases)
        EXPECT_EQ(WrapHour(c.hour, c.offset), c.expected) << c.hour << " + " << c.offset;
}

TEST(UtcNowTest, ReadsTheClocksUtcNotTheLocalTime) {
    testing::FakeClock clock;
    clock.utc = {2026, 12, 8, 23, 30, 0, 0};
    clock.localOffsetHours = 5;
    EXPECT_EQ(UtcNow(clock), clock.utc);
}

TEST(ClockTextTest, WritesTwelveAndTwentyFourHourTimes) {
    struct Case {
        int hour, minute;
        bool use24HourClock;
        const char* expected;
    };
    const Case cases[] = {
        {0, 7, false, "12:07 AM"},      {24, 0, false, "12:00 AM"},     {9, 30, false, "9:30 AM"},
        {12, 7, false, "12:07 PM"},     {13, 5, false, "1:05 PM"},      {23, 59, false, "11:59 PM"},
        {25, 0, false, "Invalid time"}, {-1, 0, false, "Invalid time"}, {9, 5, true, "09:05"},
        {0, 0, true, "00:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatClockTime(c.hour, c.minute, c.use24HourClock), c.expected)
            << c.hour << ":" << c.minute;
        if (!c.use24HourClock) {
            EXPECT_EQ(FormatTime12(c.hour, c.minute), c.expected);
        }
    }
}

TEST(ShortenTextTest, TrimsAndCutsWithAnEllipsis) {
    struct Case {
        std::string text;
        int maxLength;
        std::string expected;
    };
    const Case cases[] = {
        {"  Amsterdam Airport Schiphol  ", 20, "Amsterdam Airport S..."},
        {"12345678901234567890", 20, "12345678901234567890"},
        {"123456789012345678901", 20, "1234567890123456789..."},
        {"\t\r\n short \x01", 20, "short"},
        {"   ", 20, ""},
        {"abc", 0, "..."},
        // Accented letters count as one character each and are never split.
        {"Termas de R\xc3\xado Hondo international Airport", 20, "Termas de R\xc3\xado Hondo..."},
        {"Mo\xc3\xa7\xc3\xa2medes Mo\xc3\xa7\xc3\xa2medes1", 20,
         "Mo\xc3\xa7\xc3\xa2medes Mo\xc3\xa7\xc3\xa2medes1"},
        {"Mo\xc3\xa7\xc3\xa2medes Mo\xc3\xa7\xc3\xa2medes12", 20,
         "Mo\xc3\xa7\xc3\xa2medes Mo\xc3\xa7\xc3\xa2medes..."},
        {"123456789012345678\xc3\xa9xyz", 20, "123456789012345678\xc3\xa9..."},
        {"\xe2\x82\xac\xf0\x9f\x8c\xa7xyz", 3, "\xe2\x82\xac\xf0\x9f\x8c\xa7..."},
        // Bytes that are not UTF-8 still count one each.
        {"ab\xe9\xe9\xe9\xe9", 4, "ab\xe9..."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortenText(c.text, c.maxLength), c.expected) << '"' << c.text << '"';
}

TEST(CapitalizeFirstTest, RaisesOnlyALeadingAsciiLetter) {
    const std::pair<std::string, std::string> cases[] = {{"light rain", "Light rain"},
                                                         {"", ""},
                                                         {" rain", " rain"},
                                                         {"\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9"},
                                                         {"z", "Z"},
                                                         {"{x", "{x"}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(CapitalizeFirst(text), expected) << '"' << text << '"';
}

} // namespace
} // namespace nimbrel
