#pragma once
// The fixed vocabulary that turns report codes into phrases, classes and picture numbers.
#include "decode/WeatherInfo.h"

#include <string>
#include <string_view>

namespace nimbrel {

// What the weather groups of one report have seen so far. The flags belong to the whole report:
// once set by one group they colour the phrases of later groups and the final condition.
struct TWeatherFlags {
    bool Thunder = false;
    bool Showers = false;
    bool Heavy = false;
};

// The phrase of one weather group: intensity "+", "-", "VC" or empty, then two to four capital
// letters. May set WeatherClass and the report's flags. A group without intensity yields a
// phrase with a leading space, so phrases join without separators.
std::string WeatherPhrase(std::string_view intensity, std::string_view letters,
                          TWeatherInfo& record, TWeatherFlags& flags);

// Sets WindDirection and WindDirectionIndex from the direction as reported ("VRB" or three
// digits) and the WindSpeed already stored; leaves both untouched when no rule applies.
void DetermineWindDirection(TWeatherInfo& record, std::string_view direction);

void AddCloudAmount(TWeatherInfo& record, std::string_view cover);
void DetermineCondition(TWeatherInfo& record, bool daytime, const TWeatherFlags& flags);
void DetermineTemperatureIndex(TWeatherInfo& record);
void DetermineSkyCondition(TWeatherInfo& record);

// The picture of a condition code, the same index in the 48-pixel and 16-pixel lists.
int WeatherImageIndex(int condition);

} // namespace nimbrel
