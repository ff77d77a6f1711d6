#pragma once
// The fetch state and operations, free of any GUI toolkit: the held station texts, the
// connection flags, the start of a fetch run and its watchdog, and the refresh that follows a
// run. Every member is used on the main thread only; the worker hands its results over inside
// one synchronous main-thread call.
#include "app/MainView.h"
#include "app/RefreshCycle.h"
#include "base/Scheduler.h"
#include "history/History.h"
#include "log/MessageLog.h"
#include "retrieval/GetWeatherThread.h"
#include "retrieval/HeartBeatThread.h"
#include "settings/Settings.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace nimbrel {

class TMainController {
public:
    // refresh may be null: then a run's end updates no display and only tells the view.
    TMainController(Scheduler& scheduler, MainView& view, TLogList& log, const TSettings& settings,
                    TRefreshCycle* refresh, FtpServerAddress server = {},
                    std::chrono::milliseconds watchdog = std::chrono::seconds(30));
    ~TMainController();
    TMainController(const TMainController&) = delete;
    TMainController& operator=(const TMainController&) = delete;

    void StartGetWeatherReport();
    // The watchdog's handler: ends the running worker at once, its results are dropped.
    void ConnectionTimerExpired();
    // Aborts a running worker at once and stops the watchdog; never waits for the network.
    void Shutdown();

    // Every panel, tab, the tray and the status bar from the held texts (timeOnly: the clocks
    // only); a full refresh then tells the view through LocationsUpdated. Runs at start-up and
    // whenever a run ends.
    void UpdateLocations(bool timeOnly);
    // Holds texts and flags as a run's end would, without a run (the command-line show).
    void HoldReports(const std::array<std::string, LocationSlotCount>& metar,
                     bool primaryWeatherHasChanged, bool connectionFailed);

    // Runs after each successful run's refresh with the files that run fetched, each with the
    // code it was fetched for (the report history keeps them).
    void SetRunFetched(std::function<void(const std::vector<FetchedStationFile>&)> fetched) {
        runFetched_ = std::move(fetched);
    }

    const std::array<std::string, LocationSlotCount>& METAR() const { return METAR_; }
    bool PrimaryWeatherHasChanged() const { return PrimaryWeatherHasChanged_; }
    bool ConnectionInProgress() const { return ConnectionInProgress_; }
    bool ConnectionFailed() const { return ConnectionFailed_; }

private:
    void SetConnectionState(bool failed, bool inProgress);
    void ArmConnectionTimer();
    void ShowProgress(FetchProgress step);
    void FetchFinished(const FetchOutcome& outcome);

    Scheduler& scheduler_;
    MainView& view_;
    TLogList& log_;
    const TSettings& settings_;
    TRefreshCycle* refresh_;
    FtpServerAddress server_;
    std::chrono::milliseconds watchdog_;
    std::unique_ptr<Timer> ConnectionTimer;
    std::unique_ptr<TGetWeatherThread> GetWeatherThread;  // the current worker, or none
    std::array<std::string, LocationSlotCount> runCodes_; // what the current worker fetches
    std::function<void(const std::vector<FetchedStationFile>&)> runFetched_;

    std::array<std::string, LocationSlotCount> METAR_;
    bool PrimaryWeatherHasChanged_ = false;
    bool ConnectionInProgress_ = false;
    bool ConnectionFailed_ = false;
};

} // namespace nimbrel
