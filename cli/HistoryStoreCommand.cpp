#include "base/Clock.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "history/History.h"

#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace nimbrel::cli {

namespace {

// A run's files and their header lines.
constexpr std::size_t MaxRunBytes = MaxHistoryRunFiles * (MaxHistoryRunFileBytes + 256);

int RunHistoryStore(const std::string& file) {
    const std::optional<std::string> run = ReadInput("", MaxRunBytes);
    if (!run)
        return 2;
    std::vector<FetchedStationFile> files;
    try {
        files = ParseHistoryRun(*run);
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
