#include "app/ParentWeatherInfo.h"

#include "app/NumberFormat.h"
#include "base/TextTime.h"
#include "decode/WeatherVocabulary.h"

#include <cstdio>

namespace nimbrel {

namespace {

// U+00BA, the masculine ordinal indicator the temperature units are written with.
constexpr const char* OrdinalSign = "\xC2\xBA";
constexpr int TabCaptionLength = 20;
constexpr int FirstThermometerWithoutFigure = 10;
constexpr int FirstWindPictureWithoutFigure = 17; // 17 calm, 18 no direction
constexpr int PresentWeatherLength = 25;
constexpr int MetarLength = 95;

bool Available(double value) {
    return value != NotAvailable;
}

std::string WindSpeedFigure(double windSpeedKmh, bool useMetricValues) {
    return RoundedText(useMetricValues ? windSpeedKmh : KmhToMph(windSpeedKmh));
}

// Celsius is shown as reported, Fahrenheit rounded, as a converted figure always is.
std::string TemperatureFigure(double celsius, bool useCelsius) {
    return useCelsius ? ShortestDecimalText(celsius) : RoundedText(CelsiusToFahrenheit(celsius));
}

std::string LocationNameText(const std::string& name, const std::string& code,
                             bool showLocationCode) {
    if (name.empty() || code.empty())
        return "Location";
    return LocationTitle(name, code, showLocationCode);
}

std::string ReportTimeText(const TWeatherInfo& record) {
    if (record.UtcTime.empty() || record.LocalTime.empty())
        return "";
    return record.UtcTime + "  (" + record.LocalTime + " local)";
}

std::string PressureText(double pressure) {
    return Available(pressure) ? RoundedText(pressure) + " mbar" : "";
}

std::string VisibilityText(double metres, bool useMetricValues) {
    if (!Available(metres))
        return "";
    return useMetricValues ? RoundedText(metres) + " metres"
                           : RoundedText(MetresToMiles(metres)) + " miles";
}

void ShowThermometer(PanelModel& panel, const TWeatherInfo& record, bool useCelsius) {
    if (!Available(record.Temperature)) {
        panel.ImageTemperature = NoDataThermometerPicture;
        panel.LabelTemperatureInImage.clear();
        return;
    }
    panel.ImageTemperature = record.TemperatureIndex;
    panel.LabelTemperatureInImage =
        record.TemperatureIndex >= FirstThermometerWithoutFigure
            ? ""
            : TemperatureFigure(record.Temperature, useCelsius) + OrdinalSign;
}

void ShowWindDisc(PanelModel& panel, const TWeatherInfo& record, bool useMetricValues) {
    panel.ImageWindSpeed = record.WindDirectionIndex;
    const bool noFigure =
        record.WindDirectionIndex >= FirstWindPictureWithoutFigure || !Available(record.WindSpeed);
    panel.LabelWindSpeedInImage =
        noFigure ? "" : WindSpeedFigure(record.WindSpeed, useMetricValues);
}

void ShowAdvanced(PanelModel& panel, const TWeatherInfo& record, const TSettings& settings) {
    panel.LabelVisibility = VisibilityText(record.Visibility, settings.UseMetricValues);
    panel.LabelDewPoint = TemperatureText(record.DewPoint, settings.UseCelsius);
    panel.LabelMetar =
        record.Metar.empty() ? "METAR:" : "METAR:  " + ShortenText(record.Metar, MetarLength);
    panel.LabelMetarHint = record.Metar;
}

} // namespace

PanelModel InitialPanel() {
    PanelModel panel;
    panel.LabelLocationName = "<weather station code>";
    panel.LabelLocalTime = "<local time>";
    for (std::string* label : {&panel.LabelTime, &panel.LabelCover, &panel.LabelPresentWeather,
                               &panel.LabelWind, &panel.LabelPressure, &panel.LabelTemperature,
                               &panel.LabelDewPoint, &panel.LabelVisibility})
        *label = "-";
    panel.LabelMetar = "<Metar>";
    return panel;
}

std::string LocalTimeText(const TDateTime& utc, const TStationZone& zone, bool use24HourClock) {
    const TClockTime local = StationLocalTime(utc, zone);
    return FormatClockTime(local.Hour, local.Minute, use24HourClock);
}

std::string LocationTitle(const std::string& name, const std::string& code, bool showLocationCode) {
    return showLocationCode ? name + " (" + code + ")" : name;
}

std::string TabCaptionText(const std::string& name) {
    return ShortenText(name, TabCaptionLength);
}

std::string TemperatureUnit(bool useCelsius) {
    return std::string(OrdinalSign) + (useCelsius ? "C" : "F");
}

std::string SpeedUnit(bool useMetricValues) {
    return useMetricValues ? "km/h" : "mph";
}

std::string WindText(double windSpeedKmh, const std::string& windDirection, bool useMetricValues) {
    if (!Available(windSpeedKmh))
        return "";
    return WindSpeedFigure(windSpeedKmh, useMetricValues) + " " + SpeedUnit(useMetricValues) +
           "  (" + windDirection + ")";
}

std::string TemperatureText(double celsius, bool useCelsius) {
    if (!Available(celsius))
        return "";
    return TemperatureFigure(celsius, useCelsius) + " " + TemperatureUnit(useCelsius);
}

void DisplayWeatherInfo(PanelModel& panel, const TWeatherInfo& record, const std::string& name,
                        const std::string& code, const TSettings& settings) {
    panel.LabelLocationName = LocationNameText(name, code, settings.ShowLocationCode);
    panel.LabelTime = ReportTimeText(record);
    panel.LabelTimeRed = !record.IsRecent;
    panel.LabelCover = record.SkyCondition;
    panel.LabelPresentWeatherHint = CapitalizeFirst(record.Weather);
    panel.LabelPresentWeather = ShortenText(panel.LabelPresentWeatherHint, PresentWeatherLength);
    panel.LabelWind = WindText(record.WindSpeed, record.WindDirection, settings.UseMetricValues);
    panel.LabelPressure = PressureText(record.Pressure);
    panel.LabelTemperature = TemperatureText(record.Temperature, settings.UseCelsius);
    panel.ImageSignificantWeather = WeatherImageIndex(record.Condition);
    ShowThermometer(panel, record, settings.UseCelsius);
    ShowWindDisc(panel, record, settings.UseMetricValues);
    panel.AdvancedVisible = settings.AdvancedWeatherReport;
    if (settings.AdvancedWeatherReport)
        ShowAdvanced(panel, record, settings);
}

} // namespace nimbrel
