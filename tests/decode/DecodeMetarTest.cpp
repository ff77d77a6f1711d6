#include "decode/DecodeMetar.h"

#include "decode/WeatherVocabulary.h"
#include "support/FakeClock.h"

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
    const TWeatherInfo r = Decode("2010/05/12 12:25\n" + std::string(Eham), 2);
    EXPECT_EQ(r.Metar, Eham);
    EXPECT_EQ(r.UpdateTime, "15:07") << "the PC's local clock, not UTC";
    EXPECT_TRUE(r.IsRecent);
    EXPECT_EQ(r.TimeGroup, "121225Z");
    EXPECT_EQ(r.UtcTime, "12:25 UTC");
    EXPECT_EQ(r.LocalTime, "14:25");
    EXPECT_DOUBLE_EQ(r.WindSpeed, 12 * Knot);
    EXPECT_EQ(r.WindDirection, "W-SW");
    EXPECT_EQ(r.WindDirectionIndex, 11);
    EXPECT_EQ(r.Visibility, 9999);
    EXPECT_EQ(r.CloudLayers[0].Cover, "FEW");
    EXPECT_EQ(r.CloudLayers[0].Height, 20);
    EXPECT_EQ(r.SkyCondition, "Mostly clear");
    EXPECT_EQ(r.Temperature, 12);
    EXPECT_EQ(r.DewPoint, 8);
    EXPECT_EQ(r.Pressure, 1013);
    EXPECT_EQ(r.Condition, 3);
    EXPECT_EQ(r.TemperatureIndex, 5);
    EXPECT_EQ(r.Weather, "");

    const TWeatherInfo twelve = Decode(Eham, 2, false);
    EXPECT_EQ(twelve.UtcTime, "12:25 PM UTC");
    EXPECT_EQ(twelve.LocalTime, "2:25 PM");
}

TEST_F(DecodeMetarTest, TakesTheReportLineAfterTheFirstLineFeed) {
    const std::pair<std::string, std::string> cases[] = {
        {"EHAM 121225Z", "EHAM 121225Z"},
        {"2010/05/12 12:25\r\nEHAM 121225Z", "EHAM 121225Z"},
        {"first\nsecond\nthird", "second\nthird"},
        {"line\n", ""}};
    for (const auto& [text, metar] : cases)
        EXPECT_EQ(Decode(text).Metar, metar) << text;
}

TEST_F(DecodeMetarTest, TimeGroup) {
    struct Case {
        std::string_view text;
        int offset, utcHour;
        const char *timeGroup, *utcTime, *localTime;
        bool recent;
        int condition; // without cloud or weather: 1 by day, 0 by night
    };
    const Case cases[] = {
        {"010300Z", -5, 13, "010300Z", "03:00 UTC", "22:00", false, 0},
        {"121225Z", 0, 14, "121225Z", "12:25 UTC", "12:25", true, 1},
        {"121225Z", 0, 15, "121225Z", "12:25 UTC", "12:25", false, 1},
        {"122300Z", 0, 1, "122300Z", "23:00 UTC", "23:00", true, 0},
        {"122200Z", 0, 1, "122200Z", "22:00 UTC", "22:00", false, 0},
        {"121300Z", 0, 12, "121300Z", "13:00 UTC", "13:00", false, 1},
        {"120600Z", 1, 6, "120600Z", "06:00 UTC", "07:00", true, 1},
        {"121900Z", 1, 6, "121900Z", "19:00 UTC", "20:00", false, 0},
        {"121225Zextra 130000Z", 0, 12, "121225Z", "12:25 UTC", "12:25", true, 1},
        // An hour no clock shows must not pass as recent through the wrap-around.
        {"129900Z", 0, 1, "129900Z", "99:00 UTC", "75:00", false, 0},
        {"12250Z", 0, 12, "", "", "", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " offset " + std::to_string(c.offset));
        clock.utc.Hour = c.utcHour;
        const TWeatherInfo r = Decode(c.text, c.offset);
        EXPECT_EQ(r.TimeGroup, c.timeGroup);
        EXPECT_EQ(r.UtcTime, c.utcTime);
        EXPECT_EQ(r.LocalTime, c.localTime);
        EXPECT_EQ(r.IsRecent, c.recent);
        EXPECT_EQ(r.Condition, c.condition);
    }
}

