#include "history/HistoryRecord.h"

#include <charconv>
#include <chrono>
#include <cstdio>

namespace nimbrel {

namespace {

// The digits of text[at, at + count) as a number; nothing when any is not a digit.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size())
        return std::nullopt;
    int value = 0;
    const char* first = text.data() + at;
    const auto [end, error] = std::from_chars(first, first + count, value);
    if (error != std::errc() || end != first + count)
        return std::nullopt;
    return value;
}

std::optional<double> Known(double value) {
    return value == NotAvailable ? std::nullopt : std::optional<double>(value);
}

struct FileDate {
    int Year, Month, Day, Hour, Minute;
};

// "YYYY/MM/DD HH:MM" at the start of the file's first line.
std::optional<FileDate> FirstLineDate(std::string_view file) {
    const auto year = Digits(file, 0, 4), month = Digits(file, 5, 2), day = Digits(file, 8, 2);
    const auto hour = Digits(file, 11, 2), minute = Digits(file, 14, 2);
    if (!year || !month || !day || !hour || !minute || file[4] != '/' || file[7] != '/')
        return std::nullopt;
    return FileDate{*year, *month, *day, *hour, *minute};
}

} // namespace

std::optional<std::int64_t> UtcSeconds(int year, int month, int day, int hour, int minute) {
    using namespace std::chrono;
    const year_month_day date{std::chrono::year(year),
                              std::chrono::month(static_cast<unsigned>(month)),
                              std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok() || hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return std::nullopt;
    const auto moment = sys_days(date) + hours(hour) + minutes(minute);
    return duration_cast<seconds>(moment.time_since_epoch()).count();
}

std::int64_t UtcSeconds(const TDateTime& utc) {
    return UtcSeconds(utc.Year, utc.Month, utc.Day, utc.Hour, utc.Minute).value_or(0) + utc.Second;
}

std::optional<std::int64_t> ObservationTime(std::string_view stationFile,
                                            std::string_view timeGroup) {
    const auto file = FirstLineDate(stationFile);
    if (!file)
        return std::nullopt;
    const auto day = Digits(timeGroup, 0, 2), hour = Digits(timeGroup, 2, 2),
               minute = Digits(timeGroup, 4, 2);
    if (!day || !hour || !minute)
        return UtcSeconds(file->Year, file->Month, file->Day, file->Hour, file->Minute);
    int year = file->Year;
    int month = file->Month;
    if (*day > file->Day && --month == 0) {
        month = 12;
        --year;
    }
    return UtcSeconds(year, month, *day, *hour, *minute);
}

std::string StationKey(std::string code) {
    for (char& c : code)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return code;
}

THistoryRecord MakeHistoryRecord(std::string station, std::int64_t observedUtc,
                                 const TWeatherInfo& decoded) {
    THistoryRecord record;
    record.Station = StationKey(std::move(station));
    record.ObservedUtc = observedUtc;
    record.Metar = decoded.Metar;
    record.Temperature = Known(decoded.Temperature);
    record.DewPoint = Known(decoded.DewPoint);
    record.Pressure = Known(decoded.Pressure);
    if (!decoded.WindDirection.empty())
        record.WindDirection = decoded.WindDirection;
    record.WindSpeed = Known(decoded.WindSpeed);
    record.Visibility = Known(decoded.Visibility);
    if (decoded.Condition != NoDataCondition)
        record.Condition = decoded.Condition;
    return record;
}

std::string FormatUtcMinute(std::int64_t secondsUtc) {
    using namespace std::chrono;
    const sys_seconds moment{seconds(secondsUtc)};
    const auto day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss time{floor<minutes>(moment - day)};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()));
    return text;
}

std::optional<std::int64_t> ParseUtcMinute(std::string_view text) {
    if (text.size() == 17 && text.back() == 'Z')
        text.remove_suffix(1);
    if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':')
        return std::nullopt;
    const auto year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    const auto hour = Digits(text, 11, 2), minute = Digits(text, 14, 2);
    if (!year || !month || !day || !hour || !minute)
        return std::nullopt;
    return UtcSeconds(*year, *month, *day, *hour, *minute);
}

} // namespace nimbrel
