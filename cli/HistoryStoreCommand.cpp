#include "base/Clock.h"
#include "cli/Commands.h"
#include "history/History.h"

#include <iostream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>

namespace nimbrel::cli {

namespace {

// A run's files and their header lines; one byte more says the input is longer.
constexpr std::size_t MaxRunBytes = MaxHistoryRunFiles * (MaxHistoryRunFileBytes + 256);

std::string ReadRun(std::istream& input) {
    std::string text;
    char buffer[64 * 1024];
    while (text.size() <= MaxRunBytes && input.read(buffer, sizeof buffer).gcount() > 0)
        text.append(buffer, static_cast<std::size_t>(input.gcount()));
    if (text.size() > MaxRunBytes)
        throw std::invalid_argument("not a run of station files: longer than any run");
    return text;
}

int RunHistoryStore(const std::string& file) {
    std::vector<FetchedStationFile> files;
    try {
        files = ParseHistoryRun(ReadRun(std::cin));
    } catch (const std::invalid_argument& error) {
        std::cerr << "nimbrel-cli: " << error.what() << "\n";
        return 2;
    }
    const SystemClock clock;
    THistory history(file.empty() ? DefaultHistoryPath() : file, clock,
                     [](const std::string& warning) { std::cout << warning << "\n"; });
    return history.StoreRun(files) ? HistoryHelperStored : HistoryHelperNotStored;
}

} // namespace

void RegisterHistoryStoreCommand(CLI::App& app, int& exitCode) {
    auto file = std::make_shared<std::string>();
    CLI::App* sub = app.add_subcommand(
        "history-store", "Keep a run of fetched station files, read from standard input, in the "
                         "history (the desktop program's helper); exit code 3: not kept");
    sub->add_option("--file", *file, "The history database")->default_str(DefaultHistoryPath());
    sub->callback([file, &exitCode] { exitCode = RunHistoryStore(*file); });
}

} // namespace nimbrel::cli
