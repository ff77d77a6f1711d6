// Reading the shipped station database as the location dialog does: the country list at every
// opening, and the largest country's stations at a country choice.
#include "settings/LocationDatabase.h"
#include "settings/ProgramPath.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <optional>
#include <string>

namespace {

// The build copies the database beside the top-level executables, one folder up.
std::optional<std::string> DatabaseFolder() {
    return nimbrel::FindDatabaseFolder(
        (std::filesystem::path(nimbrel::ExecutableFolder()) / "..").lexically_normal().string());
}

void ReadCountryList(benchmark::State& state) {
    const auto folder = DatabaseFolder();
    if (!folder) {
        state.SkipWithError("station database not found beside the build");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            nimbrel::ReadCountries(*folder + "/" + nimbrel::CountriesFileName));
    }
}
BENCHMARK(ReadCountryList)->Unit(benchmark::kMillisecond);

void ReadLargestCountry(benchmark::State& state) {
    const auto folder = DatabaseFolder();
    if (!folder) {
        state.SkipWithError("station database not found beside the build");
        return;
    }
    std::size_t stations = 0;
    for (auto _ : state) {
        stations = nimbrel::ReadCities(*folder + "/" + nimbrel::CitiesFileName, "US-5").size();
        benchmark::DoNotOptimize(stations);
    }
    state.counters["stations"] = static_cast<double>(stations);
}
BENCHMARK(ReadLargestCountry)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
