#pragma once
// One decoded report, in fixed internal units: km/h, metres, degrees Celsius, hectopascal.
#include <array>
#include <cstdint>
#include <string>

namespace nimbrel {

// A numeric field holding exactly this value was not decoded; readers compare by equality.
inline constexpr double NotAvailable = -9999.0;

// "No data": the condition a record holds until a report decodes one, and the weather, wind and
// thermometer pictures that stand for it. A record and a panel start with these.
inline constexpr uint8_t NoDataCondition = 22;
inline constexpr int NoDataWeatherPicture = 24;     // the picture of NoDataCondition
inline constexpr int NoDataWindPicture = 18;        // a wind disc without direction or figure
inline constexpr int NoDataThermometerPicture = 10; // a thermometer without figure

struct TCloudLayer {
    bool Present = false;
    std::string Cover;  // the cover code as reported, e.g. "BKN"
    int32_t Height = 0; // the three-digit figure as reported, hundreds of feet
};

class TWeatherInfo {
public:
    TWeatherInfo() { Clear(); }
    void Clear() { *this = Initial(); }

    std::string Metar;
    bool IsRecent;
    std::string UpdateTime;
    uint8_t WeatherClass;
    uint8_t Condition;
    std::string TimeGroup;
    std::string UtcTime;
    std::string LocalTime;
    std::string WindDirection;
    int32_t WindDirectionIndex;
    double WindSpeed;
    double Visibility;
    std::string Weather;
    int32_t CloudCover;
    std::string SkyCondition;
    std::array<TCloudLayer, 3> CloudLayers;
    double Temperature;
    int32_t TemperatureIndex;
    double DewPoint;
    double Pressure;

private:
    struct InitialTag {};
    explicit TWeatherInfo(InitialTag)
        : IsRecent(false), WeatherClass(0), Condition(NoDataCondition),
          WindDirectionIndex(NoDataWindPicture), WindSpeed(NotAvailable), Visibility(NotAvailable),
          CloudCover(0), CloudLayers{}, Temperature(NotAvailable),
          TemperatureIndex(NoDataThermometerPicture), DewPoint(NotAvailable),
          Pressure(NotAvailable) {}
    static TWeatherInfo Initial() { return TWeatherInfo(InitialTag{}); }
};

// A UTC hour plus a whole-hour offset, wrapped into 0..23 for hours 0..23 and any offset.
int WrapHour(int hour, int offset);

} // namespace nimbrel
