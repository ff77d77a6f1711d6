#include "app/HistoryChart.h"

#include <gtest/gtest.h>

namespace nimbrel {
namespace {

constexpr std::int64_t Now = 1'780'000'200; // a whole half hour
constexpr std::int64_t HalfHour = 1800;

THistoryRecord Report(std::int64_t halfHoursAgo, std::optional<double> temperature) {
    THistoryRecord record;
    record.Station = "EHAM";
    record.ObservedUtc = Now - halfHoursAgo * HalfHour;
    record.Temperature = temperature;
    record.DewPoint = 10;
    record.Pressure = 1013.2;
    record.WindSpeed = 18.52;
    record.WindDirection = "W";
    return record;
}

// Each run of reports a line joins, by the number of points in it.
std::vector<std::size_t> Segments(const ChartSeries& series) {
    std::vector<std::size_t> sizes;
    for (const auto& segment : series.Segments)
        sizes.push_back(segment.size());
    return sizes;
}

TEST(HistoryChart, LinesBreakAtGapsAndMissingValuesInDisplayUnits) {
    struct Row {
        std::vector<THistoryRecord> reports;
        bool metric;
        std::vector<std::size_t> segments;
        double firstTemperature;
        std::string countLine;
    };
    const Row rows[] = {
        // Half-hourly, then five hours without a report, then two more.
        {{Report(14, 20), Report(13, 21), Report(12, 22), Report(2, 15), Report(1, 14)},
         true,
         {3, 2},
         20,
         "5 reports since Thu 28 May 14:30 (times in station time, UTC+1)"},
        // A report without a temperature breaks the temperature line only.
        {{Report(3, 10), Report(2, {}), Report(1, 12)},
         false,
         {1, 1},
         50,
         "3 reports since Thu 28 May 8:00 PM (times in station time, UTC+1)"},
        // Older than the span: not drawn, not counted.
        {{Report(49, 5)},
         true,
         {},
         0,
         "No reports in the last 24 hours (times in station time, UTC+1)"},
    };
    const HistoryPage page{"EHAM", "Amsterdam", TStationZone{nullptr, 1}, {}};
    for (const Row& row : rows) {
        TSettings settings;
        settings.UseMetricValues = settings.UseCelsius = settings.Use24HourClock = row.metric;
        const HistoryChartView view =
            BuildHistoryChartView(row.reports, HistorySpan::Day, Now, page, settings);
        const ChartSeries& temperature = view.Charts[0].Series[0];
        EXPECT_EQ(Segments(temperature), row.segments);
        if (!temperature.Segments.empty()) {
            EXPECT_DOUBLE_EQ(temperature.Segments[0][0].Value, row.firstTemperature);
        }
        EXPECT_EQ(view.CountLine, row.countLine);
    }
}

// A slot with a zone is shown in the zone's time at each report: Amsterdam keeps summer time in
// May (UTC+2, from the tz database), where the whole-hour offset of the same slot says UTC+1.
TEST(HistoryChart, PagesOfSlotsWithAZoneFollowTheZone) {
    TSettings settings;
    settings.Slot(1) = {"EHAM", "Amsterdam", "1", "Europe/Amsterdam"};
    const auto pages = HistoryPages(settings, {});
    ASSERT_EQ(pages.size(), 1u);
    const HistoryChartView view =
        BuildHistoryChartView({Report(14, 20)}, HistorySpan::Day, Now, pages[0], settings);
    EXPECT_EQ(view.CountLine,
              "1 report since Thu 28 May 15:30 (times in station time, Europe/Amsterdam)");
}

TEST(HistoryChart, PagesAreTheSlotsThenTheStationsOnlyStored) {
    TSettings settings;
    settings.Slot(2) = {"lfpg", "Paris Charles de Gaulle Airport", "1", ""};
    const auto pages = HistoryPages(settings, {{"EHAM", 3}, {"KJFK", 2}});
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[1].Code, "LFPG");
    EXPECT_EQ(pages[1].Caption, "Paris Charles de Ga...");
    EXPECT_EQ(pages[2].Code, "KJFK");
    EXPECT_FALSE(pages[2].Zone);
    EXPECT_EQ(ReportReadout(Report(0, 12), pages[2], settings),
              "Thu 28 May 20:30 \xC2\xB7 Temperature 12 \xC2\xBA"
              "C \xC2\xB7 Dew point 10 \xC2\xBA"
              "C \xC2\xB7 Pressure 1013 mbar \xC2\xB7 Wind 19 km/h (W)");
}

} // namespace
} // namespace nimbrel