TEST_F(DecodeMetarTest, DaytimeCarriesOverToAReportWithoutTimeGroup) {
    const std::pair<const char*, int> reports[] = {{"EHAM 9999", 0},
                                                   {"EHAM 121225Z", 1},
                                                   {"EHAM 9999", 1},
                                                   {"EHAM 122325Z", 0},
                                                   {"EHAM 9999", 0}};
    for (const auto& [text, condition] : reports)
        EXPECT_EQ(Decode(text).Condition, condition) << text;
}

TEST_F(DecodeMetarTest, WindGroup) {
    struct Case {
        std::string_view text;
        double speed;
        const char* direction;
        int index;
    };
    const Case cases[] = {
        {"00000KT", 0, "Calm", 17},
        {"VRB03KT", 3 * Knot, "variable", 16},
        {"VRB00KT", 0, "", 18},
        {"00510KT", 10 * Knot, "N", 0},
        {"24012G25KT", 12 * Knot, "W-SW", 11},
        {"24012MPS", 12 * 3.6, "W-SW", 11},
        {"24012KMH", 12, "W-SW", 11},
        {"24012", 12 * Knot, "W-SW", 11},
        {"37010KT", 10 * Knot, "", 18},
        {"24012KTS 2401KT 24012kt 36020KT", 20 * Knot, "N", 0},
        {"24012KT 36020KT", 12 * Knot, "W-SW", 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TWeatherInfo r = Decode(c.text);
        EXPECT_DOUBLE_EQ(r.WindSpeed, c.speed);
        EXPECT_EQ(r.WindDirection, c.direction);
        EXPECT_EQ(r.WindDirectionIndex, c.index);
    }
}

TEST_F(DecodeMetarTest, VisibilityGroup) {
    const std::pair<std::string_view, double> cases[] = {
        {"10SM", 16090},      {"0800", 800},
        {"4000NDV", 4000},    {"1/2SM P6SM M1/4SM 100SM 08000", NotAvailable},
        {"0800 1200", 800},   {"CAVOK", 9999},
        {"CAVOK 3000", 3000}, {"10SM CLR", 9999},
        {"0800 SKC", 9999}};
    for (const auto& [text, visibility] : cases)
        EXPECT_EQ(Decode(text).Visibility, visibility) << text;
}

TEST_F(DecodeMetarTest, WeatherGroupsBetweenVisibilityAndTemperature) {
    struct Case {
        std::string_view text;
        const char* weather;
        int condition;
    };
    const Case cases[] = {
        {"121200Z 9999 -RA BR 12/10", "Light Rain Mist", 17},
        {"121200Z 9999 +TSRA 12/10 TEMPO SHRA", "Heavy Rain Thunder Storm", 19},
        {"120000Z 9999 SHRA +SN", " Rain Showers Heavy Snow Showers", 15},
        {"121200Z 9999 SHRA +SN", " Rain Showers Heavy Snow Showers", 16},
        {"121200Z EHAM AUTO 9999 RA1 ra +FC", "Tornado", 1},
        {"121200Z EHAM 1/2SM FG 12/10", "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TWeatherInfo r = Decode(c.text);
        EXPECT_EQ(r.Weather, c.weather);
        EXPECT_EQ(r.Condition, c.condition);
    }
}

TEST_F(DecodeMetarTest, CloudGroupsFillThreeSlots) {
    struct Case {
        std::string_view text;
        std::array<const char*, 3> covers;
        std::array<int, 3> heights;
        int cover;
    };
    const Case cases[] = {
        {"FEW010 SCT020 BKN030 OVC040", {"FEW", "SCT", "BKN"}, {10, 20, 30}, 13},
        {"FEW017 FEW018CB SCT030TCU", {"FEW", "FEW", "SCT"}, {17, 18, 30}, 7},
        {"CAVOK", {"CAVOK", "", ""}, {0, 0, 0}, 0},
        {"BKN030 TEMPO OVC010", {"BKN", "OVC", ""}, {30, 10, 0}, 24},
        {"VV002 NSC FEW01 SCT0300 ovc010", {"", "", ""}, {0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TWeatherInfo r = Decode(c.text);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(r.CloudLayers[i].Present, *c.covers[i] != '\0') << "slot " << i;
            EXPECT_EQ(r.CloudLayers[i].Cover, c.covers[i]);
            EXPECT_EQ(r.CloudLayers[i].Height, c.heights[i]);
        }
        EXPECT_EQ(r.CloudCover, c.cover);
    }
}

TEST_F(DecodeMetarTest, TemperatureAndPressureGroups) {
    struct Case {
        std::string_view text;
        double temperature, dewPoint, pressure;
    };
    const Case cases[] = {
        {"M05/M12 Q0998", -5, -12, 998},
        {"12/M02 A2992", 12, -2, 2992 * 0.338639},
        {"12/08/extra Q1013 A2992", 12, 8, 1013},
        {"12/ 1/08 Q101 Q10130 q1013 B1013", NotAvailable, NotAvailable, NotAvailable},
        {"12/08 M03/M04", 12, 8, NotAvailable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TWeatherInfo r = Decode(c.text);
        EXPECT_EQ(r.Temperature, c.temperature);
        EXPECT_EQ(r.DewPoint, c.dewPoint);
        EXPECT_DOUBLE_EQ(r.Pressure, c.pressure);
    }
    EXPECT_NEAR(Decode("A2992").Pressure, 1013.207888, 1e-9);
    const TWeatherInfo zero = Decode("M00/M00");
    EXPECT_FALSE(std::signbit(zero.Temperature) || std::signbit(zero.DewPoint)) << "no -0";
}

TEST_F(DecodeMetarTest, RemarksEndTheDecode) {
    const TWeatherInfo r = Decode("EHAM RMK 121225Z 24012KT FEW020");
    EXPECT_EQ(r.TimeGroup, "");
    EXPECT_EQ(r.WindSpeed, NotAvailable);
    EXPECT_FALSE(r.CloudLayers[0].Present);
    EXPECT_EQ(r.Metar, "EHAM RMK 121225Z 24012KT FEW020");
    EXPECT_TRUE(Decode("EHAM RMKS FEW020").CloudLayers[0].Present) << "only RMK itself";
}

TEST_F(DecodeMetarTest, EventCallbackRunsPerGroupAndMayDecodeAgain) {
    int calls = 0;
    TWeatherInfo outer;
    TWeatherInfo inner;
    decoder.DecodeMetar("2010/05/12 12:25\n EHAM\t121225Z  -RA\r\n9999 -RA RMK A", outer, 0, true,
                        [&] {
                            if (++calls == 1)
                                decoder.DecodeMetar("120000Z 9999 FEW010 Q1020", inner, 0, true);
                        });
    EXPECT_EQ(calls, 7);
    EXPECT_EQ(outer.Weather, "Light Rain");
    EXPECT_EQ(outer.Condition, 5);
    EXPECT_EQ(outer.Pressure, NotAvailable);
    EXPECT_EQ(inner.Pressure, 1020);
    EXPECT_EQ(inner.Condition, 2);
}

TEST_F(DecodeMetarTest, BadInputStillYieldsACompleteRecord) {
    constexpr char bytes[] = "\x00\x01\xff\xfe RA \x80\x90 9999\x00\x7f FEW010";
    const std::pair<std::string, bool> cases[] = {
        {"", false},
        {std::string(bytes, sizeof bytes - 1), true},
        {std::string(1 << 20, 'A'), false},
        {"EHAM " + std::string(1 << 20, '9') + " FEW010", true},
        {"EHAM\t9999\v\fFEW010\r\n12/08", true},
        {"\xc3\xa9 FEW010\xff", false},
    };
    for (const auto& [text, cloud] : cases) {
        SCOPED_TRACE(text.substr(0, 40));
        TWeatherInfo r;
        EXPECT_NO_THROW(decoder.DecodeMetar(text, r, 0, true));
        EXPECT_EQ(r.CloudLayers[0].Present, cloud);
        EXPECT_FALSE(r.SkyCondition.empty());
        EXPECT_LE(r.Condition, 22);
    }
    const TWeatherInfo empty = Decode("   ");
    EXPECT_EQ(empty.SkyCondition, "Clear sky");
    EXPECT_EQ(empty.Condition, 0);
    EXPECT_EQ(empty.TemperatureIndex, 0);
}

} // namespace
} // namespace nimbrel
