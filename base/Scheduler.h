#pragma once
// Main-thread services the core asks of whichever front end runs it (Qt, the CLI's own loop, or
// a test's fake): timers that fire on the main thread and the synchronous main-thread call.
#include <chrono>
#include <functional>
#include <memory>

namespace nimbrel {

class Timer {
public:
    virtual ~Timer() = default;
    // Stops the timer, sets its handler and interval and starts it again: the count restarts.
    // A single-shot timer fires once per Start. Main thread only.
    virtual void Start(std::chrono::milliseconds interval, std::function<void()> handler) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
};

using MainThreadCall = std::function<bool(const std::function<void()>&)>;

class Scheduler {
public:
    virtual ~Scheduler() = default;
    // Runs fn on the main thread and returns once it has run there. Called from the main thread
    // itself, runs fn at once. Returns false, without running fn, once the main thread has
    // stopped serving calls (shutdown), so a background thread is never left waiting forever.
    // Guarantees every Scheduler gives the core's threads (heartbeat, fetch worker):
    // - Callable from any thread at any time until the Scheduler is destroyed; the Scheduler
    //   outlives every thread that calls it here. A thread that may be left to finish alone
    //   (the fetch worker) calls through MainThreadCaller instead.
    // - Calls are served from the main thread's event loop in the order they arrived, and the
    //   caller is released as soon as fn has returned (the main thread may join it next).
    // - When serving stops, calls already waiting are released with false as well.
    // - While the main thread blocks waiting for a thread to end (THeartBeatThread::Stop), it
    //   either keeps serving calls or has stopped serving: a thread that calls in just then
    //   must not deadlock the two.
    virtual bool CallOnMainThread(const std::function<void()>& fn) = 0;
    // CallOnMainThread as a handle that may outlive the Scheduler: once serving has stopped, or
    // the Scheduler is gone, a call through it returns false without running fn.
    virtual MainThreadCall MainThreadCaller() = 0;
    virtual std::unique_ptr<Timer> CreateTimer(bool singleShot) = 0;
};

} // namespace nimbrel
