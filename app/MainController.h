#pragma once
// The main window's fetch state and operations, free of any GUI toolkit: the held station texts,
// the connection flags, the start of a fetch run and its watchdog. Every member is used on the
// main thread only; the worker hands its results over inside one synchronous main-thread call.
#include "app/MainView.h"
#include "app/Scheduler.h"
#include "settings/Settings.h"
#include "windows/MyLog.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace nimbrel {

struct FtpServerAddress {
    std::string Host = "tgftp.nws.noaa.gov";
    uint16_t Port = 21;
};

struct FetchRun; // one run's shared state, outlives the controller while an abandoned worker ends

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

    std::array<std::string, 5> METAR;
    bool PrimaryWeatherHasChanged = false;
    bool ConnectionInProgress = false;
    bool ConnectionFailed = false;

private:
    void AbandonRun();

    Scheduler& scheduler_;
    MainView& view_;
    TLogList& log_;
    const TSettings& settings_;
    FtpServerAddress server_;
    std::chrono::milliseconds watchdog_;
    std::unique_ptr<Timer> ConnectionTimer;
    std::shared_ptr<FetchRun> run_;
};

// What the heartbeat reads of the settings. Read on the main thread, where the settings live.
struct HeartBeatSettings {
    bool GetWeatherReportOnStartup = true;
    int DelayGetWeaterOnStartup = 0;
    int LongReconnectInterval = 30; // minutes
};

// The heartbeat's sense of time: a monotonic "now" and the one-second wait of its loop. Tests
// replace it to run minutes of schedule in milliseconds.
class HeartBeatPacer {
public:
    virtual ~HeartBeatPacer() = default;
    virtual std::chrono::steady_clock::time_point Now() const = 0;
    // Waits one second; returns early once a stop has been requested through Interrupt.
    virtual void WaitOneSecond() = 0;
    // Wakes a pending or the next WaitOneSecond at once. Any thread.
    virtual void Interrupt() = 0;
};

// Starts fetch runs on its own: once shortly after start-up (when wanted), then every
// LongReconnectInterval minutes. Runs a thread of its own from construction until Stop.
class THeartBeatThread {
public:
    // readSettings and trigger run on the main thread (trigger normally calls
    // StartGetWeatherReport). The constructor must be called on the main thread.
    THeartBeatThread(Scheduler& scheduler, std::function<HeartBeatSettings()> readSettings,
                     std::function<void()> trigger, std::unique_ptr<HeartBeatPacer> pacer = {});
    ~THeartBeatThread(); // = Stop()
    THeartBeatThread(const THeartBeatThread&) = delete;
    THeartBeatThread& operator=(const THeartBeatThread&) = delete;

    // Re-arms the refresh timer one full period from now; does nothing before the start-up phase
    // ended. Main thread (and the heartbeat itself).
    void ResetRefreshTimer();
    // Requests the stop and waits for the thread; main thread. Pending main-thread calls of the
    // heartbeat must still be served meanwhile: see Scheduler::CallOnMainThread.
    void Stop();

private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace nimbrel
