#include "app/LoopScheduler.h"
#include "app/MainView.h"
#include "app/ParentWeatherInfo.h"
#include "app/RefreshCycle.h"
#include "app/Session.h"
#include "app/TrayText.h"
#include "base/Clock.h"
#include "base/TextTime.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "log/MessageLog.h"
#include "settings/SettingsStore.h"

#include <array>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace nimbrel::cli {

namespace {

using Json = nlohmann::ordered_json;

// A station file is a line of date and time and one report line; anything far larger is not one.
constexpr std::streamsize MaxStationFileBytes = 1 << 20;

struct ShowOptions {
    std::string settingsPath;
    std::vector<std::string> metarArguments;
    bool connectionFailed = false;
    bool changed = false;
    std::string utcNow;
};

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Remembers the balloon; everything else the refresh keeps itself.
class BalloonRecorder final : public MainView {
public:
    void ShowBalloon(const std::string& title, const std::string& text) override {
        balloon = Json{{"title", title}, {"text", text}};
    }
    Json balloon = nullptr;
};

std::string ReadStationFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read station file " + path);
    std::string text(static_cast<std::size_t>(MaxStationFileBytes) + 1, '\0');
    in.read(text.data(), MaxStationFileBytes + 1);
    if (in.bad())
        throw std::runtime_error("cannot read station file " + path);
    if (in.gcount() > MaxStationFileBytes)
        throw std::runtime_error("station file " + path + " is too large");
    text.resize(static_cast<std::size_t>(in.gcount()));
    return std::string(TrimBlanks(text));
}

// "N=FILE" with N in 1..5, each slot named once.
std::array<std::string, LocationSlotCount>
ReadMetarTexts(const std::vector<std::string>& arguments) {
    std::array<std::string, LocationSlotCount> metar;
    std::array<bool, LocationSlotCount> given{};
    for (const std::string& argument : arguments) {
        const std::size_t equals = argument.find('=');
        // 0 for no number at all, which is out of range as well.
        const int slot = equals == std::string::npos
                             ? 0
                             : ParseWholeNumber(argument.substr(0, equals)).value_or(0);
        if (slot < 1 || slot > LocationSlotCount || equals + 1 == argument.size())
            throw UsageError("--metar expects N=FILE with N from 1 to 5, got \"" + argument + "\"");
        const auto index = static_cast<std::size_t>(slot - 1);
        if (given[index])
            throw UsageError("--metar names slot " + std::to_string(slot) + " twice");
        given[index] = true;
        metar[index] = ReadStationFile(argument.substr(equals + 1));
    }
    return metar;
}

Json PanelJson(const PanelModel& panel) {
    return Json{
        {"LabelLocationName", panel.LabelLocationName},
        {"LabelLocalTime", panel.LabelLocalTime},
        {"LabelTime", panel.LabelTime},
        {"LabelTimeColor", panel.LabelTimeRed ? "red" : "normal"},
        {"LabelCover", panel.LabelCover},
        {"LabelPresentWeather", panel.LabelPresentWeather},
        {"LabelPresentWeatherHint", panel.LabelPresentWeatherHint},
        {"LabelWind", panel.LabelWind},
        {"LabelPressure", panel.LabelPressure},
        {"LabelTemperature", panel.LabelTemperature},
        {"LabelDewPoint", panel.LabelDewPoint},
        {"LabelVisibility", panel.LabelVisibility},
        {"LabelMetar", panel.LabelMetar},
        {"LabelMetarHint", panel.LabelMetarHint},
        {"AdvancedVisible", panel.AdvancedVisible},
        {"ImageSignificantWeather", panel.ImageSignificantWeather},
        {"ImageTemperature", panel.ImageTemperature},
        {"LabelTemperatureInImage", panel.LabelTemperatureInImage},
        {"ImageWindSpeed", panel.ImageWindSpeed},
        {"LabelWindSpeedInImage", panel.LabelWindSpeedInImage},
    };
}

Json RefreshJson(const TRefreshCycle& refresh, const BalloonRecorder& view, const TLogList& log) {
    Json tabs = Json::array();
    Json panels = Json::array();
    for (int slot = 1; slot <= LocationSlotCount; ++slot) {
        tabs.push_back(
            Json{{"visible", refresh.Tab(slot).Visible}, {"caption", refresh.Tab(slot).Caption}});
        panels.push_back(PanelJson(refresh.Panel(slot)));
    }
    return Json{
        {"tabs", tabs},
        {"panels", panels},
        {"trayHint", refresh.TrayHint()},
        {"trayTip", TrayTip(refresh.TrayHint())},
        {"trayIconIndex", refresh.TrayIconIndex()},
        {"balloon", view.balloon},
        {"statusText", refresh.StatusText()},
        {"log", LogJson(log.Lines())},
        {"presentWeatherCaption", std::string(PresentWeatherCaption)},
    };
}

void RunShow(const ShowOptions& options) {
    const std::unique_ptr<Clock> clock = UtcNowClock(options.utcNow);
    const std::array<std::string, LocationSlotCount> metar = ReadMetarTexts(options.metarArguments);
    LoopScheduler loop;
    BalloonRecorder view;
    Session session(loop, *clock, view, {});
    // Unlike the desktop program, an unreadable settings file is an error here.
    session.Settings() = LoadSettings(options.settingsPath);
    session.ShowReports(metar, options.changed, options.connectionFailed);
    // Names and reports may hold bytes that are not UTF-8; they must not stop the output.
    std::cout << RefreshJson(session.Refresh(), view, session.Log())
                     .dump(-1, ' ', false, Json::error_handler_t::replace)
              << "\n";
}

} // namespace

void RegisterShowCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* sub = app.add_subcommand(
        "show", "Run one full refresh from a settings file and station files; print it as JSON");
    sub->add_option("--settings", options->settingsPath, "Settings file (ini)")->required();
    sub->add_option("--metar", options->metarArguments,
                    "N=FILE: station file text held for slot N");
    sub->add_flag("--connection-failed", options->connectionFailed,
                  "The last retrieval attempt failed");
    sub->add_flag("--changed", options->changed, "The primary report changed");
    sub->add_option("--utc-now", options->utcNow, "Pinned UTC time, YYYY-MM-DDTHH:MM")
        ->check(UtcNowFormat());
    sub->callback([options, &exitCode] {
        try {
            RunShow(*options);
            exitCode = 0;
        } catch (const UsageError& e) {
            std::cerr << "nimbrel-cli show: " << e.what() << "\n";
            exitCode = 2;
        } catch (const std::exception& e) {
            std::cerr << "nimbrel-cli show: " << e.what() << "\n";
            exitCode = 1;
        }
    });
}

} // namespace nimbrel::cli
