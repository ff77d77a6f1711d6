#pragma once
// One run of the program, free of any GUI toolkit: the settings, the log, the decoder, the
// refresh cycle, the fetch controller, the heartbeat and the clock timer. It runs start-up and
// shutdown in their order and reaches outward only through MainView, the scheduler and the
// clock; the window (or the command-line tool) does the steps that are its own in between.
// Main thread only.
#include "app/MainController.h"
#include "app/MainView.h"
#include "app/RefreshCycle.h"
#include "base/Clock.h"
#include "base/Scheduler.h"
#include "decode/DecodeMetar.h"
#include "history/History.h"
#include "log/MessageLog.h"
#include "retrieval/GetWeatherThread.h"
#include "retrieval/HeartBeatThread.h"
#include "settings/Settings.h"

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace nimbrel {

struct SessionOptions {
    std::string SettingsPath;   // the settings file
    std::string ExecutablePath; // what the autostart entry starts
    FtpServerAddress Server;
    std::chrono::milliseconds Watchdog = std::chrono::seconds(30);
    std::unique_ptr<HeartBeatPacer> Pacer; // the heartbeat's time (default: the real one)
    // False: nothing is decoded or shown after a run; the held texts are the result (the
    // command-line fetch, whose log holds the run's lines alone).
    bool ShowReports = true;
    // The report history's file; empty: no history is kept.
    std::string HistoryPath;
    // What keeps a run in the history in another process; none: this one does.
    HistoryHelper StoreHistoryThrough;
};

// The window's own start-up steps, run by StartUp between the session's.
struct StartupSteps {
    // The settings file exists but cannot be read: the text of the warning to show.
    std::function<void(const std::string&)> SettingsUnreadable;
    std::function<void()> ChooseWindowState;
    std::function<void()> ArrangeLocationPanels;
    std::function<void()> ShowFirstTab;
};

struct ShutdownSteps {
    // Runs wait while the main thread keeps serving calls: the heartbeat may be waiting on
    // one while it is being stopped.
    std::function<void(const std::function<void()>& wait)> ServeWhile;
    // The settings could not be saved at exit: the error's text.
    std::function<void(const std::string&)> SaveFailed;
};

class Session {
public:
    // Creates the log, the decoder, the refresh cycle, the controller and the clock timer;
    // nothing runs and nothing is shown yet.
    Session(Scheduler& scheduler, const Clock& clock, MainView& view, SessionOptions options);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session();

    // The settings file, the window's steps, the first display, the log line, the heartbeat
    // and the clock timer, in this order.
    void StartUp(const StartupSteps& steps);
    // Stops the heartbeat, the running fetch and the timers, then saves the settings (never
    // over a file that could not be read). Once; later calls do nothing.
    void Shutdown(const ShutdownSteps& steps);

    void StartGetWeatherReport();
    void UpdateLocations(bool timeOnly);
    // Shows these texts and flags as if a run had just ended with them.
    void ShowReports(const std::array<std::string, LocationSlotCount>& metar,
                     bool primaryWeatherHasChanged, bool connectionFailed);
    // After the preferences changed: the settings file and the autostart entry (unless the
    // file could not be read at start-up; throws when the save fails), the refresh period.
    void SaveSettings();
    void ResetRefreshTimer();

    TSettings& Settings() { return settings_; }
    const TSettings& Settings() const { return settings_; }
    const std::string& SettingsPath() const { return settingsPath_; }
    const std::string& ExecutablePath() const { return executablePath_; }
    bool IsFirstRun() const { return isFirstRun_; }
    TLogList& Log() { return log_; }
    const TLogList& Log() const { return log_; }
    TMainController& Controller() { return *controller_; }
    const TMainController& Controller() const { return *controller_; }
    // Only with ShowReports.
    const TRefreshCycle& Refresh() const { return *refresh_; }
    // Null without a history path. Its file opens when first used.
    THistory* History() { return history_.get(); }

private:
    void LoadSettingsFile(const StartupSteps& steps);
    void StartHeartBeat();
    void StopHeartBeat(const ShutdownSteps& steps);
    void SaveSettingsAtExit(const ShutdownSteps& steps);
    std::function<void(const std::string&)> LogAutostartWarning();

    Scheduler& scheduler_;
    MainView& view_;
    std::string settingsPath_;
    std::string executablePath_;
    std::unique_ptr<HeartBeatPacer> pacer_;
    bool settingsReadable_ = true;
    bool isFirstRun_ = false;
    bool shutDown_ = false;

    TSettings settings_;
    TLogList log_;
    std::unique_ptr<TMetarDecoder> decoder_;
    std::unique_ptr<TRefreshCycle> refresh_;
    // Before the controller, so it outlives the controller's last call.
    std::unique_ptr<THistory> history_;
    std::unique_ptr<TMainController> controller_;
    std::unique_ptr<Timer> ClockTimer;
    // Last, so it is stopped first: it calls into the controller.
    std::unique_ptr<THeartBeatThread> heartBeat_;
};

} // namespace nimbrel
