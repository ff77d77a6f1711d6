#pragma once
// One stored report: where and when it was observed, its text and the decoded values the
// History window and nimbrel-cli show. A value the report did not give is empty (NULL in the
// database), never NotAvailable.
#include "base/Clock.h"
#include "decode/WeatherInfo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nimbrel {

struct THistoryRecord {
    std::string Station;
    std::int64_t ObservedUtc = 0; // seconds since 1970-01-01 00:00 UTC
    std::string Metar;
    std::optional<double> Temperature;        // degrees Celsius
    std::optional<double> DewPoint;           // degrees Celsius
    std::optional<double> Pressure;           // hPa
    std::optional<std::string> WindDirection; // compass text, "variable" or "Calm"
    std::optional<double> WindSpeed;          // km/h
    std::optional<double> Visibility;         // metres
    std::optional<int> Condition;             // 0..21; none for "no data"

    friend bool operator==(const THistoryRecord&, const THistoryRecord&) = default;
};

// When a station file's report was observed, in seconds since 1970 UTC: the day and time of the
// report's time group with the year and month of the file's first line ("2026/12/01 00:20"). A
// report whose day lies after the file's day was observed in the month before (the 31st in a
// file dated the 1st). Without a time group the first line's time stands; nothing when the
// first line holds no date or the day does not exist in its month.
std::optional<std::int64_t> ObservationTime(std::string_view stationFile,
                                            std::string_view timeGroup);

// The station as kept: the code in upper case, however it was typed.
std::string StationKey(std::string code);

// The record of a decoded report fetched for a station.
THistoryRecord MakeHistoryRecord(std::string station, std::int64_t observedUtc,
                                 const TWeatherInfo& decoded);

// "2026-12-09T15:20Z", as nimbrel-cli writes and reads observation times.
std::string FormatUtcMinute(std::int64_t secondsUtc);
// "YYYY-MM-DDTHH:MM" (an optional trailing Z); nothing when malformed.
std::optional<std::int64_t> ParseUtcMinute(std::string_view text);

// Seconds since 1970 UTC of a calendar time in UTC; nothing for a date that does not exist.
std::optional<std::int64_t> UtcSeconds(int year, int month, int day, int hour, int minute);
// The same of a clock's UTC reading (0 for one that names no real date).
std::int64_t UtcSeconds(const TDateTime& utc);

} // namespace nimbrel
