#pragma once
// Turns the text of one station file into a TWeatherInfo.
#include "decode/Clock.h"
#include "decode/WeatherInfo.h"

#include <functional>
#include <string_view>

namespace nimbrel {

class TMetarDecoder {
public:
    explicit TMetarDecoder(const Clock& clock);

    // Never throws for bad input: whatever the text, record ends complete. The callback runs
    // after every group so a window can stay responsive during a long decode.
    void DecodeMetar(std::string_view text, TWeatherInfo& record, int timeZoneOffset,
                     bool use24HourClock, const std::function<void()>& processPendingEvents = {});

private:
    const Clock& clock_;
    // Carries over to a following report that has no time group of its own.
    bool Daytime = false;
};

} // namespace nimbrel
