#include "app/HistoryChart.h"

#include "app/NumberFormat.h"
#include "app/ParentWeatherInfo.h"
#include "base/TextTime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>

namespace nimbrel {

namespace {

constexpr std::int64_t Hour = 3600;
constexpr std::int64_t Day = 24 * Hour;
constexpr const char* Separator = " \xC2\xB7 "; // a middle dot between the readout's parts

// How far the page's clock is ahead of UTC at an instant: summer time moves it within a span.
std::int64_t Shift(const HistoryPage& page, std::int64_t utc) {
    return page.Zone ? std::int64_t{StationOffsetMinutes(utc, *page.Zone)} * 60 : 0;
}

// "Tue 8 Dec" and "14:25" (or "2:25 PM") of a moment shown at the page's offset.
struct ShownTime {
    std::string Date;
    std::string Time;
};

ShownTime Shown(std::int64_t utc, const HistoryPage& page, const TSettings& settings) {
    using namespace std::chrono;
    static constexpr std::array<const char*, 7> WeekDays = {"Sun", "Mon", "Tue", "Wed",
                                                            "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> Months = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const sys_seconds moment{seconds(utc + Shift(page, utc))};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss time{floor<minutes>(moment - day)};
    return {std::string(WeekDays.at(weekday(day).c_encoding())) + " " +
                std::to_string(static_cast<unsigned>(date.day())) + " " +
                Months.at(static_cast<unsigned>(date.month()) - 1),
            FormatClockTime(static_cast<int>(time.hours().count()),
                            static_cast<int>(time.minutes().count()), settings.Use24HourClock)};
}

double ShownTemperature(double celsius, const TSettings& settings) {
    return settings.UseCelsius ? celsius : CelsiusToFahrenheit(celsius);
}

double ShownSpeed(double kmh, const TSettings& settings) {
    return settings.UseMetricValues ? kmh : KmhToMph(kmh);
}

using Value = std::function<std::optional<double>(const THistoryRecord&)>;

ChartSeries Series(std::string name, const std::vector<THistoryRecord>& records, const Value& value,
                   std::int64_t gap) {
    ChartSeries series{std::move(name), {}};
    std::optional<std::int64_t> last;
    for (const THistoryRecord& record : records) {
        const auto shown = value(record);
        if (!shown) {
            last.reset();
            continue;
        }
        if (!last || record.ObservedUtc - *last > gap)
            series.Segments.emplace_back();
        series.Segments.back().push_back({record.ObservedUtc, *shown});
        last = record.ObservedUtc;
    }
    return series;
}

// Four to eight round steps (1, 2 or 5 times a power of ten) that cover every value.
ValueAxis Axis(const std::vector<ChartSeries>& series, double minimumRange) {
    double low = INFINITY, high = -INFINITY;
    for (const ChartSeries& line : series)
        for (const auto& segment : line.Segments)
            for (const ChartPoint& point : segment) {
                low = std::min(low, point.Value);
                high = std::max(high, point.Value);
            }
    if (low > high)
        low = 0, high = minimumRange;
    if (high - low < minimumRange) {
        const double middle = (low + high) / 2;
        low = middle - minimumRange / 2;
        high = middle + minimumRange / 2;
    }
    const double raw = (high - low) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power * 10;
    for (const double factor : {1.0, 2.0, 5.0})
        if (raw <= factor * power) {
            step = factor * power;
            break;
        }
    ValueAxis axis{std::floor(low / step) * step, std::ceil(high / step) * step, {}};
    for (double tick = axis.Min; tick <= axis.Max + step / 2; tick += step)
        axis.Ticks.push_back(tick);
    return axis;
}

std::vector<TimeTick> TimeTicks(std::int64_t from, std::int64_t to, HistorySpan span,
                                const HistoryPage& page, const TSettings& settings) {
    const std::int64_t step = span == HistorySpan::Day         ? 3 * Hour
                              : span == HistorySpan::ThreeDays ? 12 * Hour
                              : span == HistorySpan::Week      ? Day
                                                               : 5 * Day;
    // The offset at the span's start: a change of summer time within the span moves the later
    // ticks off the round hour by that change, which the labels show as it is.
    const std::int64_t shift = Shift(page, from);
    std::vector<TimeTick> ticks;
    // Steps counted from a local midnight, so every tick falls on a round local time.
    for (std::int64_t local = (from + shift + step - 1) / step * step; local <= to + shift;
         local += step) {
        const ShownTime shown = Shown(local - shift, page, settings);
        ticks.push_back({local - shift, local % Day == 0 ? shown.Date : shown.Time});
    }
    return ticks;
}

std::string CountLine(const std::vector<THistoryRecord>& records, HistorySpan span,
                      const HistoryPage& page, const TSettings& settings) {
    const std::string zone = !page.Zone ? "UTC"
                             : !page.ZoneName.empty()
                                 ? "station time, " + page.ZoneName
                                 : "station time, UTC" +
                                       std::string(page.Zone->OffsetHours < 0 ? "" : "+") +
                                       std::to_string(page.Zone->OffsetHours);
    if (records.empty())
        return "No reports in the last " + HistorySpanCaption(span) + " (times in " + zone + ")";
    const ShownTime first = Shown(records.front().ObservedUtc, page, settings);
    return std::to_string(records.size()) + (records.size() == 1 ? " report" : " reports") +
           " since " + first.Date + " " + first.Time + " (times in " + zone + ")";
}

} // namespace

std::string HistorySpanCaption(HistorySpan span) {
    switch (span) {
    case HistorySpan::Day:
        return "24 hours";
    case HistorySpan::ThreeDays:
        return "3 days";
    case HistorySpan::Week:
        return "7 days";
    case HistorySpan::Month:
        return "30 days";
    }
    return "";
}

std::int64_t HistorySpanSeconds(HistorySpan span) {
    switch (span) {
    case HistorySpan::Day:
        return Day;
    case HistorySpan::ThreeDays:
        return 3 * Day;
    case HistorySpan::Week:
        return 7 * Day;
    case HistorySpan::Month:
        return 30 * Day;
    }
    return Day;
}

std::vector<HistoryPage> HistoryPages(const TSettings& settings,
                                      const std::vector<HistoryStation>& stored) {
    std::vector<HistoryPage> pages;
    const auto listed = [&pages](const std::string& code) {
        return std::any_of(pages.begin(), pages.end(),
                           [&code](const HistoryPage& page) { return page.Code == code; });
    };
    for (const LocationSlot& slot : settings.Slots) {
        const std::string code = StationKey(slot.LocationCode);
        if (code.empty() || listed(code))
            continue;
        const std::string name = slot.LocationName.empty() ? code : slot.LocationName;
        // The zone as the panels use it: a name the database does not know leaves the offset.
        const TZoneLookup lookup =
            FindStationZone(slot.LocationTimeZone, OffsetHours(slot.LocationTimeZoneOffset));
        pages.push_back({code, TabCaptionText(name), lookup.Zone,
                         lookup.Zone.Zone ? slot.LocationTimeZone : std::string()});
    }
    for (const HistoryStation& station : stored)
        if (!listed(station.Code))
            pages.push_back({station.Code, station.Code, std::nullopt, {}});
    return pages;
}

std::int64_t GapSeconds(const TSettings& settings) {
    return std::max<std::int64_t>(2 * Hour, 2 * 60 * std::int64_t{settings.LongReconnectInterval});
}

HistoryChartView BuildHistoryChartView(const std::vector<THistoryRecord>& records, HistorySpan span,
                                       std::int64_t nowUtc, const HistoryPage& page,
                                       const TSettings& settings) {
    HistoryChartView view;
    view.To = nowUtc;
    view.From = nowUtc - HistorySpanSeconds(span);
    std::vector<THistoryRecord> shown;
    std::copy_if(records.begin(), records.end(), std::back_inserter(shown),
                 [&view](const THistoryRecord& r) { return r.ObservedUtc >= view.From; });
    const std::int64_t gap = GapSeconds(settings);
    const auto temperature = [&settings](const std::optional<double>& celsius) {
        return celsius ? std::optional(ShownTemperature(*celsius, settings)) : std::nullopt;
    };
    HistoryChart& heat = view.Charts[0];
    heat.Title = "Temperature and dew point (" + TemperatureUnit(settings.UseCelsius) + ")";
    heat.Series = {Series(
                       "Temperature", shown,
                       [&](const THistoryRecord& r) { return temperature(r.Temperature); }, gap),
                   Series(
                       "Dew point", shown,
                       [&](const THistoryRecord& r) { return temperature(r.DewPoint); }, gap)};
    heat.Axis = Axis(heat.Series, 5);
    HistoryChart& pressure = view.Charts[1];
    pressure.Title = "Pressure (mbar)";
    pressure.Series = {Series(
        "Pressure", shown, [](const THistoryRecord& r) { return r.Pressure; }, gap)};
    pressure.Axis = Axis(pressure.Series, 5);
    HistoryChart& wind = view.Charts[2];
    wind.Title = "Wind speed (" + SpeedUnit(settings.UseMetricValues) + ")";
    wind.Series = {Series(
        "Wind speed", shown,
        [&settings](const THistoryRecord& r) {
            return r.WindSpeed ? std::optional(ShownSpeed(*r.WindSpeed, settings)) : std::nullopt;
        },
        gap)};
    wind.Axis = Axis(wind.Series, 10);
    wind.Axis.Min = std::max(0.0, wind.Axis.Min);
    std::erase_if(wind.Axis.Ticks, [](double tick) { return tick < 0; });
    view.TimeTicks = TimeTicks(view.From, view.To, span, page, settings);
    view.CountLine = CountLine(shown, span, page, settings);
    for (const THistoryRecord& record : shown)
        view.Times.push_back(record.ObservedUtc);
    return view;
}

std::optional<std::size_t> NearestReport(const HistoryChartView& view, std::int64_t time) {
    if (view.Times.empty())
        return std::nullopt;
    const auto after = std::lower_bound(view.Times.begin(), view.Times.end(), time);
    if (after == view.Times.begin())
        return 0;
    if (after == view.Times.end() || time - *(after - 1) <= *after - time)
        return static_cast<std::size_t>(after - 1 - view.Times.begin());
    return static_cast<std::size_t>(after - view.Times.begin());
}

std::string ReportReadout(const THistoryRecord& record, const HistoryPage& page,
                          const TSettings& settings) {
    const ShownTime when = Shown(record.ObservedUtc, page, settings);
    std::string text = when.Date + " " + when.Time;
    if (record.Temperature)
        text += Separator + std::string("Temperature ") +
                TemperatureText(*record.Temperature, settings.UseCelsius);
    if (record.DewPoint)
        text += Separator + std::string("Dew point ") +
                TemperatureText(*record.DewPoint, settings.UseCelsius);
    if (record.Pressure)
        text += Separator + std::string("Pressure ") + RoundedText(*record.Pressure) + " mbar";
    if (record.WindSpeed)
        text += Separator + std::string("Wind ") +
                RoundedText(ShownSpeed(*record.WindSpeed, settings)) + " " +
                SpeedUnit(settings.UseMetricValues) +
                (record.WindDirection ? " (" + *record.WindDirection + ")" : "");
    return text;
}

} // namespace nimbrel
