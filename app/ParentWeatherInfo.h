#pragma once
// The texts, colours and pictures of one location panel, computed from a decoded record under
// the display settings. The same rules feed the tray summary, so each text is built in one place.
#include "app/PanelModel.h"
#include "base/Clock.h"
#include "decode/StationTime.h"
#include "decode/WeatherInfo.h"
#include "settings/Settings.h"

#include <string>
#include <string_view>

namespace nimbrel {

// The caption of the present-weather line, in the panel and, followed by a space, in the tray
// summary.
inline constexpr std::string_view PresentWeatherCaption = "Present weather:";

// A panel as it looks before its first full refresh.
PanelModel InitialPanel();

// "14:25" or "2:25 PM": the station's clock at the current UTC time.
std::string LocalTimeText(const TDateTime& utc, const TStationZone& zone, bool use24HourClock);

// name + " (" + code + ")" with showLocationCode, otherwise the name alone.
std::string LocationTitle(const std::string& name, const std::string& code, bool showLocationCode);

// A location's name as its tab shows it: cut to 20 characters with "...".
std::string TabCaptionText(const std::string& name);

// "ºC" or "ºF"; "km/h" or "mph".
std::string TemperatureUnit(bool useCelsius);
std::string SpeedUnit(bool useMetricValues);

// "22 km/h  (W-SW)" or "14 mph  (W-SW)"; empty when the speed is not available.
std::string WindText(double windSpeedKmh, const std::string& windDirection, bool useMetricValues);

// "12 ºC" (unrounded) or "54 ºF" (rounded); empty when not available.
std::string TemperatureText(double celsius, bool useCelsius);

// Fills the panel from the record. Without AdvancedWeatherReport the visibility, dew point and
// report-line texts keep what they held, as their controls are hidden and not updated.
void DisplayWeatherInfo(PanelModel& panel, const TWeatherInfo& record, const std::string& name,
                        const std::string& code, const TSettings& settings);

} // namespace nimbrel
