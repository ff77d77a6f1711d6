#include "decode/DecodeMetar.h"

#include "decode/WeatherVocabulary.h"
#include "tests/support/FakeClock.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace nimbrel {
namespace {

constexpr double Knot = 1.8556701030927835;
constexpr std::string_view Eham = "EHAM 121225Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG";

class DecodeMetarTest : public ::testing::Test {
protected:
    DecodeMetarTest() { clock.utc = {2010, 5, 12, 13, 7, 0, 0}; }

    TWeatherInfo Decode(std::string_view text, int offset = 0, bool use24HourClock = true) {
        TWeatherInfo record;
        decoder.DecodeMetar(text, record, offset, use24HourClock);
        return record;
    }

    testing::FakeClock clock;
    TMetarDecoder decoder{clock};
};

TEST_F(DecodeMetarTest, DecodesAWholeStationFile) {
    clock.localOffsetHours = 2;
    const TWeatherInfo r = Decode(std::string("2010/05/12 12:25\n") + std::string(Eham), 2);
    EXPECT_EQ(r.Metar, Eham);
    EXPECT_EQ(r.UpdateTime, "15:07");
    EXPECT_TRUE(r.IsRecent);
    EXPECT_EQ(r.TimeGroup, "121225Z");
    EXPECT_EQ(r.UtcTime, "12:25 UTC");
    EXPECT_EQ(r.LocalTime, "14:25");
    EXPECT_DOUBLE_EQ(r.WindSpeed, 12 * Knot);
    EXPECT_NEAR(r.WindSpeed, 22.268, 0.001);
    EXPECT_EQ(r.WindDirection, "W-SW");
    EXPECT_EQ(r.WindDirectionIndex, 11);
    EXPECT_EQ(r.Visibility, 9999);
    EXPECT_TRUE(r.CloudLayers[0].Present);
    EXPECT_EQ(r.CloudLayers[0].Cover, "FEW");
    EXPECT_EQ(r.CloudLayers[0].Height, 20);
    EXPECT_FALSE(r.CloudLayers[1].Present);
    EXPECT_EQ(r.CloudCover, 2);
    EXPECT_EQ(r.SkyCondition, "Mostly clear");
    EXPECT_EQ(r.Temperature, 12);
    EXPECT_EQ(r.DewPoint, 8);
    EXPECT_EQ(r.Pressure, 1013);
    EXPECT_EQ(r.Condition, 3);
    EXPECT_EQ(r.TemperatureIndex, 5);
    EXPECT_EQ(r.WeatherClass, 0);
    EXPECT_EQ(r.Weather, "");
}

TEST_F(DecodeMetarTest, WritesTimesOnTheTwelveHourClock) {
    const TWeatherInfo r = Decode(Eham, 2, false);
    EXPECT_EQ(r.UtcTime, "12:25 PM UTC");
    EXPECT_EQ(r.LocalTime, "2:25 PM");
    EXPECT_EQ(r.UpdateTime, "1:07 PM");
}

TEST_F(DecodeMetarTest, TakesTheReportLineAfterTheFirstLineFeed) {
    struct Case {
        std::string text, metar;
    };
    const Case cases[] = {
        {"EHAM 121225Z", "EHAM 121225Z"},
        {"2010/05/12 12:25\r\nEHAM 121225Z", "EHAM 121225Z"},
        {"first\nsecond\nthird", "second\nthird"},
        {"line\n", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.text).Metar, c.metar) << c.text;
}

TEST_F(DecodeMetarTest, TimeGroup) {
    struct Case {
        std::string_view text;
        int offset, utcHour;
        const char *timeGroup, *utcTime, *localTime;
        bool recent, daytime;
    };
    const Case cases[] = {
        {"010300Z", -5, 13, "010300Z", "03:00 UTC", "22:00", false, false},
        {"121225Z", 2, 12, "121225Z", "12:25 UTC", "14:25", true, true},
        {"121225Z", 0, 14, "121225Z", "12:25 UTC", "12:25", true, true},
        {"121225Z", 0, 15, "121225Z", "12:25 UTC", "12:25", false, true},
        {"122300Z", 0, 1, "122300Z", "23:00 UTC", "23:00", true, false},
        {"122200Z", 0, 1, "122200Z", "22:00 UTC", "22:00", false, false},
        {"121300Z", 0, 12, "121300Z", "13:00 UTC", "13:00", false, true},
        {"120600Z", 1, 6, "120600Z", "06:00 UTC", "07:00", true, true},
        {"121900Z", 1, 6, "121900Z", "19:00 UTC", "20:00", false, false},
        // Matched by its start only: the tail is kept in neither text.
        {"121225Zextra", 0, 12, "121225Z", "12:25 UTC", "12:25", true, true},
        // An hour no clock shows is never recent, however the hours compare.
        {"129900Z", 0, 1, "129900Z", "99:00 UTC", "75:00", false, false},
        {"12250Z", 0, 12, "", "", "", false, false},
        {"1212251Z", 0, 12, "", "", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " offset " + std::to_string(c.offset));
        clock.utc.Hour = c.utcHour;
        // No cloud and no weather: the condition tells day (1) from night (0).
        const TWeatherInfo r = Decode(c.text, c.offset);
        EXPECT_EQ(r.TimeGroup, c.timeGroup);
        EXPECT_EQ(r.UtcTime, c.utcTime);
        EXPECT_EQ(r.LocalTime, c.localTime);
        EXPECT_EQ(r.IsRecent, c.recent);
        if (*c.timeGroup != '\0') {
            EXPECT_EQ(r.Condition, c.daytime ? 1 : 0);
        }
    }
}

TEST_F(DecodeMetarTest, OnlyTheFirstTimeGroupCounts) {
    const TWeatherInfo r = Decode("121225Z 130000Z");
    EXPECT_EQ(r.TimeGroup, "121225Z");
}

TEST_F(DecodeMetarTest, DaytimeCarriesOverToAReportWithoutTimeGroup) {
    EXPECT_EQ(Decode("EHAM 9999").Condition, 0) << "night before any time group";
    EXPECT_EQ(Decode("EHAM 121225Z").Condition, 1);
    EXPECT_EQ(Decode("EHAM 9999").Condition, 1) << "still the previous report's daytime";
    EXPECT_EQ(Decode("EHAM 122325Z").Condition, 0);
    EXPECT_EQ(Decode("EHAM 9999").Condition, 0);
}

TEST_F(DecodeMetarTest, WindGroup) {
    struct Case {
        std::string_view group;
        double speed;
        const char* direction;
        int index;
    };
    const Case cases[] = {
        {"00000KT", 0, "Calm", 17},
        {"VRB03KT", 3 * Knot, "variable", 16},
        {"VRB00KT", 0, "", 18},
        {"36010KT", 10 * Knot, "N", 0},
        {"00510KT", 10 * Knot, "N", 0},
        {"34810KT", 10 * Knot, "N-NW", 15},
        {"24012G25KT", 12 * Knot, "W-SW", 11},
        {"24012MPS", 12 * 3.6, "W-SW", 11},
        {"24012KMH", 12, "W-SW", 11},
        {"24012", 12 * Knot, "W-SW", 11},
        {"240120KT", 120 * Knot, "W-SW", 11},
        {"37010KT", 10 * Knot, "", 18},
        {"00000MPS", 0, "Calm", 17},
        {"24000KT", 0, "", 18},
        {"24012G25", 12 * Knot, "W-SW", 11},
        {"2401KT", NotAvailable, "", 18},
        {"24012KTS", NotAvailable, "", 18},
        {"24012kt", NotAvailable, "", 18},
        {"/////KT", NotAvailable, "", 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.group);
        const TWeatherInfo r = Decode(c.group);
        EXPECT_DOUBLE_EQ(r.WindSpeed, c.speed);
        EXPECT_EQ(r.WindDirection, c.direction);
        EXPECT_EQ(r.WindDirectionIndex, c.index);
    }
    EXPECT_DOUBLE_EQ(Decode("24012KT 36020KT").WindSpeed, 12 * Knot) << "first wind group only";
}

TEST_F(DecodeMetarTest, VisibilityGroup) {
    struct Case {
        std::string_view text;
        double visibility;
    };
    const Case cases[] = {
        {"10SM", 16090},         {"1SM", 1609},
        {"0800", 800},           {"9999", 9999},
        {"4000NDV", 4000},       {"1/2SM", NotAvailable},
        {"P6SM", NotAvailable},  {"M1/4SM", NotAvailable},
        {"100SM", NotAvailable}, {"08000", NotAvailable},
        {"0800 1200", 800},      {"CAVOK", 9999},
        {"CAVOK 3000", 3000},    {"10SM CLR", 16090},
        {"0800 SKC", 800},       {"SKC 0800", 800},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.text).Visibility, c.visibility) << c.text;
}

