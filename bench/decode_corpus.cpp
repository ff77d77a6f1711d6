// Decodes every report of the corpus; the items-per-second figure is reports per second.
#include "decode/DecodeMetar.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <string>
#include <vector>

namespace {

class TFixedClock final : public nimbrel::Clock {
public:
    nimbrel::TDateTime UtcNow() const override { return {2026, 12, 8, 12, 0, 0, 0}; }
    nimbrel::TDateTime LocalNow() const override { return UtcNow(); }
};

std::vector<std::string> LoadCorpus() {
    std::ifstream in(NIMBREL_DATA_DIR "/metar-corpus.txt");
    std::vector<std::string> reports;
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            reports.push_back(line);
    return reports;
}

void DecodeCorpus(benchmark::State& state) {
    const std::vector<std::string> reports = LoadCorpus();
    if (reports.empty()) {
        state.SkipWithError("metar-corpus.txt not found");
        return;
    }
    const TFixedClock clock;
    nimbrel::TMetarDecoder decoder(clock);
    for (auto _ : state) {
        for (const std::string& report : reports) {
            nimbrel::TWeatherInfo info;
            decoder.DecodeMetar(report, info, 1, true);
            benchmark::DoNotOptimize(info);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(reports.size()));
}
BENCHMARK(DecodeCorpus)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
