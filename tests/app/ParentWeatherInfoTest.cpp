#include "app/ParentWeatherInfo.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace nimbrel {
namespace {

const std::string Ordinal = "\xC2\xBA";

// The first example report of the decoder: EHAM 121225Z 24012KT 9999 FEW030 12/08 Q1013.
TWeatherInfo Schiphol() {
    TWeatherInfo r;
    r.Metar = "EHAM 121225Z 24012KT 9999 FEW030 12/08 Q1013 NOSIG";
    r.IsRecent = true;
    r.UtcTime = "12:25 UTC";
    r.LocalTime = "14:25";
    r.Condition = 3; // few clouds, day
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

TSettings Display(bool metric, bool celsius, bool advanced = false, bool showCode = true) {
    TSettings s;
    s.UseMetricValues = metric;
    s.UseCelsius = celsius;
    s.AdvancedWeatherReport = advanced;
    s.ShowLocationCode = showCode;
    return s;
}

PanelModel Shown(const TWeatherInfo& record, const TSettings& settings,
                 const std::string& name = "Amsterdam Airport Schiphol",
                 const std::string& code = "EHAM") {
    PanelModel panel = InitialPanel();
    DisplayWeatherInfo(panel, record, name, code, settings);
    return panel;
}

TEST(DisplayWeatherInfo, MetricCelsiusReport) {
    const PanelModel p = Shown(Schiphol(), Display(true, true));
    EXPECT_EQ(p.LabelLocationName, "Amsterdam Airport Schiphol (EHAM)");
    EXPECT_EQ(p.LabelTime, "12:25 UTC  (14:25 local)");
    EXPECT_FALSE(p.LabelTimeRed);
    EXPECT_EQ(p.LabelCover, "Mostly clear");
    EXPECT_EQ(p.LabelWind, "22 km/h  (W-SW)");
    EXPECT_EQ(p.LabelPressure, "1013 mbar");
    EXPECT_EQ(p.LabelTemperature, "12 " + Ordinal + "C");
    EXPECT_EQ(p.ImageTemperature, 5);
    EXPECT_EQ(p.LabelTemperatureInImage, "12" + Ordinal);
    EXPECT_EQ(p.ImageWindSpeed, 11);
    EXPECT_EQ(p.LabelWindSpeedInImage, "22");
    EXPECT_EQ(p.ImageSignificantWeather, 4);
}

TEST(DisplayWeatherInfo, ImperialFahrenheitReportKeepsPressureInMbar) {
    const PanelModel p = Shown(Schiphol(), Display(false, false));
    EXPECT_EQ(p.LabelWind, "14 mph  (W-SW)");
    EXPECT_EQ(p.LabelTemperature, "54 " + Ordinal + "F");
    EXPECT_EQ(p.LabelTemperatureInImage, "54" + Ordinal);
    EXPECT_EQ(p.LabelWindSpeedInImage, "14");
    EXPECT_EQ(p.LabelPressure, "1013 mbar");
}

TEST(DisplayWeatherInfo, WindCases) {
    struct Case {
        const char* name;
        double speed;
        const char* direction;
        int index;
        const char* label;
        const char* figure;
    };
    const Case cases[] = {
        {"calm", 0, "Calm", 17, "0 km/h  (Calm)", ""},
        {"variable 3 kt", 3 * 1.8556701030927835, "variable", 16, "6 km/h  (variable)", "6"},
        {"no sector", 10 * 1.8556701030927835, "", 18, "19 km/h  ()", ""},
        {"no wind group", NotAvailable, "", 18, "", ""},
    };
    for (const Case& c : cases) {
        TWeatherInfo r;
        r.WindSpeed = c.speed;
        r.WindDirection = c.direction;
        r.WindDirectionIndex = c.index;
        const PanelModel p = Shown(r, Display(true, true));
        EXPECT_EQ(p.LabelWind, c.label) << c.name;
        EXPECT_EQ(p.ImageWindSpeed, c.index) << c.name;
        EXPECT_EQ(p.LabelWindSpeedInImage, c.figure) << c.name;
    }
}

TEST(DisplayWeatherInfo, ThermometerCases) {
    struct Case {
        const char* name;
        double temperature;
        int index;
        bool celsius;
        const char* label;
        int picture;
        const char* figure;
    };
    const Case cases[] = {
        {"no temperature group", NotAvailable, 10, true, "", 10, ""},
        {"below zero", -3, 2, true,
         "-3 \xC2\xBA"
         "C",
         2, "-3\xC2\xBA"},
        {"minus zero shows as zero", -0.0, 3, true,
         "0 \xC2\xBA"
         "C",
         3, "0\xC2\xBA"},
        {"below zero in Fahrenheit", -3, 2, false,
         "27 \xC2\xBA"
         "F",
         2, "27\xC2\xBA"},
        {"exact Fahrenheit", 10, 4, false,
         "50 \xC2\xBA"
         "F",
         4, "50\xC2\xBA"},
        {"band without figure", 40, 10, true,
         "40 \xC2\xBA"
         "C",
         10, ""},
    };
    for (const Case& c : cases) {
        TWeatherInfo r;
        r.Temperature = c.temperature;
        r.TemperatureIndex = c.index;
        const PanelModel p = Shown(r, Display(true, c.celsius));
        EXPECT_EQ(p.LabelTemperature, c.label) << c.name;
        EXPECT_EQ(p.ImageTemperature, c.picture) << c.name;
        EXPECT_EQ(p.LabelTemperatureInImage, c.figure) << c.name;
    }
}

TEST(DisplayWeatherInfo, LocationNameAndReportTime) {
    struct Case {
        std::string name, code;
        bool showCode;
        std::string utc, local;
        std::string expectedName, expectedTime;
    };
    const Case cases[] = {
        {"Schiphol", "EHAM", true, "12:25 UTC", "14:25", "Schiphol (EHAM)",
         "12:25 UTC  (14:25 local)"},
        {"Schiphol", "EHAM", false, "", "14:25", "Schiphol", ""},
        {"", "EHAM", true, "12:25 UTC", "", "Location", ""},
        {"Schiphol", "", true, "", "", "Location", ""},
    };
    for (const Case& c : cases) {
        TWeatherInfo r;
        r.UtcTime = c.utc;
        r.LocalTime = c.local;
        const PanelModel p = Shown(r, Display(true, true, false, c.showCode), c.name, c.code);
        EXPECT_EQ(p.LabelLocationName, c.expectedName);
        EXPECT_EQ(p.LabelTime, c.expectedTime);
        EXPECT_TRUE(p.LabelTimeRed) << "a report not recent is red";
    }
}

TEST(DisplayWeatherInfo, PresentWeatherIsCapitalisedTrimmedAndShortened) {
    struct Case {
        std::string weather, label, hint;
    };
    const Case cases[] = {
        {" Rain Showers", "Rain Showers", " Rain Showers"},
        {"light rain", "Light rain", "Light rain"},
        {"", "", ""},
        {"heavy thunderstorm with rain", "Heavy thunderstorm with ...",
         "Heavy thunderstorm with rain"},
        {"exactly twenty-five chars", "Exactly twenty-five chars", "Exactly twenty-five chars"},
    };
    for (const Case& c : cases) {
        TWeatherInfo r;
        r.Weather = c.weather;
        const PanelModel p = Shown(r, Display(true, true));
        EXPECT_EQ(p.LabelPresentWeather, c.label) << c.weather;
        EXPECT_EQ(p.LabelPresentWeatherHint, c.hint) << c.weather;
    }
}

TEST(DisplayWeatherInfo, AdvancedReportTexts) {
    struct Case {
        const char* name;
        bool metric;
        double visibility;
        const char* label;
    };
    const Case cases[] = {
        {"metres", true, 9999, "9999 metres"},
        {"miles", false, 9999, "6 miles"},
        {"ten statute miles", false, 16090, "10 miles"},
        {"missing", true, NotAvailable, ""},
    };
    for (const Case& c : cases) {
        TWeatherInfo r = Schiphol();
        r.Visibility = c.visibility;
        const PanelModel p = Shown(r, Display(c.metric, true, true));
        EXPECT_TRUE(p.AdvancedVisible);
        EXPECT_EQ(p.LabelVisibility, c.label) << c.name;
        EXPECT_EQ(p.LabelDewPoint, "8 " + Ordinal + "C");
        EXPECT_EQ(p.LabelMetar, "METAR:  " + r.Metar);
        EXPECT_EQ(p.LabelMetarHint, r.Metar);
    }
    const PanelModel empty = Shown(TWeatherInfo{}, Display(true, true, true));
    EXPECT_EQ(empty.LabelMetar, "METAR:");
    EXPECT_EQ(empty.LabelMetarHint, "");

    TWeatherInfo longReport;
    longReport.Metar = std::string(100, 'M');
    EXPECT_EQ(Shown(longReport, Display(true, true, true)).LabelMetar,
              "METAR:  " + std::string(94, 'M') + "...");
}

TEST(DisplayWeatherInfo, HiddenAdvancedControlsKeepTheirTexts) {
    PanelModel panel = InitialPanel();
    DisplayWeatherInfo(panel, Schiphol(), "A", "EHAM", Display(true, true, false));
    EXPECT_FALSE(panel.AdvancedVisible);
    EXPECT_EQ(panel.LabelVisibility, "-");
    EXPECT_EQ(panel.LabelDewPoint, "-");
    EXPECT_EQ(panel.LabelMetar, "<Metar>");

    DisplayWeatherInfo(panel, Schiphol(), "A", "EHAM", Display(true, true, true));
    DisplayWeatherInfo(panel, TWeatherInfo{}, "A", "EHAM", Display(true, true, false));
    EXPECT_EQ(panel.LabelVisibility, "9999 metres");
    EXPECT_EQ(panel.LabelWind, "") << "the visible texts follow the new record";
}

TEST(DisplayWeatherInfo, InitialRecordShowsTheNoDataPictures) {
    const PanelModel p = Shown(TWeatherInfo{}, Display(true, true));
    EXPECT_EQ(p.ImageSignificantWeather, 24);
    EXPECT_EQ(p.ImageTemperature, 10);
    EXPECT_EQ(p.ImageWindSpeed, 18);
    for (const std::string* text :
         {&p.LabelTime, &p.LabelCover, &p.LabelPresentWeather, &p.LabelWind, &p.LabelPressure,
          &p.LabelTemperature, &p.LabelTemperatureInImage, &p.LabelWindSpeedInImage})
        EXPECT_EQ(*text, "");
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
        EXPECT_EQ(LocalTimeText(utc, c.offset, c.use24), c.text)
            << c.hour << ":" << c.minute << " " << c.offset;
    }
}

} // namespace
} // namespace nimbrel