TEST_F(DecodeMetarTest, WeatherGroupsBetweenVisibilityAndTemperature) {
    struct Case {
        std::string_view text;
        const char* weather;
        int weatherClass;
    };
    const Case cases[] = {
        {"EHAM 9999 -RA BR 12/10", "Light Rain Mist", 10},
        {"EHAM 9999 +TSRA 12/10 TEMPO SHRA", "Heavy Rain Thunder Storm", 4},
        {"EHAM 9999 SHRA BR 12/10", " Rain Showers Showers Mist", 10},
        {"EHAM 9999 VCSH 12/10", " Showers", 4},
        {"EHAM 9999 +FC 12/10", "Tornado", 0},
        // The station code and AUTO come before the visibility, so they are not weather.
        {"EHAM AUTO 9999 RA", " Rain", 4},
        {"EHAM 1/2SM FG 12/10", "", 0},
        {"EHAM RA 9999", "", 0},
        {"EHAM 9999 RA1 RAX+ ra 12/10", "", 0},
        {"EHAM 9999 +RA -SN 12/10 BR", "Heavy RainLight Snow", 6},
        {"EHAM 9999 NSW 12/10", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TWeatherInfo r = Decode(c.text);
        EXPECT_EQ(r.Weather, c.weather);
        EXPECT_EQ(r.WeatherClass, c.weatherClass);
    }
}

TEST_F(DecodeMetarTest, WeatherDecidesTheCondition) {
    struct Case {
        std::string_view text;
        int condition, picture;
    };
    const Case cases[] = {
        {"121200Z 9999 -SHRA", 6, 10},     {"120000Z 9999 -SHRA", 6, 10},
        {"121200Z 9999 +SHRA", 8, 12},     {"120000Z 9999 +SHRA", 7, 11},
        {"120000Z 9999 RA", 5, 9},         {"121200Z 9999 DZ", 6, 10},
        {"121200Z 9999 +SN", 15, 19},      {"121200Z 9999 SHSN", 14, 18},
        {"121200Z 9999 PE", 9, 13},        {"121200Z 9999 FZRA", 9, 13},
        {"121200Z 9999 TS", 19, 22},       {"120000Z 9999 TS", 20, 21},
        {"121200Z 9999 FZFG", 18, 25},     {"121200Z 9999 SHRA BR", 17, 25},
        {"121200Z 9999 HZ", 21, 0},        {"121200Z 9999 -RA +SN", 15, 19},
        {"121200Z 9999 SHRA +SN", 16, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TWeatherInfo r = Decode(c.text);
        EXPECT_EQ(r.Condition, c.condition);
        EXPECT_EQ(WeatherImageIndex(r.Condition), c.picture);
    }
}

TEST_F(DecodeMetarTest, CloudGroupsFillThreeSlots) {
    struct Layer {
        bool present;
        const char* cover;
        int height;
    };
    struct Case {
        std::string_view text;
        Layer layers[3];
        int cover;
        const char* sky;
    };
    const Case cases[] = {
        {"FEW010 SCT020 BKN030 OVC040",
         {{true, "FEW", 10}, {true, "SCT", 20}, {true, "BKN", 30}},
         13,
         "Mostly cloudy"},
        {"CAVOK", {{true, "CAVOK", 0}, {}, {}}, 0, "Clear sky"},
        {"FEW017 FEW018CB SCT030TCU",
         {{true, "FEW", 17}, {true, "FEW", 18}, {true, "SCT", 30}},
         7,
         "Mostly cloudy"},
        {"BKN BKN", {{true, "BKN", 0}, {true, "BKN", 0}, {}}, 16, "Overcast"},
        {"FEW BKN SKC", {{true, "FEW", 0}, {true, "BKN", 0}, {true, "SKC", 0}}, 0, "Clear sky"},
        {"BKN030 TEMPO OVC010", {{true, "BKN", 30}, {true, "OVC", 10}, {}}, 24, "Overcast"},
        {"VV002 NSC FEW01 SCT0300 ovc010", {{}, {}, {}}, 0, "Clear sky"},
        {"", {{}, {}, {}}, 0, "Clear sky"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TWeatherInfo r = Decode(c.text);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(r.CloudLayers[i].Present, c.layers[i].present) << "slot " << i;
            EXPECT_EQ(r.CloudLayers[i].Cover, c.layers[i].cover ? c.layers[i].cover : "");
            EXPECT_EQ(r.CloudLayers[i].Height, c.layers[i].height) << "slot " << i;
        }
        EXPECT_EQ(r.CloudCover, c.cover);
        EXPECT_EQ(r.SkyCondition, c.sky);
    }
}

TEST_F(DecodeMetarTest, TemperatureGroup) {
    struct Case {
        std::string_view text;
        double temperature, dewPoint;
        int band;
    };
    const Case cases[] = {
        {"M05/M12", -5, -12, 3},     {"12/M02", 12, -2, 5},
        {"12/08", 12, 8, 5},         {"36/20", 36, 20, 9},
        {"M21/M30", -21, -30, 0},    {"12/", NotAvailable, NotAvailable, 0},
        {"12/08/extra", 12, 8, 5},   {"1/08", NotAvailable, NotAvailable, 0},
        {"12/08 M03/M04", 12, 8, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TWeatherInfo r = Decode(c.text);
        EXPECT_EQ(r.Temperature, c.temperature);
        EXPECT_EQ(r.DewPoint, c.dewPoint);
        EXPECT_EQ(r.TemperatureIndex, c.band);
    }
}

TEST_F(DecodeMetarTest, MinusZeroIsStoredAsZero) {
    const TWeatherInfo r = Decode("M00/M00");
    EXPECT_EQ(r.Temperature, 0);
    EXPECT_FALSE(std::signbit(r.Temperature));
    EXPECT_FALSE(std::signbit(r.DewPoint));
    EXPECT_EQ(r.TemperatureIndex, 3);
}

TEST_F(DecodeMetarTest, PressureGroup) {
    struct Case {
        std::string_view text;
        double pressure;
    };
    const Case cases[] = {
        {"A2992", 2992 * 0.338639}, {"Q0998", 998},           {"Q1013", 1013},
        {"Q101", NotAvailable},     {"Q10130", NotAvailable}, {"q1013", NotAvailable},
        {"B1013", NotAvailable},    {"Q1013 A2992", 1013},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(Decode(c.text).Pressure, c.pressure) << c.text;
    EXPECT_NEAR(Decode("A2992").Pressure, 1013.207888, 1e-9);
}

TEST_F(DecodeMetarTest, RemarksEndTheDecode) {
    const TWeatherInfo r = Decode("EHAM RMK 121225Z 24012KT FEW020");
    EXPECT_EQ(r.TimeGroup, "");
    EXPECT_EQ(r.WindSpeed, NotAvailable);
    EXPECT_FALSE(r.CloudLayers[0].Present);
    EXPECT_EQ(r.Metar, "EHAM RMK 121225Z 24012KT FEW020") << "the report line stays whole";
    EXPECT_TRUE(Decode("EHAM 9999 RMKS FEW020").CloudLayers[0].Present) << "only RMK itself";
}

TEST_F(DecodeMetarTest, ProcessesPendingEventsAfterEveryGroup) {
    int calls = 0;
    TWeatherInfo r;
    decoder.DecodeMetar("2010/05/12 12:25\n EHAM\t121225Z  24012KT\r\n RMK A B", r, 0, true,
                        [&calls] { ++calls; });
    EXPECT_EQ(calls, 5) << "the two groups of the first line count too";
}

TEST_F(DecodeMetarTest, AnotherDecodeMayRunFromTheEventCallback) {
    TWeatherInfo outer;
    TWeatherInfo inner;
    bool nested = false;
    decoder.DecodeMetar("EHAM 121225Z 24012KT 9999 -RA", outer, 0, true, [&] {
        if (nested)
            return;
        nested = true;
        decoder.DecodeMetar("LFPG 120000Z 9999 FEW010 Q1020", inner, 0, true);
    });
    EXPECT_EQ(outer.TimeGroup, "121225Z");
    EXPECT_EQ(outer.Weather, "Light Rain");
    EXPECT_EQ(outer.Condition, 5);
    EXPECT_EQ(outer.Pressure, NotAvailable);
    EXPECT_EQ(inner.TimeGroup, "120000Z");
    EXPECT_EQ(inner.Pressure, 1020);
    EXPECT_EQ(inner.Condition, 2);
}

TEST_F(DecodeMetarTest, BadInputStillYieldsACompleteRecord) {
    constexpr char bytes[] = "\x00\x01\xff\xfe RA \x80\x90 9999\x00\x7f FEW010";
    const std::string binary(bytes, sizeof bytes - 1);
    const std::string huge(1 << 20, 'A');
    const std::string hugeDigits = "EHAM " + std::string(1 << 20, '9') + " FEW010";
    struct Case {
        std::string text;
        bool cloud;
    };
    const Case cases[] = {
        {"", false},
        {binary, true},
        {huge, false},
        {hugeDigits, true},
        {"\t\r\n\v\f", false},
        {"EHAM\t9999\rFEW010\n12/08", true},
        {"\xc3\xa9 FEW010\xff", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        TWeatherInfo r;
        EXPECT_NO_THROW(decoder.DecodeMetar(c.text, r, 0, true));
        EXPECT_EQ(r.CloudLayers[0].Present, c.cloud);
        EXPECT_FALSE(r.SkyCondition.empty());
        EXPECT_LE(r.Condition, 22);
        EXPECT_LE(r.TemperatureIndex, 9);
    }
}

TEST_F(DecodeMetarTest, TextWithoutGroupsIsClearAndUnknown) {
    const TWeatherInfo r = Decode("   ");
    EXPECT_EQ(r.SkyCondition, "Clear sky");
    EXPECT_EQ(r.Condition, 0);
    EXPECT_EQ(r.TemperatureIndex, 0);
    EXPECT_EQ(r.Temperature, NotAvailable);
}

} // namespace
} // namespace nimbrel
