#pragma once
// The main window's fetch state and operations, free of any GUI toolkit: the held station texts,
// the connection flags, the start of a fetch run and its watchdog. Every member is used on the
// main thread only; the worker hands its results over inside one synchronous main-thread call.
#include "app/MainView.h"
#include "app/Scheduler.h"
#include "retrieval/GetWeatherThread.h"
#include "retrieval/HeartBeatThread.h"
#include "settings/Settings.h"
#include "windows/MyLog.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace nimbrel {

class TMainController {
public:
    TMainController(Scheduler& scheduler, MainView& view, TLogList& log, const TSettings& settings,
                    FtpServerAddress server = {},
                    std::chrono::milliseconds watchdog = std::chrono::seconds(30));
    ~TMainController();
    TMainController(const TMainController&) = delete;
    TMainController& operator=(const TMainController&) = delete;

    void StartGetWeatherReport();
    // The watchdog's handler: ends the running worker at once, its results are dropped.
    void ConnectionTimerExpired();
    void SetConnectionState(bool failed, bool inProgress);
    // Aborts a running worker at once and stops the watchdog; never waits for the network.
    void Shutdown();

    // Set by the owner; called with false when a run ends.
    std::function<void(bool timeOnly)> UpdateLocations;

    std::array<std::string, LocationSlotCount> METAR;
    bool PrimaryWeatherHasChanged = false;
    bool ConnectionInProgress = false;
    bool ConnectionFailed = false;

private:
    void ArmConnectionTimer();
    void ShowProgress(FetchProgress step);
    void FetchFinished(const FetchOutcome& outcome);

    Scheduler& scheduler_;
    MainView& view_;
    TLogList& log_;
    const TSettings& settings_;
    FtpServerAddress server_;
    std::chrono::milliseconds watchdog_;
    std::unique_ptr<Timer> ConnectionTimer;
    std::unique_ptr<TGetWeatherThread> GetWeatherThread; // the current worker, or none
};

} // namespace nimbrel
