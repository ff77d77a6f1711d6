#pragma once
// A Scheduler whose main thread is the test's own: calls from other threads queue up until the
// test serves them, and timers fire only when the test says so. Time never passes by itself.
#include "base/Scheduler.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace nimbrel::testing {

class FakeScheduler final : public Scheduler {
public:
    class FakeTimer final : public Timer {
    public:
        FakeTimer(FakeScheduler& owner, bool singleShot) : owner_(owner), singleShot_(singleShot) {}
        ~FakeTimer() override {
            auto& timers = owner_.timers_;
            timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
        }
        FakeTimer(const FakeTimer&) = delete;
        FakeTimer& operator=(const FakeTimer&) = delete;

        void Start(std::chrono::milliseconds interval, std::function<void()> handler) override {
            interval_ = interval;
            handler_ = std::move(handler);
            active_ = true;
            ++starts_;
        }
        void Stop() override { active_ = false; }
        bool IsActive() const override { return active_; }

        // The interval has passed: runs the handler as the event loop would.
        void Fire() {
            ASSERT_TRUE(active_) << "an inactive timer cannot fire";
            if (singleShot_) {
                active_ = false;
            }
            const auto handler = handler_;
            handler();
        }
        std::chrono::milliseconds Interval() const { return interval_; }
        int Starts() const { return starts_; }

    private:
        FakeScheduler& owner_;
        bool singleShot_;
        bool active_ = false;
        int starts_ = 0;
        std::chrono::milliseconds interval_{0};
        std::function<void()> handler_;
    };

    bool CallOnMainThread(const std::function<void()>& fn) override {
        if (std::this_thread::get_id() == mainThread_) {
            fn();
            return true;
        }
        auto call = std::make_shared<Call>(Call{&fn});
        std::unique_lock lock(mutex_);
        if (stopped_) {
            return false;
        }
        calls_.push_back(call);
        changed_.notify_all();
        changed_.wait(lock, [&] { return call->done; });
        return call->ran;
    }

    // Tests keep the fake until every thread they start has ended.
    MainThreadCall MainThreadCaller() override {
        return [this](const std::function<void()>& fn) { return CallOnMainThread(fn); };
    }

    std::unique_ptr<Timer> CreateTimer(bool singleShot) override {
        auto timer = std::make_unique<FakeTimer>(*this, singleShot);
        timers_.push_back(timer.get());
        return timer;
    }

    // The timers alive, in creation order.
    FakeTimer& TimerAt(std::size_t index) { return *timers_.at(index); }

    // Serves calls on the test's thread until done() holds; false after 10 s of real time, so a
    // broken test fails instead of hanging.
    bool ServeUntil(const std::function<bool()>& done) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (!ServeOne(std::chrono::milliseconds(1)) &&
                std::chrono::steady_clock::now() > limit) {
                return false;
            }
        }
        return true;
    }

    // Runs wait (which blocks) on a helper thread and serves calls until it has returned.
    void ServeWhile(const std::function<void()>& wait) {
        std::atomic<bool> finished = false;
        std::thread waiter([&] {
            wait();
            finished = true;
        });
        ServeUntil([&] { return finished.load(); });
        waiter.join();
    }

    // Calls from other threads waiting to be served.
    std::size_t PendingCalls() {
        const std::lock_guard lock(mutex_);
        return calls_.size();
    }

    // Any thread: makes a pending ServeUntil check its condition again at once.
    void Wake() {
        const std::lock_guard lock(mutex_);
        woken_ = true;
        changed_.notify_all();
    }

    // Calls are refused from now on; calls waiting are released with false.
    void StopServing() {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        for (const auto& call : calls_) {
            call->done = true;
        }
        calls_.clear();
        changed_.notify_all();
    }

private:
    struct Call {
        const std::function<void()>* fn;
        bool done = false;
        bool ran = false;
    };

    // Serves one waiting call, waiting up to `wait` for one to arrive.
    bool ServeOne(std::chrono::milliseconds wait) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, wait, [&] { return !calls_.empty() || woken_; });
        woken_ = false;
        if (calls_.empty()) {
            return false;
        }
        const auto call = calls_.front();
        calls_.pop_front();
        lock.unlock();
        (*call->fn)();
        lock.lock();
        call->ran = true;
        call->done = true;
        changed_.notify_all();
        return true;
    }

    const std::thread::id mainThread_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Call>> calls_;
    bool stopped_ = false;
    bool woken_ = false;
    std::vector<FakeTimer*> timers_;
};

} // namespace nimbrel::testing
