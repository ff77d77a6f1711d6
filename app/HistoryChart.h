#pragma once
// What the History window draws, computed from the stored reports under the display settings:
// its pages, the three charts in display units with their gaps and axes, the time axis, the
// line under the charts and the text shown for one report. The window only maps these to pixels.
#include "decode/StationTime.h"
#include "history/HistoryDatabase.h"
#include "settings/Settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nimbrel {

enum class HistorySpan { Day, ThreeDays, Week, Month };
inline constexpr std::array<HistorySpan, 4> HistorySpans = {
    HistorySpan::Day, HistorySpan::ThreeDays, HistorySpan::Week, HistorySpan::Month};
std::string HistorySpanCaption(HistorySpan span); // "24 hours", "3 days", ...
std::int64_t HistorySpanSeconds(HistorySpan span);

// One page of the window: a station in a slot (in slot order, shown in its local time) or one
// kept in the history that no slot names any more (shown in UTC).
struct HistoryPage {
    std::string Code;
    std::string Caption;
    std::optional<TStationZone> Zone; // none: UTC
    std::string ZoneName;             // the slot's tz database zone; empty: a whole-hour offset
};
std::vector<HistoryPage> HistoryPages(const TSettings& settings,
                                      const std::vector<HistoryStation>& stored);

struct ChartPoint {
    std::int64_t Time; // seconds since 1970 UTC
    double Value;
};
// A line broken where no report came for too long, or a report lacked the value.
struct ChartSeries {
    std::string Name;
    std::vector<std::vector<ChartPoint>> Segments;
};
struct ValueAxis {
    double Min = 0;
    double Max = 1;
    std::vector<double> Ticks;
};
struct HistoryChart {
    std::string Title; // "Temperature (ºC)"
    std::vector<ChartSeries> Series;
    ValueAxis Axis;
};
struct TimeTick {
    std::int64_t Time;
    std::string Label;
};

struct HistoryChartView {
    std::int64_t From = 0; // the span's start and end, seconds since 1970 UTC
    std::int64_t To = 0;
    std::vector<TimeTick> TimeTicks;
    std::array<HistoryChart, 3> Charts; // temperature and dew point, pressure, wind speed
    std::string CountLine;
    std::vector<std::int64_t> Times; // of the reports, oldest first
};

// Two reports further apart than this are not joined by a line.
std::int64_t GapSeconds(const TSettings& settings);

HistoryChartView BuildHistoryChartView(const std::vector<THistoryRecord>& records, HistorySpan span,
                                       std::int64_t nowUtc, const HistoryPage& page,
                                       const TSettings& settings);

// The report nearest to a time, if any lies within the span.
std::optional<std::size_t> NearestReport(const HistoryChartView& view, std::int64_t time);

// "Tue 8 Dec 14:25 · Temperature 12 ºC · Dew point 8 ºC · Pressure 1013 mbar · Wind 19 km/h (W)"
std::string ReportReadout(const THistoryRecord& record, const HistoryPage& page,
                          const TSettings& settings);

} // namespace nimbrel
