#include "app/MainController.h"

namespace nimbrel {

namespace {

constexpr const char* GettingWeatherReport = "Getting weather report...";

const char* ProgressText(FetchProgress step) {
    switch (step) {
    case FetchProgress::Connecting:
        return "Connecting to weather server.";
    case FetchProgress::Retrieving:
        return "Retrieving report...";
    case FetchProgress::Disconnecting:
        return "Disconnecting from weather server.";
    }
    return "";
}

} // namespace

TMainController::TMainController(Scheduler& scheduler, MainView& view, TLogList& log,
                                 const TSettings& settings, TRefreshCycle* refresh,
                                 FtpServerAddress server, std::chrono::milliseconds watchdog)
    : scheduler_(scheduler), view_(view), log_(log), settings_(settings), refresh_(refresh),
      server_(std::move(server)), watchdog_(watchdog),
      ConnectionTimer(scheduler.CreateTimer(true)) {}

TMainController::~TMainController() {
    Shutdown();
}

void TMainController::SetConnectionState(bool failed, bool inProgress) {
    ConnectionFailed_ = failed;
    ConnectionInProgress_ = inProgress;
}

void TMainController::UpdateLocations(bool timeOnly) {
    if (refresh_) {
        refresh_->UpdateLocations(
            RefreshInput{settings_, METAR_, PrimaryWeatherHasChanged_, ConnectionFailed_},
            timeOnly);
    }
    if (!timeOnly) {
        view_.LocationsUpdated();
    }
}

void TMainController::HoldReports(const std::array<std::string, LocationSlotCount>& metar,
                                  bool primaryWeatherHasChanged, bool connectionFailed) {
    METAR_ = metar;
    PrimaryWeatherHasChanged_ = primaryWeatherHasChanged;
    ConnectionFailed_ = connectionFailed;
}

void TMainController::StartGetWeatherReport() {
    if (ConnectionInProgress_) {
        log_.AddLogMessage(LogWarning,
                           "Get weather report aborted: connection already in progress");
        return;
    }
    SetConnectionState(false, true);
    view_.SetStatusText(GettingWeatherReport);
    view_.SetTrayHint(GettingWeatherReport);
    view_.SetTrayAnimation(true);
    GetWeatherThread.reset();

    FetchRequest request;
    request.Server = server_;
    request.FtpActiveMode = settings_.FtpActiveMode;
    request.UseHttps = settings_.UseHttps;
    for (int slot = 1; slot <= LocationSlotCount; ++slot) {
        request.LocationCodes.at(static_cast<std::size_t>(slot - 1)) =
            settings_.Slot(slot).LocationCode;
    }
    runCodes_ = request.LocationCodes;
    GetWeatherThread = std::make_unique<TGetWeatherThread>(
        std::move(request), scheduler_, [this](FetchProgress step) { ShowProgress(step); },
        [this](const FetchOutcome& outcome) { FetchFinished(outcome); });
    ArmConnectionTimer();
}

void TMainController::ArmConnectionTimer() {
    ConnectionTimer->Start(watchdog_, [this] { ConnectionTimerExpired(); });
}

void TMainController::ShowProgress(FetchProgress step) {
    if (step == FetchProgress::Connecting) {
        view_.SetBusyCursor(true);
    } else if (step == FetchProgress::Disconnecting) {
        view_.SetBusyCursor(false);
    }
    log_.AddLogMessage(LogInformation, ProgressText(step));
}

// The worker's last main-thread call: everything it hands back changes here, in one step, so the
// main thread never reads a half-written result.
void TMainController::FetchFinished(const FetchOutcome& outcome) {
    if (outcome.Failed) {
        log_.AddLogMessage(LogError, "ERROR: " + outcome.ErrorMessage);
    } else {
        TakeStationTexts(outcome.Buffers, METAR_, PrimaryWeatherHasChanged_);
    }
    SetConnectionState(outcome.Failed, false);
    UpdateLocations(false);
    if (!outcome.Failed && runFetched_) {
        std::vector<FetchedStationFile> files;
        for (std::size_t slot = 0; slot < outcome.Buffers.size(); ++slot)
            files.push_back({runCodes_.at(slot), outcome.Buffers[slot]});
        runFetched_(files);
    }
}

void TMainController::ConnectionTimerExpired() {
    ConnectionTimer->Stop();
    if (!GetWeatherThread) {
        return;
    }
    GetWeatherThread.reset();
    if (ConnectionInProgress_) {
        SetConnectionState(true, false);
        UpdateLocations(false);
    }
    view_.SetBusyCursor(false);
}

void TMainController::Shutdown() {
    GetWeatherThread.reset();
    ConnectionTimer->Stop();
}

} // namespace nimbrel
