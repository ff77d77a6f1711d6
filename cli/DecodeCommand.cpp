#include "base/Clock.h"
#include "base/TextTime.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "decode/DecodeMetar.h"
#include "decode/WeatherVocabulary.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace nimbrel::cli {

namespace {

// Station files are a few hundred bytes; anything near this is not a report collection.
constexpr std::size_t MaxInputBytes = 64u << 20;

struct TDecodeOptions {
    int Offset = 0;
    bool Use12HourClock = false;
    std::string UtcNow;
    bool Lines = false;
    std::string File;
};

nlohmann::ordered_json ToJson(const TWeatherInfo& info) {
    nlohmann::ordered_json layers = nlohmann::ordered_json::array();
    for (const TCloudLayer& layer : info.CloudLayers)
        layers.push_back(
            {{"Present", layer.Present}, {"Cover", layer.Cover}, {"Height", layer.Height}});
    return {
        {"Metar", info.Metar},
        {"IsRecent", info.IsRecent},
        {"UpdateTime", info.UpdateTime},
        {"WeatherClass", info.WeatherClass},
        {"Condition", info.Condition},
        {"TimeGroup", info.TimeGroup},
        {"UtcTime", info.UtcTime},
        {"LocalTime", info.LocalTime},
        {"WindDirection", info.WindDirection},
        {"WindDirectionIndex", info.WindDirectionIndex},
        {"WindSpeed", info.WindSpeed},
        {"Visibility", info.Visibility},
        {"Weather", info.Weather},
        {"CloudCover", info.CloudCover},
        {"SkyCondition", info.SkyCondition},
        {"CloudLayers", layers},
        {"Temperature", info.Temperature},
        {"TemperatureIndex", info.TemperatureIndex},
        {"DewPoint", info.DewPoint},
        {"Pressure", info.Pressure},
        {"WeatherImageIndex", WeatherImageIndex(info.Condition)},
    };
}

void PrintDecoded(TMetarDecoder& decoder, std::string_view text, const TDecodeOptions& options) {
    TWeatherInfo info;
    decoder.DecodeMetar(TrimBlanks(text), info, options.Offset, !options.Use12HourClock);
    // A report is ASCII; stray bytes that are not UTF-8 are shown as U+FFFD instead of failing.
    std::cout << ToJson(info).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
              << '\n';
}

template <typename Visit> void ForEachLine(std::string_view text, Visit visit) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        visit(text.substr(0, end));
        if (end == std::string_view::npos)
            return;
        text.remove_prefix(end + 1);
    }
}

int RunDecode(const TDecodeOptions& options) {
    const std::optional<std::string> input = ReadInput(options.File, MaxInputBytes);
    if (!input)
        return 1;
    // A malformed --utc-now was refused when the arguments were parsed; empty means "not pinned".
    const std::unique_ptr<Clock> clock = UtcNowClock(options.UtcNow);
    TMetarDecoder decoder(*clock);
    if (!options.Lines) {
        PrintDecoded(decoder, *input, options);
    } else {
        ForEachLine(*input, [&](std::string_view line) {
            if (!TrimBlanks(line).empty())
                PrintDecoded(decoder, line, options);
        });
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}

} // namespace

void RegisterDecodeCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<TDecodeOptions>();
    CLI::App* sub =
        app.add_subcommand("decode", "Decode station file texts and print them as JSON");
    sub->add_option("--offset", options->Offset, "Time-zone offset of the station in whole hours")
        ->check(CLI::Range(-24, 24));
    sub->add_flag("--12h", options->Use12HourClock, "Write times on the 12-hour clock");
    sub->add_option("--utc-now", options->UtcNow,
                    "Pin the current time (UTC and local) to YYYY-MM-DDTHH:MM")
        ->check(UtcNowFormat());
    sub->add_flag("--lines", options->Lines, "Decode every non-empty line as its own text");
    sub->add_option("FILE", options->File, "Station file text to decode (default: standard input)");
    sub->callback([options, &exitCode] { exitCode = RunDecode(*options); });
}

} // namespace nimbrel::cli
