#include "cli/Commands.h"
#include "history/History.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace nimbrel::cli {

namespace {

struct HistoryOptions {
    std::string File;
    std::string Since;
    std::string Code;
};

template <typename T> nlohmann::ordered_json OrNull(const std::optional<T>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json RecordJson(const THistoryRecord& record) {
    return {{"ObservedUtc", FormatUtcMinute(record.ObservedUtc)},
            {"Metar", record.Metar},
            {"Temperature", OrNull(record.Temperature)},
            {"DewPoint", OrNull(record.DewPoint)},
            {"Pressure", OrNull(record.Pressure)},
            {"WindDirection", OrNull(record.WindDirection)},
            {"WindSpeed", OrNull(record.WindSpeed)},
            {"Visibility", OrNull(record.Visibility)},
            {"Condition", OrNull(record.Condition)}};
}

CLI::Validator SinceFormat() {
    return CLI::Validator(
        [](const std::string& text) {
            return ParseUtcMinute(text) ? std::string()
                                        : std::string("must be a UTC time YYYY-MM-DDTHH:MM");
        },
        "YYYY-MM-DDTHH:MM");
}

int RunHistory(const HistoryOptions& options) {
    const std::string path = options.File.empty() ? DefaultHistoryPath() : options.File;
    // Nothing stored yet is no failure; the file is never created by reading it.
    if (path.empty() || !std::filesystem::exists(path))
        return 0;
    const std::int64_t since = options.Since.empty() ? 0 : ParseUtcMinute(options.Since).value();
    try {
        const THistoryDatabase db(path, THistoryDatabase::Mode::ReadOnly);
        for (const THistoryRecord& record : db.Load(options.Code, since))
            std::cout << RecordJson(record).dump(-1, ' ', false,
                                                 nlohmann::json::error_handler_t::replace)
                      << "\n";
    } catch (const HistoryError& error) {
        std::cerr << "nimbrel-cli: " << path << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

void RegisterHistoryCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<HistoryOptions>();
    CLI::App* sub = app.add_subcommand(
        "history", "Print a station's stored reports, oldest first, one JSON object per line");
    sub->add_option("--file", options->File, "The history database")
        ->default_str(DefaultHistoryPath());
    sub->add_option("--since", options->Since, "Only reports observed at or after this UTC time")
        ->check(SinceFormat());
    sub->add_option("CODE", options->Code, "Station code")->required();
    sub->callback([options, &exitCode] { exitCode = RunHistory(*options); });
}

} // namespace nimbrel::cli
