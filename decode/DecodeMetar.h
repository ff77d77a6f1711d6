#pragma once
// Turns the text of one station file into a TWeatherInfo.
#include "base/Clock.h"
#include "decode/StationTime.h"
#include "decode/WeatherInfo.h"

#include <functional>
#include <memory>
#include <string_view>

namespace nimbrel {

// The report line of a station file: everything after the first line feed, or the whole text
// when there is none.
std::string_view ExtractReportLine(std::string_view text);

class TRegexMatch;

class TMetarDecoder {
public:
    explicit TMetarDecoder(const Clock& clock);
    ~TMetarDecoder();
    TMetarDecoder(const TMetarDecoder&) = delete;
    TMetarDecoder& operator=(const TMetarDecoder&) = delete;

    // Never throws for bad input: whatever the text, the record ends complete. The callback
    // runs after every group so a window stays responsive; it may even start another decode,
    // since everything but Daytime lives in the call.
    void DecodeMetar(std::string_view text, TWeatherInfo& record, const TStationZone& zone,
                     bool use24HourClock, const std::function<void()>& processPendingEvents = {});
    // The same for a station known by its whole-hour offset alone.
    void DecodeMetar(std::string_view text, TWeatherInfo& record, int timeZoneOffset,
                     bool use24HourClock, const std::function<void()>& processPendingEvents = {});

private:
    struct TDecodeState;

    void DecodeGroup(std::string_view group, TDecodeState& state);
    void DecodeTimeGroup(std::string_view group, TDecodeState& state);
    void DecodeWindGroup(std::string_view group, TDecodeState& state);
    void DecodeVisibilityGroup(std::string_view group, TDecodeState& state);
    void DecodeWeatherGroup(std::string_view group, TDecodeState& state);
    void DecodeCloudGroup(std::string_view group, TDecodeState& state);
    void DecodeTemperatureGroup(std::string_view group, TDecodeState& state);
    void DecodePressureGroup(std::string_view group, TDecodeState& state);

    const Clock& clock_;
    // Reused for every match; read only right after the match that filled it.
    std::unique_ptr<TRegexMatch> match_;
    // Whether the last time group decoded was local daytime. A report without a time group is
    // judged by it, so it carries over from one decode to the next (false at first).
    bool Daytime = false;
};

} // namespace nimbrel
