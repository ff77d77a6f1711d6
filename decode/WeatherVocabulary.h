#pragma once
// The fixed vocabulary that turns report codes into phrases, classes and picture numbers.
#include "decode/WeatherInfo.h"

#include <string>
#include <string_view>

namespace nimbrel {

// What the weather groups of one report have seen so far; the flags belong to the whole report.
struct TWeatherFlags {
    bool Thunder = false;
    bool Showers = false;
    bool Heavy = false;
};

// The phrase of one weather group (intensity "+", "-", "VC" or empty, then two to four
// letters). May set WeatherClass and the report's flags.
std::string WeatherPhrase(std::string_view intensity, std::string_view letters,
                          TWeatherInfo& record, TWeatherFlags& flags);

// Sets WindDirection and WindDirectionIndex from a direction in degrees; false (and nothing
// set) when the direction lies outside every compass sector.
bool SetCompassDirection(int degrees, TWeatherInfo& record);

void AddCloudAmount(TWeatherInfo& record, std::string_view cover);
void DetermineCondition(TWeatherInfo& record, bool daytime, const TWeatherFlags& flags);
void DetermineTemperatureIndex(TWeatherInfo& record);
void DetermineSkyCondition(TWeatherInfo& record);

// The picture of a condition code, the same index in the 48-pixel and 16-pixel lists.
int WeatherImageIndex(int condition);

} // namespace nimbrel
