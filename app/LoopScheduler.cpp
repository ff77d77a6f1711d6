#include "app/LoopScheduler.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace nimbrel {

namespace {
using SteadyTime = std::chrono::steady_clock::time_point;
}

struct LoopScheduler::State {
    struct Call {
        const std::function<void()>* fn = nullptr;
        bool done = false;
        bool ran = false;
    };
    struct TimerSlot {
        bool singleShot = true;
        bool active = false;
        SteadyTime due;
        std::chrono::milliseconds interval{0};
        std::function<void()> handler;
    };

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Call*> calls; // each lives on its caller's stack until marked done
    std::map<int, TimerSlot> timers;
    int nextTimerId = 0;
    bool quit = false;
    bool stopped = false;
    const std::thread::id mainThread = std::this_thread::get_id();

    // The handler of the earliest due active timer, if one is due; re-arms or ends that timer.
    std::optional<std::function<void()>> TakeDueHandler(SteadyTime now) {
        TimerSlot* next = EarliestTimer();
        if (next == nullptr || next->due > now) {
            return std::nullopt;
        }
        if (next->singleShot) {
            next->active = false;
        } else {
            next->due = now + next->interval;
        }
        return next->handler;
    }
    bool CallOnMainThread(const std::function<void()>& fn) {
        if (std::this_thread::get_id() == mainThread) {
            fn();
            return true;
        }
        Call call{&fn};
        std::unique_lock lock(mutex);
        if (stopped) {
            return false;
        }
        calls.push_back(&call);
        changed.notify_all();
        changed.wait(lock, [&call] { return call.done; });
        return call.ran;
    }
    TimerSlot* EarliestTimer() {
        TimerSlot* earliest = nullptr;
        for (auto& [id, slot] : timers) {
            if (slot.active && (earliest == nullptr || slot.due < earliest->due)) {
                earliest = &slot;
            }
        }
        return earliest;
    }
};

class LoopScheduler::LoopTimer final : public Timer {
public:
    LoopTimer(std::shared_ptr<State> state, bool singleShot) : state_(std::move(state)) {
        const std::lock_guard lock(state_->mutex);
        id_ = state_->nextTimerId++;
        state_->timers[id_].singleShot = singleShot;
    }
    ~LoopTimer() override {
        const std::lock_guard lock(state_->mutex);
        state_->timers.erase(id_);
    }
    LoopTimer(const LoopTimer&) = delete;
    LoopTimer& operator=(const LoopTimer&) = delete;

    void Start(std::chrono::milliseconds interval, std::function<void()> handler) override {
        const std::lock_guard lock(state_->mutex);
        State::TimerSlot& slot = state_->timers[id_];
        slot.active = true;
        slot.interval = interval;
        slot.due = std::chrono::steady_clock::now() + interval;
        slot.handler = std::move(handler);
        state_->changed.notify_all();
    }
    void Stop() override {
        const std::lock_guard lock(state_->mutex);
        state_->timers[id_].active = false;
    }
    bool IsActive() const override {
        const std::lock_guard lock(state_->mutex);
        return state_->timers.at(id_).active;
    }

private:
    std::shared_ptr<State> state_;
    int id_ = 0;
};

LoopScheduler::LoopScheduler() : state_(std::make_shared<State>()) {}

LoopScheduler::~LoopScheduler() {
    StopServing();
}

bool LoopScheduler::CallOnMainThread(const std::function<void()>& fn) {
    // The caller may wake after the loop, and the scheduler with it, has gone: it keeps the
    // shared state alive until it has left.
    const std::shared_ptr<State> state = state_;
    return state->CallOnMainThread(fn);
}

// The handle keeps the shared state alive, and the state refuses calls once the scheduler has
// stopped serving: a worker calling in after the loop, and the scheduler with it, has gone gets
// false instead of touching freed memory.
MainThreadCall LoopScheduler::MainThreadCaller() {
    return
        [state = state_](const std::function<void()>& fn) { return state->CallOnMainThread(fn); };
}

std::unique_ptr<Timer> LoopScheduler::CreateTimer(bool singleShot) {
    return std::make_unique<LoopTimer>(state_, singleShot);
}

void LoopScheduler::Run() {
    State& state = *state_;
    std::unique_lock lock(state.mutex);
    state.quit = false;
    while (!state.quit) {
        if (!state.calls.empty()) {
            State::Call* call = state.calls.front();
            state.calls.pop_front();
            lock.unlock();
            (*call->fn)();
            lock.lock();
            call->ran = true;
            call->done = true;
            state.changed.notify_all();
        } else if (auto handler = state.TakeDueHandler(std::chrono::steady_clock::now())) {
            lock.unlock();
            (*handler)();
            lock.lock();
        } else if (const State::TimerSlot* next = state.EarliestTimer()) {
            const SteadyTime due = next->due; // the slot may go while we wait
            state.changed.wait_until(lock, due);
        } else {
            state.changed.wait(lock);
        }
    }
}

void LoopScheduler::Quit() {
    const std::lock_guard lock(state_->mutex);
    state_->quit = true;
    state_->changed.notify_all();
}

void LoopScheduler::StopServing() {
    const std::lock_guard lock(state_->mutex);
    state_->stopped = true;
    for (State::Call* call : state_->calls) {
        call->done = true;
    }
    state_->calls.clear();
    state_->changed.notify_all();
}

} // namespace nimbrel
