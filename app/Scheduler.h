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

class Scheduler {
public:
    virtual ~Scheduler() = default;
    // Runs fn on the main thread and returns once it has run there. Called from the main thread
    // itself, runs fn at once. Returns false, without running fn, once the main thread has
    // stopped serving calls (shutdown), so a background thread is never left waiting forever.
    virtual bool CallOnMainThread(const std::function<void()>& fn) = 0;
    virtual std::unique_ptr<Timer> CreateTimer(bool singleShot) = 0;
};

} // namespace nimbrel
