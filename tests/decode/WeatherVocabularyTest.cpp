#include "decode/WeatherVocabulary.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace nimbrel {
namespace {

struct PhraseCase {
    const char* intensity;
    const char* letters;
    const char* phrase;
    int weatherClass;
    TWeatherFlags flags;
};

// Each group on a fresh report.
TEST(WeatherPhraseTest, BuildsPhraseClassAndFlagsOfOneGroup) {
    const PhraseCase cases[] = {
        {"-", "SHRA", "Light Rain Showers", 4, {false, true, false}},
        {"+", "SHRA", "Heavy Rain Showers", 4, {false, true, true}},
        {"", "RA", " Rain", 4, {}},
        {"", "DZ", " Drizzle", 3, {}},
        {"+", "SN", "Heavy Snow", 6, {false, false, true}},
        {"", "SHSN", " Snow Showers", 6, {false, true, false}},
        {"", "PE", " Ice Pellets", 9, {}},
        {"", "FZDZ", " Freezing Drizzle", 9, {}},
        {"", "FZRA", " Freezing Rain", 9, {}},
        {"", "SNRA", " Rain Snow", 9, {}},
        {"", "RASN", " Rain Snow", 9, {}},
        {"-", "PL", "Light", 9, {}},
        {"", "TS", " Thunder Storm", 2, {true, false, false}},
        {"+", "TSRA", "Heavy Rain Thunder Storm", 4, {true, false, true}},
        {"VC", "SH", " Showers", 4, {false, true, false}},
        {"", "BCFG", " Patches Fog", 11, {}},
        {"", "MIFG", " Shallow Fog", 11, {}},
        {"", "PRFG", " Partial Fog", 11, {}},
        {"", "DRSN", " Low Drifting Snow", 6, {}},
        {"", "BLSN", " Blowing Snow", 6, {}},
        {"", "FZFG", " Freezing Fog", 11, {}},
        {"+", "FC", "Tornado", 0, {false, false, true}},
        {"", "FC", " Funnel Cloud", 0, {}},
        {"-", "FC", "Light Funnel Cloud", 0, {}},
        {"", "TSGR", " Snow Grains Hail Thunder Storm", 8, {true, false, false}},
        {"", "TSSN", " Snow Thunder Storm Sand Storm", 6, {true, false, false}},
        {"", "HZ", " Haze", 12, {}},
        {"", "BR", " Mist", 10, {}},
        {"", "FG", " Fog", 11, {}},
        {"", "FU", " Smoke", 0, {}},
        {"", "VA", " Volcanic Ash", 0, {}},
        {"", "DU", " Widespread Dust", 0, {}},
        {"", "SA", " Sand", 0, {}},
        {"", "PY", " Spray", 0, {}},
        {"", "PO", " Dust/Sand Swirls", 0, {}},
        {"", "SQ", " Sudden Winds", 0, {}},
        {"", "SS", " Sand Storm", 0, {}},
        {"", "DS", " Dust Storm", 0, {}},
        {"", "IC", " Ice Crystals", 8, {}},
        {"", "GS", " Small Hail Pellets", 8, {}},
        {"", "UP", " Unknown", 0, {}},
        {"", "SG", " Snow Grains", 6, {}},
        // Only the first descriptor and the first obscuration count.
        {"", "MIBC", " Shallow", 0, {}},
        {"", "BRFG", " Mist", 10, {}},
        {"", "FGBR", " Mist", 10, {}},
        // Codes are found anywhere in the letters, not only at even positions.
        {"", "XRAX", " Rain", 4, {}},
        {"", "AUTO", "", 0, {}},
        {"", "NSC", "", 0, {}},
        {"VC", "", "", 0, {}},
    };
    for (const PhraseCase& c : cases) {
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

TEST(WeatherPhraseTest, ReportFlagsCarryToLaterGroups) {
    TWeatherInfo record;
    TWeatherFlags flags;
    EXPECT_EQ(WeatherPhrase("", "SHRA", record, flags), " Rain Showers");
    EXPECT_EQ(WeatherPhrase("", "BR", record, flags), " Showers Mist");
    EXPECT_EQ(record.WeatherClass, 10);

    TWeatherInfo thunder;
    TWeatherFlags thunderFlags;
    WeatherPhrase("", "TS", thunder, thunderFlags);
    EXPECT_EQ(WeatherPhrase("-", "RA", thunder, thunderFlags), "Light Rain Thunder Storm");
}

TEST(WindDirectionTest, PicksTheCompassSectorAtInclusiveBounds) {
    struct Case {
        const char* direction;
        double speed;
        const char* text;
        int index;
    };
    const Case cases[] = {
        {"000", 5, "N", 0},           {"011", 5, "N", 0},     {"012", 5, "N-NE", 1},
        {"032", 5, "N-NE", 1},        {"033", 5, "NE", 2},    {"056", 5, "NE", 2},
        {"057", 5, "E-NE", 3},        {"078", 5, "E-NE", 3},  {"079", 5, "E", 4},
        {"101", 5, "E", 4},           {"102", 5, "E-SE", 5},  {"123", 5, "E-SE", 5},
        {"124", 5, "SE", 6},          {"146", 5, "SE", 6},    {"147", 5, "S-SE", 7},
        {"168", 5, "S-SE", 7},        {"169", 5, "S", 8},     {"191", 5, "S", 8},
        {"192", 5, "S-SW", 9},        {"213", 5, "S-SW", 9},  {"214", 5, "SW", 10},
        {"236", 5, "SW", 10},         {"237", 5, "W-SW", 11}, {"258", 5, "W-SW", 11},
        {"259", 5, "W", 12},          {"281", 5, "W", 12},    {"282", 5, "W-NW", 13},
        {"303", 5, "W-NW", 13},       {"304", 5, "NW", 14},   {"326", 5, "NW", 14},
        {"327", 5, "N-NW", 15},       {"348", 5, "N-NW", 15}, {"349", 5, "N", 0},
        {"360", 5, "N", 0},           {"361", 5, "", 18},     {"999", 5, "", 18},
        {"VRB", 5.5, "variable", 16}, {"VRB", 0, "", 18},     {"000", 0, "Calm", 17},
        {"240", 0, "", 18},           {"360", 0, "", 18},
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
        {{"SCT", "BKN"}, NotAvailable, 11, NotAvailable, "Mostly cloudy"},
        {{"BKN", "BKN"}, NotAvailable, 16, NotAvailable, "Overcast"},
        {{"OVC", "OVC", "OVC"}, NotAvailable, 48, NotAvailable, "Overcast"},
        {{"FEW", "BKN", "SKC"}, NotAvailable, 0, 9999, "Clear sky"},
        {{"CAVOK"}, NotAvailable, 0, 9999, "Clear sky"},
        {{"CLR"}, NotAvailable, 0, 9999, "Clear sky"},
        // A visibility the report gave stands; a clear sky does not make it unrestricted.
        {{"CLR"}, 16090, 0, 16090, "Clear sky"},
        {{"SKC"}, 800, 0, 800, "Clear sky"},
        {{"NSC"}, NotAvailable, 0, NotAvailable, "Clear sky"},
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

TEST(SkyConditionTest, BandsTheCloudCover) {
    struct Case {
        int cover;
        const char* sky;
    };
    const Case cases[] = {{0, "Clear sky"},
                          {1, "Mostly clear"},
                          {2, "Mostly clear"},
                          {3, "Partly cloudy"},
                          {6, "Partly cloudy"},
                          {7, "Mostly cloudy"},
                          {15, "Mostly cloudy"},
                          {16, "Overcast"},
                          {999, "Overcast"},
                          {1000, ""},
                          {-1, ""}};
    for (const Case& c : cases) {
        TWeatherInfo record;
        record.CloudCover = c.cover;
        DetermineSkyCondition(record);
        EXPECT_EQ(record.SkyCondition, c.sky) << c.cover;
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
        {0, 0, true, none, 1},          {0, 0, false, none, 0},
        {0, 1, true, none, 3},          {0, 14, true, none, 3},
        {0, 14, false, none, 2},        {0, 15, true, none, 4},
        {0, 16, false, none, 4},        {3, 0, true, none, 6},
        {3, 0, false, none, 5},         {4, 0, false, none, 5},
        {4, 0, true, showers, 6},       {4, 0, false, showers, 6},
        {4, 0, true, heavyShowers, 8},  {4, 0, false, heavyShowers, 7},
        {4, 0, true, heavy, 7},         {6, 0, true, none, 13},
        {6, 0, false, showers, 14},     {6, 0, true, heavy, 15},
        {6, 0, true, heavyShowers, 16}, {6, 0, false, heavyShowers, 15},
        {8, 0, true, showers, 12},      {8, 0, false, showers, 11},
        {8, 0, true, none, 11},         {9, 0, true, showers, 10},
        {9, 0, true, none, 9},          {10, 0, true, none, 17},
        {11, 0, false, none, 18},       {12, 0, true, none, 21},
        {2, 0, true, thunder, 19},      {4, 16, false, thunder, 20},
        {10, 0, true, showers, 17},
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
    struct Case {
        double temperature;
        int band;
    };
    const Case cases[] = {{NotAvailable, 0}, {-40, 0}, {-21, 0}, {-20, 1}, {-14, 1}, {-13, 2},
                          {-7, 2},           {-6, 3},  {0, 3},   {0.5, 4}, {7, 4},   {8, 5},
                          {14, 5},           {15, 6},  {21, 6},  {22, 7},  {28, 7},  {29, 8},
                          {35, 8},           {36, 9},  {99, 9}};
    for (const Case& c : cases) {
        TWeatherInfo record;
        record.Temperature = c.temperature;
        DetermineTemperatureIndex(record);
        EXPECT_EQ(record.TemperatureIndex, c.band) << c.temperature;
    }
}

TEST(WeatherImageIndexTest, MapsEveryConditionToItsPicture) {
    const int pictures[] = {26, 2,  3,  4,  8,  9,  10, 11, 12, 13, 14, 15,
                            16, 17, 18, 19, 20, 25, 25, 22, 21, 0,  24};
    for (int condition = 0; condition <= 22; ++condition)
        EXPECT_EQ(WeatherImageIndex(condition), pictures[condition]) << condition;
    for (const int outside : {-1, 23, 255, 1000})
        EXPECT_EQ(WeatherImageIndex(outside), 24) << outside;
}

} // namespace
} // namespace nimbrel
