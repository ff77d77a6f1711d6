#pragma once
// A main thread of the core's own, for the command-line tool and tests: the thread that creates
// the scheduler is its main thread, and Run serves main-thread calls and fires timers on it
// until Quit. Wakes at once for a call or a quit; never polls.
#include "base/Scheduler.h"

#include <memory>

namespace nimbrel {

class LoopScheduler final : public Scheduler {
public:
    LoopScheduler();
    ~LoopScheduler() override; // stops serving: waiting callers are released with false
    LoopScheduler(const LoopScheduler&) = delete;
    LoopScheduler& operator=(const LoopScheduler&) = delete;

    bool CallOnMainThread(const std::function<void()>& fn) override;
    MainThreadCall MainThreadCaller() override;
    std::unique_ptr<Timer> CreateTimer(bool singleShot) override;

    // Main thread: serves calls and timers until Quit.
    void Run();
    // Any thread: makes Run return once the call or timer handler in progress has returned.
    void Quit();
    // From now on calls are refused, and calls waiting to be served are released with false.
    void StopServing();
    // Expires once nothing can call into the loop any more: the scheduler, its timers and every
    // handle from MainThreadCaller are gone (a fetch worker lets go of its handle last of all).
    std::weak_ptr<const void> Lifetime() const { return state_; }

private:
    struct State;
    class LoopTimer;
    std::shared_ptr<State> state_;
};

} // namespace nimbrel
