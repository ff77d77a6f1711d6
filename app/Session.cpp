#include "app/Session.h"

#include "app/DesktopRules.h"
#include "retrieval/StationSource.h"
#include "settings/IniFile.h"
#include "settings/SettingsStore.h"

#include <exception>

namespace nimbrel {

// The history's helper must take every run a fetch can make.
static_assert(MaxHistoryRunFiles >= static_cast<std::size_t>(LocationSlotCount) &&
              MaxHistoryRunFileBytes >= MaxFileBytes);

Session::Session(Scheduler& scheduler, const Clock& clock, MainView& view, SessionOptions options)
    : scheduler_(scheduler), view_(view), settingsPath_(std::move(options.SettingsPath)),
      executablePath_(std::move(options.ExecutablePath)), pacer_(std::move(options.Pacer)),
      log_(clock) {
    if (options.ShowReports) {
        decoder_ = std::make_unique<TMetarDecoder>(clock);
        refresh_ = std::make_unique<TRefreshCycle>(view_, log_, clock, *decoder_);
    }
    controller_ =
        std::make_unique<TMainController>(scheduler_, view_, log_, settings_, refresh_.get(),
                                          std::move(options.Server), options.Watchdog);
    ClockTimer = scheduler_.CreateTimer(false);
    if (!options.HistoryPath.empty()) {
        history_ = std::make_unique<THistory>(
            std::move(options.HistoryPath), clock,
            [this](const std::string& text) { log_.AddLogMessage(LogWarning, text); });
        if (options.StoreHistoryThrough)
            history_->StoreThrough(std::move(options.StoreHistoryThrough));
        controller_->SetRunFetched([this](const std::vector<FetchedStationFile>& files) {
            history_->StoreRun(files);
            view_.HistoryStored();
        });
    }
}

Session::~Session() = default;

void Session::StartUp(const StartupSteps& steps) {
    LoadSettingsFile(steps);
    if (steps.ChooseWindowState)
        steps.ChooseWindowState();
    if (steps.ArrangeLocationPanels)
        steps.ArrangeLocationPanels();
    // The first display, without reports.
    UpdateLocations(false);
    if (steps.ShowFirstTab)
        steps.ShowFirstTab();
    log_.AddLogMessage(LogInformation, StartingLogMessage());
    // The heartbeat only now, so no fetch can start before the window is complete.
    StartHeartBeat();
    ClockTimer->Start(std::chrono::milliseconds(ClockTimerIntervalMilliseconds), [this] {
        if (refresh_)
            refresh_->ClockTimerTick(settings_);
    });
}

void Session::LoadSettingsFile(const StartupSteps& steps) {
    isFirstRun_ = SettingsFileMissing(settingsPath_);
    try {
        settings_ = LoadSettings(settingsPath_);
    } catch (const IniFileError& error) {
        // Saving the defaults over a file we could not read would destroy the user's settings.
        settingsReadable_ = false;
        if (steps.SettingsUnreadable)
            steps.SettingsUnreadable(error.what());
    }
}

void Session::StartHeartBeat() {
    if (!pacer_)
        pacer_ = MakeSteadyPacer();
    heartBeat_ = std::make_unique<THeartBeatThread>(
        scheduler_,
        [this] {
            return HeartBeatSettings{settings_.GetWeatherReportOnStartup,
                                     settings_.DelayGetWeaterOnStartup,
                                     settings_.LongReconnectInterval};
        },
        [this] { controller_->StartGetWeatherReport(); }, std::move(pacer_));
}

void Session::StartGetWeatherReport() {
    controller_->StartGetWeatherReport();
}

void Session::UpdateLocations(bool timeOnly) {
    controller_->UpdateLocations(timeOnly);
}

void Session::ShowReports(const std::array<std::string, LocationSlotCount>& metar,
                          bool primaryWeatherHasChanged, bool connectionFailed) {
    controller_->HoldReports(metar, primaryWeatherHasChanged, connectionFailed);
    UpdateLocations(false);
}

void Session::SaveSettings() {
    if (settingsReadable_)
        SaveSettingsAndAutostart(settings_, settingsPath_, executablePath_, LogAutostartWarning());
}

void Session::ResetRefreshTimer() {
    if (heartBeat_)
        heartBeat_->ResetRefreshTimer();
}

std::function<void(const std::string&)> Session::LogAutostartWarning() {
    return [this](const std::string& text) { log_.AddLogMessage(LogWarning, text); };
}

void Session::Shutdown(const ShutdownSteps& steps) {
    if (shutDown_)
        return;
    shutDown_ = true;
    StopHeartBeat(steps);
    try {
        controller_->Shutdown();
    } catch (const std::exception&) {
        // As with the heartbeat: shutdown goes on to the timers and the settings.
    }
    ClockTimer->Stop();
    SaveSettingsAtExit(steps);
}

void Session::StopHeartBeat(const ShutdownSteps& steps) {
    if (!heartBeat_)
        return;
    try {
        if (steps.ServeWhile)
            steps.ServeWhile([this] { heartBeat_->Stop(); });
        else
            heartBeat_->Stop();
        heartBeat_.reset();
    } catch (const std::exception&) {
        // A failing stop must not keep the settings from being saved.
    }
}

void Session::SaveSettingsAtExit(const ShutdownSteps& steps) {
    try {
        SaveSettings();
    } catch (const std::exception& error) {
        if (steps.SaveFailed)
            steps.SaveFailed(error.what());
    }
}

} // namespace nimbrel
