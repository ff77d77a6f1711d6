#pragma once
// Everything one location panel shows, computed by the core; the panel form only copies it.
#include "decode/WeatherInfo.h"

#include <string>

namespace nimbrel {

struct PanelModel {
    std::string LabelLocationName;
    std::string LabelLocalTime;
    std::string LabelTime;
    bool LabelTimeRed = false; // the report is not recent
    std::string LabelCover;
    std::string LabelPresentWeather;
    std::string LabelPresentWeatherHint;
    std::string LabelWind;
    std::string LabelPressure;
    std::string LabelTemperature;
    std::string LabelDewPoint;
    std::string LabelVisibility;
    std::string LabelMetar;
    std::string LabelMetarHint;
    bool AdvancedVisible = false;
    int ImageSignificantWeather = NoDataWeatherPicture; // index into the 48-pixel weather pictures
    int ImageTemperature = NoDataThermometerPicture;    // index into the thermometer pictures
    std::string LabelTemperatureInImage;
    int ImageWindSpeed = NoDataWindPicture; // index into the wind pictures
    std::string LabelWindSpeedInImage;
};

} // namespace nimbrel
