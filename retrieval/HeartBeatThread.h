#pragma once
// The heartbeat: starts fetch runs on its own, once shortly after start-up (when wanted) and then
// every LongReconnectInterval minutes, from a thread of its own that wakes once a second.
#include "base/Scheduler.h"

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace nimbrel {

// What the heartbeat reads of the settings. Read on the main thread, where the settings live.
struct HeartBeatSettings {
    bool GetWeatherReportOnStartup = true;
    int DelayGetWeaterOnStartup = 0;
    int LongReconnectInterval = 30; // minutes
};

// The heartbeat's sense of time: a monotonic "now" and the one-second wait of its loop. Tests
// replace it to run hours of schedule in milliseconds.
class HeartBeatPacer {
public:
    virtual ~HeartBeatPacer() = default;
    virtual std::chrono::steady_clock::time_point Now() const = 0;
    // Waits one second, or less once Interrupt was called.
    virtual void WaitOneSecond() = 0;
    // Makes the pending and every later WaitOneSecond return at once. Any thread.
    virtual void Interrupt() = 0;
};

std::unique_ptr<HeartBeatPacer> MakeSteadyPacer();

class THeartBeatThread {
public:
    // Main thread. readSettings and trigger always run on the main thread; trigger normally is
    // StartGetWeatherReport. The thread starts at once.
    THeartBeatThread(Scheduler& scheduler, std::function<HeartBeatSettings()> readSettings,
                     std::function<void()> trigger,
                     std::unique_ptr<HeartBeatPacer> pacer = MakeSteadyPacer());
    ~THeartBeatThread(); // = Stop()
    THeartBeatThread(const THeartBeatThread&) = delete;
    THeartBeatThread& operator=(const THeartBeatThread&) = delete;

    // Main thread: the next refresh comes one full LongReconnectInterval from now. Does nothing
    // while the start-up phase runs (the refresh timer does not exist yet).
    void ResetRefreshTimer();

    // Main thread: requests the stop and waits until the thread has ended, within about a
    // second. The heartbeat may be waiting in a main-thread call at that moment, so the
    // scheduler must either keep serving calls while Stop waits or refuse them (it has stopped
    // serving); see Scheduler::CallOnMainThread. Calling Stop again does nothing.
    void Stop();

private:
    struct State;
    static void Body(State& state);

    std::shared_ptr<State> state_;
    std::thread thread_;
};

} // namespace nimbrel
