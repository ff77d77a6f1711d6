#include "decode/WeatherVocabulary.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace nimbrel {
namespace {

TEST(WeatherPhraseTest, BuildsPhraseClassAndFlagsOfOneGroup) {
    struct Case {
        const char *intensity, *letters, *phrase;
        int weatherClass;
        TWeatherFlags flags; // Thunder, Showers, Heavy
    };
    const Case cases[] = {
        {"-", "SHRA", "Light Rain Showers", 4, {false, true, false}},
        {"+", "SN", "Heavy Snow", 6, {false, false, true}},
        {"+", "TSRA", "Heavy Rain Thunder Storm", 4, {true, false, true}},
        {"VC", "SH", " Showers", 4, {false, true, false}},
        // Precipitation parts follow the table, not the report; mixed and freezing become 9.
        {"", "SNRA", " Rain Snow", 9, {}},
        {"", "PE", " Ice Pellets", 9, {}},
        {"-", "PL", "Light", 9, {}},
        {"", "FZDZ", " Freezing Drizzle", 9, {}},
        {"", "FZFG", " Freezing Fog", 11, {}},
        {"", "BCFG", " Patches Fog", 11, {}},
        {"", "MIBC", " Shallow", 0, {}},
        {"", "FGBR", " Mist", 10, {}},
        {"+", "FC", "Tornado", 0, {false, false, true}},
        {"-", "FC", "Light Funnel Cloud", 0, {}},
        // Codes are found anywhere in the letters, odd positions included.
        {"", "TSGR", " Snow Grains Hail Thunder Storm", 8, {true, false, false}},
        {"", "TSSN", " Snow Thunder Storm Sand Storm", 6, {true, false, false}},
        {"", "HZ", " Haze", 12, {}},
        {"", "UP", " Unknown", 0, {}},
        {"", "AUTO", "", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.intensity) + c.letters);
        TWeatherInfo record;
        TWeatherFlags flags;
        EXPECT_EQ(WeatherPhrase(c.intensity, c.letters, record, flags), c.phrase);
        EXPECT_EQ(record.WeatherClass, c.weatherClass);
        EXPECT_EQ(flags.Thunder, c.flags.Thunder);
        EXPECT_EQ(flags.Showers, c.flags.Showers);
        EXPECT_EQ(flags.Heavy, c.flags.Heavy);
    }
}

TEST(WeatherPhraseTest, ReportFlagsGiveLaterGroupsTheSuffix) {
    TWeatherInfo record;
    TWeatherFlags flags;
    EXPECT_EQ(WeatherPhrase("", "SHRA", record, flags), " Rain Showers");
    EXPECT_EQ(WeatherPhrase("", "BR", record, flags), " Showers Mist");
    EXPECT_EQ(record.WeatherClass, 10);
    WeatherPhrase("", "TS", record, flags);
    EXPECT_EQ(WeatherPhrase("-", "RA", record, flags), "Light Rain Showers") << "showers win";
}

TEST(WindDirectionTest, PicksTheSectorAtInclusiveBounds) {
    struct Case {
        const char* direction;
        double speed;
        const char* text;
        int index;
    };
    const Case cases[] = {
        {"000", 5, "N", 0},   {"011", 5, "N", 0},     {"012", 5, "N-NE", 1},
        {"236", 5, "SW", 10}, {"237", 5, "W-SW", 11}, {"258", 5, "W-SW", 11},
        {"259", 5, "W", 12},  {"348", 5, "N-NW", 15}, {"349", 5, "N", 0},
        {"360", 5, "N", 0},   {"361", 5, "", 18},     {"VRB", 5.5, "variable", 16},
        {"VRB", 0, "", 18},   {"000", 0, "Calm", 17}, {"240", 0, "", 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.direction) + " at " + std::to_string(c.speed));
        TWeatherInfo record;
        record.WindSpeed = c.speed;
        DetermineWindDirection(record, c.direction);
        EXPECT_EQ(record.WindDirection, c.text);
        EXPECT_EQ(record.WindDirectionIndex, c.index);
    }
}

