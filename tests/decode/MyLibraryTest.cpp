#include "decode/MyLibrary.h"

#include "decode/WeatherInfo.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>
#include <string>

namespace nimbrel {
namespace {

void ExpectInitialValues(const TWeatherInfo& record) {
    EXPECT_EQ(record.Condition, 22);
    EXPECT_EQ(record.WeatherClass, 0);
    EXPECT_EQ(record.WindDirectionIndex, 18);
    EXPECT_EQ(record.TemperatureIndex, 10);
    EXPECT_EQ(record.CloudCover, 0);
    for (const double value : {record.WindSpeed, record.Visibility, record.Temperature,
                               record.DewPoint, record.Pressure})
        EXPECT_EQ(value, NotAvailable);
    for (const std::string* text :
         {&record.Metar, &record.UpdateTime, &record.TimeGroup, &record.UtcTime, &record.LocalTime,
          &record.WindDirection, &record.Weather, &record.SkyCondition})
        EXPECT_TRUE(text->empty());
    EXPECT_FALSE(record.IsRecent);
    for (const TCloudLayer& layer : record.CloudLayers)
        EXPECT_TRUE(!layer.Present && layer.Cover.empty() && layer.Height == 0);
}

TEST(WeatherInfoTest, NewAndClearedRecordsHoldTheInitialValues) {
    ExpectInitialValues(TWeatherInfo{});
    TWeatherInfo used;
    used.Metar = "X";
    used.Condition = 3;
    used.CloudLayers[1] = {true, "BKN", 30};
    used.Pressure = 1000;
    used.Clear();
    ExpectInitialValues(used);
}

TEST(WrapHourTest, WrapsIntoTheDay) {
    struct Case {
        int hour, offset, expected;
    };
    const Case cases[] = {{23, 2, 1},  {22, 2, 0},   {0, -1, 23},  {12, 0, 12}, {20, 14, 10},
                          {0, -24, 0}, {23, 24, 23}, {0, 24, 0},   {1, -2, 23}, {12, 12, 0},
                          {0, 0, 0},   {23, 0, 23},  {10, -12, 22}};
    for (const Case& c : cases)
        EXPECT_EQ(WrapHour(c.hour, c.offset), c.expected) << c.hour << " + " << c.offset;
}

TEST(UtcNowTest, ReadsTheClocksUtcNotTheLocalTime) {
    testing::FakeClock clock;
    clock.utc = {2026, 12, 8, 23, 30, 0, 0};
    clock.localOffsetHours = 5;
    EXPECT_EQ(UtcNow(clock), clock.utc);
}

TEST(FormatTime12Test, WritesTheTwelveHourClock) {
    struct Case {
        int hour, minute;
        const char* expected;
    };
    const Case cases[] = {
        {0, 7, "12:07 AM"},      {0, 5, "12:05 AM"},       {24, 0, "12:00 AM"},
        {1, 0, "1:00 AM"},       {9, 30, "9:30 AM"},       {11, 59, "11:59 AM"},
        {12, 7, "12:07 PM"},     {12, 0, "12:00 PM"},      {13, 5, "1:05 PM"},
        {17, 45, "5:45 PM"},     {23, 59, "11:59 PM"},     {25, 0, "Invalid time"},
        {-1, 0, "Invalid time"}, {99, 99, "Invalid time"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatTime12(c.hour, c.minute), c.expected) << c.hour << ":" << c.minute;
}

TEST(FormatClockTimeTest, PadsTheTwentyFourHourClockAndDefersToTwelveHours) {
    EXPECT_EQ(FormatClockTime(9, 5, true), "09:05");
    EXPECT_EQ(FormatClockTime(0, 0, true), "00:00");
    EXPECT_EQ(FormatClockTime(23, 59, true), "23:59");
    EXPECT_EQ(FormatClockTime(9, 5, false), "9:05 AM");
    EXPECT_EQ(FormatClockTime(14, 25, false), "2:25 PM");
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
        {"", 20, ""},
        {"   ", 20, ""},
        {"abc", 1, "..."},
        {"abc", 0, "..."},
        {"", 0, ""},
        {"Nairobi Jomo Kenyatta International", 25, "Nairobi Jomo Kenyatta In..."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortenText(c.text, c.maxLength), c.expected) << '"' << c.text << '"';
}

TEST(CapitalizeFirstTest, RaisesOnlyALeadingAsciiLetter) {
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {"light rain", "Light rain"},
        {"Light rain", "Light rain"},
        {"", ""},
        {" rain", " rain"},
        {"\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9"},
        {"a", "A"},
        {"z", "Z"},
        {"1st", "1st"},
        {"{x", "{x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CapitalizeFirst(c.text), c.expected) << '"' << c.text << '"';
}

} // namespace
} // namespace nimbrel
