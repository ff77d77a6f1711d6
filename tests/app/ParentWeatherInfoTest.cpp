#include "app/ParentWeatherInfo.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace nimbrel {
namespace {

const std::string Deg = "\xC2\xBA"; // U+00BA, not the degree sign

// EHAM 081225Z 24012KT 9999 FEW030 12/08 Q1013 as the decoder leaves it.
TWeatherInfo Schiphol() {
    TWeatherInfo r;
    r.Metar = "EHAM 081225Z 24012KT 9999 FEW030 12/08 Q1013 NOSIG";
    r.IsRecent = true;
    r.UtcTime = "12:25 UTC";
    r.LocalTime = "14:25";
    r.Condition = 3;
    r.SkyCondition = "Mostly clear";
    r.WindDirection = "W-SW";
    r.WindDirectionIndex = 11;
    r.WindSpeed = 12 * 1.8556701030927835;
    r.Visibility = 9999;
    r.Temperature = 12;
    r.TemperatureIndex = 5;
    r.DewPoint = 8;
    r.Pressure = 1013;
    return r;
}

TSettings Display(bool metric, bool celsius, bool advanced = false) {
    TSettings s;
    s.UseMetricValues = metric;
    s.UseCelsius = celsius;
    s.AdvancedWeatherReport = advanced;
    s.ShowLocationCode = true;
    return s;
}

PanelModel Shown(const TWeatherInfo& r, const TSettings& s, const std::string& name = "Schiphol",
                 const std::string& code = "EHAM") {
    PanelModel panel = InitialPanel();
    DisplayWeatherInfo(panel, r, name, code, s);
    return panel;
}

TEST(DisplayWeatherInfo, WindCases) {
    struct Case {
        double speed;
        const char* direction;
        int index;
        const char* label;
        const char* figure;
    };
    const Case cases[] = {
        {0, "Calm", 17, "0 km/h  (Calm)", ""},
        {3 * 1.8556701030927835, "variable", 16, "6 km/h  (variable)", "6"},
        {10 * 1.8556701030927835, "", 18, "19 km/h  ()", ""}, // direction outside every sector
        {NotAvailable, "", 18, "", ""},
    };
    for (const Case& c : cases) {
        TWeatherInfo r;
        r.WindSpeed = c.speed;
        r.WindDirection = c.direction;
        r.WindDirectionIndex = c.index;
        const PanelModel p = Shown(r, Display(true, true));
        EXPECT_EQ(p.LabelWind, c.label) << c.speed;
        EXPECT_EQ(p.ImageWindSpeed, c.index) << c.speed;
        EXPECT_EQ(p.LabelWindSpeedInImage, c.figure) << c.speed;
    }
}

TEST(DisplayWeatherInfo, ThermometerCases) {
    struct Case {
        double temperature;
        int index;
        bool celsius;
        std::string label;
        int picture;
        std::string figure;
    };
    const Case cases[] = {
        {NotAvailable, 10, true, "", 10, ""},
        {-3, 2, true, "-3 " + Deg + "C", 2, "-3" + Deg},
        {-0.0, 3, true, "0 " + Deg + "C", 3, "0" + Deg}, // M00 is reported as minus zero
        {-3, 2, false, "27 " + Deg + "F", 2, "27" + Deg},
        {10, 4, false, "50 " + Deg + "F", 4, "50" + Deg},
        {40, 10, true, "40 " + Deg + "C", 10, ""}, // a band without a figure
    };
    for (const Case& c : cases) {
        TWeatherInfo r;
        r.Temperature = c.temperature;
        r.TemperatureIndex = c.index;
        const PanelModel p = Shown(r, Display(true, c.celsius));
        EXPECT_EQ(p.LabelTemperature, c.label) << c.temperature;
        EXPECT_EQ(p.ImageTemperature, c.picture) << c.temperature;
        EXPECT_EQ(p.LabelTemperatureInImage, c.figure) << c.temperature;
    }
}

TEST(DisplayWeatherInfo, PresentWeatherIsCapitalisedTrimmedAndShortened) {
    struct Case {
        std::string weather, label, hint;
    };
    const Case cases[] = {
        {" Rain Showers", "Rain Showers", " Rain Showers"},
        {"light rain", "Light rain", "Light rain"},
        {"exactly twenty-five chars", "Exactly twenty-five chars", "Exactly twenty-five chars"},
        {"heavy thunderstorm with rain", "Heavy thunderstorm with ...",
         "Heavy thunderstorm with rain"},
    };
    for (const Case& c : cases) {
        TWeatherInfo r;
        r.Weather = c.weather;
        const PanelModel p = Shown(r, Display(true, true));
        EXPECT_EQ(p.LabelPresentWeather, c.label) << c.weather;
        EXPECT_EQ(p.LabelPresentWeatherHint, c.hint) << c.weather;
    }
}

TEST(DisplayWeatherInfo, AdvancedReportInMilesAndLongReportLine) {
    const std::pair<double, const char*> cases[] = {
        {9999, "6 miles"}, {16090, "10 miles"}, {NotAvailable, ""}};
    for (const auto& [metres, label] : cases) {
        TWeatherInfo r = Schiphol();
        r.Visibility = metres;
        EXPECT_EQ(Shown(r, Display(false, false, true)).LabelVisibility, label) << metres;
    }
    TWeatherInfo longReport;
    longReport.Metar = std::string(100, 'M');
    EXPECT_EQ(Shown(longReport, Display(true, true, true)).LabelMetar,
              "METAR:  " + std::string(94, 'M') + "...");
    EXPECT_EQ(Shown(TWeatherInfo{}, Display(true, true, true)).LabelMetar, "METAR:");
}

TEST(DisplayWeatherInfo, NameWithoutCodeShowsLocationAndAnOldReportIsRed) {
    TWeatherInfo r = Schiphol();
    r.IsRecent = false;
    const PanelModel p = Shown(r, Display(true, true), "Schiphol", "");
    EXPECT_EQ(p.LabelLocationName, "Location");
    EXPECT_TRUE(p.LabelTimeRed);
}

TEST(DisplayWeatherInfo, HiddenAdvancedControlsKeepTheirTexts) {
    PanelModel panel = InitialPanel();
    DisplayWeatherInfo(panel, Schiphol(), "A", "EHAM", Display(true, true, false));
    EXPECT_FALSE(panel.AdvancedVisible);
    EXPECT_EQ(panel.LabelVisibility, "-");
    EXPECT_EQ(panel.LabelMetar, "<Metar>");

    DisplayWeatherInfo(panel, Schiphol(), "A", "EHAM", Display(true, true, true));
    DisplayWeatherInfo(panel, TWeatherInfo{}, "A", "EHAM", Display(true, true, false));
    EXPECT_EQ(panel.LabelVisibility, "9999 metres");
    EXPECT_EQ(panel.LabelWind, "") << "the visible texts follow the new record";
    EXPECT_EQ(panel.ImageSignificantWeather, 24);
}

TEST(LocalTimeText, ShiftsByTheOffsetOnly) {
    struct Case {
        int hour, minute, offset;
        bool use24;
        const char* text;
    };
    const Case cases[] = {
        {5, 5, 2, true, "07:05"},   {5, 5, 2, false, "7:05 AM"},   {23, 0, 2, true, "01:00"},
        {0, 59, -1, true, "23:59"}, {12, 7, 0, false, "12:07 PM"}, {22, 30, 2, false, "12:30 AM"},
        {20, 0, 14, true, "10:00"},
    };
    for (const Case& c : cases) {
        TDateTime utc;
        utc.Hour = c.hour;
        utc.Minute = c.minute;
        EXPECT_EQ(LocalTimeText(utc, TStationZone{nullptr, c.offset}, c.use24), c.text)
            << c.hour << " " << c.offset;
    }
}

} // namespace
} // namespace nimbrel
