#pragma once
// The heartbeat's seconds as a test hands them out.
#include "retrieval/HeartBeatThread.h"
#include "support/FakeScheduler.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace nimbrel::testing {

// One-second waits that last exactly as long as the test says: each granted tick advances the
// heartbeat's clock by one second.
class SteppedPacer final : public HeartBeatPacer {
public:
    std::chrono::steady_clock::time_point Now() const override {
        const std::lock_guard lock(mutex_);
        return std::chrono::steady_clock::time_point(std::chrono::seconds(elapsed_));
    }
    explicit SteppedPacer(FakeScheduler& scheduler) : scheduler_(scheduler) {}

    void WaitOneSecond() override {
        std::unique_lock lock(mutex_);
        waiting_ = true;
        scheduler_.Wake();
        changed_.wait(lock, [this] { return granted_ > 0 || interrupted_; });
        waiting_ = false;
        if (granted_ > 0) {
            --granted_;
            ++elapsed_;
        }
    }
    void Interrupt() override {
        const std::lock_guard lock(mutex_);
        interrupted_ = true;
        changed_.notify_all();
    }

    void Grant() {
        const std::lock_guard lock(mutex_);
        ++granted_;
        changed_.notify_all();
    }
    // The tick was taken and the heartbeat waits for the next one.
    bool Settled() const {
        const std::lock_guard lock(mutex_);
        return waiting_ && granted_ == 0;
    }
    int Elapsed() const {
        const std::lock_guard lock(mutex_);
        return elapsed_;
    }

private:
    FakeScheduler& scheduler_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int granted_ = 0;
    int elapsed_ = 0;
    bool waiting_ = false;
    bool interrupted_ = false;
};

} // namespace nimbrel::testing
