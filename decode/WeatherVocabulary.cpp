#include "decode/WeatherVocabulary.h"

namespace nimbrel {

std::string WeatherPhrase(std::string_view, std::string_view, TWeatherInfo&, TWeatherFlags&) {
    return {};
}
bool SetCompassDirection(int, TWeatherInfo&) {
    return false;
}
void AddCloudAmount(TWeatherInfo&, std::string_view) {}
void DetermineCondition(TWeatherInfo&, bool, const TWeatherFlags&) {}
void DetermineTemperatureIndex(TWeatherInfo&) {}
void DetermineSkyCondition(TWeatherInfo&) {}
int WeatherImageIndex(int) {
    return 24;
}

} // namespace nimbrel
