#include "retrieval/HeartBeatThread.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace nimbrel {

namespace {

class SteadyPacer final : public HeartBeatPacer {
public:
    std::chrono::steady_clock::time_point Now() const override {
        return std::chrono::steady_clock::now();
    }
    void WaitOneSecond() override {
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::seconds(1), [this] { return interrupted_; });
    }
    void Interrupt() override {
        const std::lock_guard lock(mutex_);
        interrupted_ = true;
        wake_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool interrupted_ = false;
};

// A period of zero or less (a hand-edited settings file) disables the timer rather than making
// it fire on every tick.
std::chrono::milliseconds Period(int minutes) {
    return std::chrono::milliseconds(static_cast<std::int64_t>(minutes) * 60000);
}

struct RefreshTimer {
    std::chrono::steady_clock::time_point due;
    std::chrono::milliseconds period{0};
};

} // namespace

std::unique_ptr<HeartBeatPacer> MakeSteadyPacer() {
    return std::make_unique<SteadyPacer>();
}

// The refresh timer is a due time checked by the heartbeat's one-second loop. Both threads
// change it, so every access holds the mutex: re-arming is one step with respect to the check.
struct THeartBeatThread::State {
    State(Scheduler& s, std::function<HeartBeatSettings()> read, std::function<void()> t,
          std::unique_ptr<HeartBeatPacer> p)
        : scheduler(s), readSettings(std::move(read)), trigger(std::move(t)), pacer(std::move(p)) {}

    Scheduler& scheduler;
    std::function<HeartBeatSettings()> readSettings;
    std::function<void()> trigger;
    std::unique_ptr<HeartBeatPacer> pacer;
    HeartBeatSettings startup;
    std::atomic<bool> stopRequested = false;

    std::mutex mutex;
    std::optional<RefreshTimer> refreshTimer;

    void Reset(int minutes) {
        const std::lock_guard lock(mutex);
        if (refreshTimer) {
            refreshTimer->period = Period(minutes);
            refreshTimer->due = pacer->Now() + refreshTimer->period;
        }
    }
    // True once per expiry; a loop that fell behind by several periods catches up with one.
    bool TakeExpiry() {
        const std::lock_guard lock(mutex);
        if (!refreshTimer || refreshTimer->period <= std::chrono::milliseconds(0)) {
            return false;
        }
        const auto now = pacer->Now();
        if (now < refreshTimer->due) {
            return false;
        }
        while (refreshTimer->due <= now) {
            refreshTimer->due += refreshTimer->period;
        }
        return true;
    }
    void TriggerGetWeatherReport() { scheduler.CallOnMainThread(trigger); }
};

THeartBeatThread::THeartBeatThread(Scheduler& scheduler,
                                   std::function<HeartBeatSettings()> readSettings,
                                   std::function<void()> trigger,
                                   std::unique_ptr<HeartBeatPacer> pacer)
    : state_(std::make_shared<State>(scheduler, std::move(readSettings), std::move(trigger),
                                     std::move(pacer))) {
    state_->startup = state_->readSettings();
    thread_ = std::thread([state = state_] { Body(*state); });
}

THeartBeatThread::~THeartBeatThread() {
    Stop();
}

void THeartBeatThread::ResetRefreshTimer() {
    state_->Reset(state_->readSettings().LongReconnectInterval);
}

void THeartBeatThread::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    state_->stopRequested = true;
    state_->pacer->Interrupt();
    thread_.join();
}

void THeartBeatThread::Body(State& state) {
    if (state.startup.GetWeatherReportOnStartup) {
        for (int counter = state.startup.DelayGetWeaterOnStartup; counter >= 0; --counter) {
            state.pacer->WaitOneSecond();
            if (state.stopRequested) {
                break;
            }
        }
        if (!state.stopRequested) {
            state.TriggerGetWeatherReport();
        }
    }
    {
        const std::lock_guard lock(state.mutex);
        state.refreshTimer.emplace();
    }
    // The interval may have changed during the start-up phase; the settings live on the main
    // thread. A refused call (shutting down) leaves the timer unarmed, which nothing will miss.
    int minutes = 0;
    if (state.scheduler.CallOnMainThread(
            [&] { minutes = state.readSettings().LongReconnectInterval; })) {
        state.Reset(minutes);
    }
    while (!state.stopRequested) {
        state.pacer->WaitOneSecond();
        if (!state.stopRequested && state.TakeExpiry()) {
            state.TriggerGetWeatherReport();
        }
    }
    const std::lock_guard lock(state.mutex);
    state.refreshTimer.reset();
}

} // namespace nimbrel
