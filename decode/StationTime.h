#pragma once
// A station's local time. Every local time the program shows (the panels' clocks, the report's
// local time, the command line's output) comes from StationLocalTime, so they cannot disagree.
#include "base/Clock.h"

#include <cstdint>
#include <string>

namespace date {
class time_zone;
}

namespace nimbrel {

// How a station's clock differs from UTC: the rules of its tz database zone, summer time and
// minutes included, or, without a zone, a whole number of hours.
struct TStationZone {
    const date::time_zone* Zone = nullptr; // nullptr: OffsetHours alone
    int OffsetHours = 0;
};

struct TZoneLookup {
    TStationZone Zone;
    bool Unknown = false; // a name was given that the tz database does not know
};

// The zone named in a slot's settings, from the machine's tz database (on Windows the copy
// shipped beside the program); an empty name, or one the database does not know, leaves the
// whole-hour offset alone.
TZoneLookup FindStationZone(const std::string& zoneName, int offsetHours);

struct TClockTime {
    int Hour = 0;
    int Minute = 0;
};

// How far the station's clock is ahead of UTC at an instant (seconds since 1970 UTC), in minutes.
int StationOffsetMinutes(std::int64_t utcSeconds, const TStationZone& zone);

// The station's wall-clock time at a UTC instant. Without a zone only the hour moves, wrapped
// into the day as WrapHour wraps it.
TClockTime StationLocalTime(const TDateTime& utc, const TStationZone& zone);

// The UTC instant of a report stamped with a day of the month and a time: the latest such
// instant not after now (last month's when the day lies ahead). Now itself when no month has
// that day close enough to be meant.
TDateTime ReportInstant(const TDateTime& now, int day, int hour, int minute);

} // namespace nimbrel
