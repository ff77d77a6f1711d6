#include "decode/StationTime.h"

#include "decode/WeatherInfo.h"

#include <chrono>
#include <date/date.h>
#include <date/tz.h>
#include <exception>
#include <mutex>

#if !USE_OS_TZDB
#ifdef _WIN32
#include <windows.h>
#endif
#endif

namespace nimbrel {

namespace {

using Minutes = std::chrono::minutes;

#if !USE_OS_TZDB
// Without a system zoneinfo (Windows) the library parses the tz database's text files, which
// ship in a folder "tzdata" beside the program. The library must be told before its first use.
std::string ShippedDatabaseFolder() {
#ifdef _WIN32
    char path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string program(path, length < sizeof path ? length : 0);
    return program.substr(0, program.find_last_of("\\/") + 1) + "tzdata";
#else
    return "tzdata";
#endif
}
#endif

void PrepareDatabase() {
#if !USE_OS_TZDB
    static std::once_flag once;
    std::call_once(once, [] { date::set_install(ShippedDatabaseFolder()); });
#endif
}

date::sys_time<Minutes> ToSysTime(const TDateTime& utc) {
    const date::year_month_day day{date::year{utc.Year},
                                   date::month(static_cast<unsigned>(utc.Month)),
                                   date::day(static_cast<unsigned>(utc.Day))};
    return date::sys_days{day} + std::chrono::hours{utc.Hour} + Minutes{utc.Minute};
}

} // namespace

TZoneLookup FindStationZone(const std::string& zoneName, int offsetHours) {
    TZoneLookup lookup{{nullptr, offsetHours}, false};
    if (zoneName.empty())
        return lookup;
    try {
        PrepareDatabase();
        lookup.Zone.Zone = date::locate_zone(zoneName);
    } catch (const std::exception&) {
        // An unknown name, or a database that cannot be read: both leave the offset.
        lookup.Unknown = true;
    }
    return lookup;
}

int StationOffsetMinutes(std::int64_t utcSeconds, const TStationZone& zone) {
    if (zone.Zone == nullptr)
        return zone.OffsetHours * 60;
    const date::sys_seconds instant{std::chrono::seconds{utcSeconds}};
    return static_cast<int>(
        std::chrono::duration_cast<Minutes>(zone.Zone->get_info(instant).offset).count());
}

TClockTime StationLocalTime(const TDateTime& utc, const TStationZone& zone) {
    if (zone.Zone == nullptr)
        return {WrapHour(utc.Hour, zone.OffsetHours), utc.Minute};
    const auto instant = ToSysTime(utc);
    const auto offset = Minutes{StationOffsetMinutes(
        std::chrono::duration_cast<std::chrono::seconds>(instant.time_since_epoch()).count(),
        zone)};
    const auto local = instant + offset;
    const auto time = date::make_time(local - date::floor<date::days>(local));
    return {static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count())};
}

TDateTime ReportInstant(const TDateTime& now, int day, int hour, int minute) {
    const date::year_month thisMonth{date::year{now.Year},
                                     date::month(static_cast<unsigned>(now.Month))};
    const date::year_month month = day > now.Day ? thisMonth - date::months{1} : thisMonth;
    const date::year_month_day stamped{month / date::day(static_cast<unsigned>(day))};
    if (!stamped.ok() || hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return now;
    return {static_cast<int>(stamped.year()),
            static_cast<int>(static_cast<unsigned>(stamped.month())),
            day,
            hour,
            minute,
            0,
            0};
}

} // namespace nimbrel