TEST(CloudAmountTest, SumsCoversAndClearsOnAClearSky) {
    struct Case {
        std::vector<const char*> covers;
        double visibilityBefore;
        int cover;
        double visibility;
        const char* sky;
    };
    const Case cases[] = {
        {{}, NotAvailable, 0, NotAvailable, "Clear sky"},
        {{"FEW"}, NotAvailable, 2, NotAvailable, "Mostly clear"},
        {{"FEW", "SCT"}, NotAvailable, 5, NotAvailable, "Partly cloudy"},
        {{"SCT", "SCT"}, NotAvailable, 6, NotAvailable, "Partly cloudy"},
        {{"FEW", "FEW", "SCT"}, NotAvailable, 7, NotAvailable, "Mostly cloudy"},
        {{"BKN", "BKN"}, NotAvailable, 16, NotAvailable, "Overcast"},
        {{"FEW", "BKN", "SKC"}, NotAvailable, 0, 9999, "Clear sky"},
        {{"CAVOK"}, NotAvailable, 0, 9999, "Clear sky"},
        {{"CLR"}, 16090, 0, 9999, "Clear sky"},
    };
    for (const Case& c : cases) {
        TWeatherInfo record;
        record.Visibility = c.visibilityBefore;
        for (const char* cover : c.covers)
            AddCloudAmount(record, cover);
        DetermineSkyCondition(record);
        EXPECT_EQ(record.CloudCover, c.cover);
        EXPECT_EQ(record.Visibility, c.visibility);
        EXPECT_EQ(record.SkyCondition, c.sky);
    }
}

TEST(ConditionTest, CombinesClassCoverDaytimeAndReportFlags) {
    struct Case {
        int weatherClass, cover;
        bool daytime;
        TWeatherFlags flags;
        int condition;
    };
    const TWeatherFlags none{}, showers{false, true, false}, heavy{false, false, true},
        heavyShowers{false, true, true}, thunder{true, false, false};
    const Case cases[] = {
        {0, 0, true, none, 1},          {0, 0, false, none, 0},     {0, 14, true, none, 3},
        {0, 14, false, none, 2},        {0, 15, true, none, 4},     {3, 0, true, none, 6},
        {3, 0, false, none, 5},         {4, 0, false, showers, 6},  {4, 0, true, heavyShowers, 8},
        {4, 0, false, heavyShowers, 7}, {4, 0, true, heavy, 7},     {6, 0, true, none, 13},
        {6, 0, false, showers, 14},     {6, 0, true, heavy, 15},    {6, 0, true, heavyShowers, 16},
        {8, 0, true, showers, 12},      {8, 0, false, showers, 11}, {9, 0, true, showers, 10},
        {9, 0, true, none, 9},          {10, 0, true, showers, 17}, {11, 0, false, none, 18},
        {12, 0, true, none, 21},        {2, 0, true, thunder, 19},  {4, 16, false, thunder, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("class " + std::to_string(c.weatherClass) + " cover " +
                     std::to_string(c.cover) + (c.daytime ? " day" : " night"));
        TWeatherInfo record;
        record.WeatherClass = static_cast<uint8_t>(c.weatherClass);
        record.CloudCover = c.cover;
        DetermineCondition(record, c.daytime, c.flags);
        EXPECT_EQ(record.Condition, c.condition);
    }
}

TEST(TemperatureIndexTest, BandsTheTemperature) {
    const std::pair<double, int> cases[] = {{NotAvailable, 0}, {-21, 0}, {-20, 1}, {-14, 1},
                                            {-13.5, 2},        {0, 3},   {0.5, 4}, {28, 7},
                                            {35, 8},           {36, 9}};
    for (const auto& [temperature, band] : cases) {
        TWeatherInfo record;
        record.Temperature = temperature;
        DetermineTemperatureIndex(record);
        EXPECT_EQ(record.TemperatureIndex, band) << temperature;
    }
}

TEST(WeatherImageIndexTest, MapsEveryConditionToItsPicture) {
    // Thunderstorm by day (19) shows the picture with the sun, by night (20) the one without.
    const int pictures[] = {26, 2,  3,  4,  8,  9,  10, 11, 12, 13, 14, 15,
                            16, 17, 18, 19, 20, 25, 25, 21, 22, 0,  24};
    for (int condition = 0; condition <= 22; ++condition)
        EXPECT_EQ(WeatherImageIndex(condition), pictures[condition]) << condition;
    for (const int outside : {-1, 23, 255})
        EXPECT_EQ(WeatherImageIndex(outside), 24) << outside;
}

} // namespace
} // namespace nimbrel
