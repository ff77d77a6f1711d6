// The report history: storing one refresh (five stations, each a new report) into a file that
// already holds 30 days, and loading 30 days of five stations (7,200 reports) with the charts
// the History window draws from them.
#include "history/History.h"

#include "app/HistoryChart.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

const std::array<const char*, 5> Codes = {"EHAM", "LFPG", "EDDF", "EGLL", "KJFK"};
constexpr std::int64_t HalfHour = 1800;
constexpr std::int64_t Start = 1'764'547'200; // 2025-12-01T00:00Z
constexpr int Reports = 30 * 48;              // per station

// A clock that moves on half an hour at each refresh.
class RefreshClock final : public nimbrel::Clock {
public:
    std::int64_t now = Start + Reports * HalfHour;
    nimbrel::TDateTime UtcNow() const override { return At(now); }
    nimbrel::TDateTime LocalNow() const override { return At(now); }
    static nimbrel::TDateTime At(std::int64_t seconds) {
        const std::string text = nimbrel::FormatUtcMinute(seconds);
        nimbrel::TDateTime t;
        std::sscanf(text.c_str(), "%d-%d-%dT%d:%d", &t.Year, &t.Month, &t.Day, &t.Hour, &t.Minute);
        return t;
    }
};

nimbrel::THistoryRecord Record(const char* code, int step) {
    nimbrel::THistoryRecord record;
    record.Station = code;
    record.ObservedUtc = Start + step * HalfHour;
    record.Metar = std::string(code) + " 011200Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG";
    record.Temperature = 5 + step % 10;
    record.DewPoint = 2 + step % 7;
    record.Pressure = 1000 + step % 30;
    record.WindDirection = "W-SW";
    record.WindSpeed = 10 + step % 20;
    record.Visibility = 9999;
    record.Condition = 3;
    return record;
}

// A history file with 30 days of five stations, removed when it ends.
struct FilledHistory {
    std::string path =
        (std::filesystem::temp_directory_path() / "nimbrel-bench-history.sqlite3").string();
    FilledHistory() {
        Remove();
        std::vector<nimbrel::THistoryRecord> records;
        for (int step = 0; step < Reports; ++step)
            for (const char* code : Codes)
                records.push_back(Record(code, step));
        nimbrel::THistoryDatabase(path, nimbrel::THistoryDatabase::Mode::ReadWrite)
            .Store(records, 0);
    }
    ~FilledHistory() { Remove(); }
    void Remove() const {
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(path + suffix);
    }
};

std::string StationFile(const char* code, std::int64_t observed) {
    const nimbrel::TDateTime t = RefreshClock::At(observed);
    char text[160];
    std::snprintf(text, sizeof text,
                  "%04d/%02d/%02d %02d:%02d\n%s %02d%02d%02dZ 24012KT 9999 FEW020 12/08 Q1013\n",
                  t.Year, t.Month, t.Day, t.Hour, t.Minute, code, t.Day, t.Hour, t.Minute);
    return text;
}

void StoreOneRefresh(benchmark::State& state) {
    const FilledHistory filled;
    RefreshClock clock;
    nimbrel::THistory history(filled.path, clock, {});
    for (auto _ : state) {
        state.PauseTiming();
        clock.now += HalfHour;
        std::vector<nimbrel::FetchedStationFile> files;
        for (const char* code : Codes)
            files.push_back({code, StationFile(code, clock.now)});
        state.ResumeTiming();
        history.StoreRun(files);
    }
}
BENCHMARK(StoreOneRefresh)->Unit(benchmark::kMillisecond);

void LoadThirtyDaysOfFiveStations(benchmark::State& state) {
    const FilledHistory filled;
    const RefreshClock clock;
    nimbrel::THistory history(filled.path, clock, {});
    const nimbrel::TSettings settings;
    std::int64_t loaded = 0;
    for (auto _ : state) {
        for (const char* code : Codes) {
            const auto records = history.Load(code, clock.now - 30 * 48 * HalfHour);
            const auto view =
                nimbrel::BuildHistoryChartView(records, nimbrel::HistorySpan::Month, clock.now,
                                               {code, code, nimbrel::TStationZone{}, {}}, settings);
            benchmark::DoNotOptimize(view);
            loaded += static_cast<std::int64_t>(records.size());
        }
    }
    state.SetItemsProcessed(loaded);
}
BENCHMARK(LoadThirtyDaysOfFiveStations)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
