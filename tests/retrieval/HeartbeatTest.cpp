#include "retrieval/HeartBeatThread.h"
#include "support/FakeScheduler.h"
#include "support/SteppedPacer.h"

#include <condition_variable>
#include <future>
#include <gtest/gtest.h>
#include <mutex>

namespace nimbrel {
namespace {

using testing::FakeScheduler;
using testing::SteppedPacer;
using Seconds = std::vector<int>;

class Heartbeat : public ::testing::Test {
protected:
    void Start() {
        auto pacer = std::make_unique<SteppedPacer>(scheduler);
        pacer_ = pacer.get();
        heartbeat = std::make_unique<THeartBeatThread>(
            scheduler, [this] { return settings; },
            [this] { triggers.push_back(pacer_->Elapsed()); }, std::move(pacer));
        ASSERT_TRUE(scheduler.ServeUntil([this] { return pacer_->Settled(); }));
    }
    // Lets `seconds` seconds pass, one tick at a time, serving the heartbeat's calls.
    void Advance(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            pacer_->Grant();
            ASSERT_TRUE(scheduler.ServeUntil([this] { return pacer_->Settled(); }));
        }
    }
    void Stop() {
        scheduler.ServeWhile([this] { heartbeat->Stop(); });
    }
    void TearDown() override {
        if (heartbeat) {
            Stop();
        }
    }

    HeartBeatSettings settings;
    FakeScheduler scheduler;
    std::unique_ptr<THeartBeatThread> heartbeat;
    Seconds triggers; // the heartbeat's second at which each run was requested
    SteppedPacer* pacer_ = nullptr;
};

struct ScheduleCase {
    const char* name;
    HeartBeatSettings settings;
    int seconds;
    Seconds triggers;
};

void PrintTo(const ScheduleCase& c, std::ostream* os) {
    *os << c.name;
}

class HeartbeatSchedule : public Heartbeat, public ::testing::WithParamInterface<ScheduleCase> {};

TEST_P(HeartbeatSchedule, RequestsRunsAtTheseSeconds) {
    settings = GetParam().settings;
    Start();
    Advance(GetParam().seconds);
    EXPECT_EQ(triggers, GetParam().triggers);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeartbeatSchedule,
    ::testing::Values(ScheduleCase{"StartupAfterOneSecondNotAtOnce", {true, 0, 30}, 1, {1}},
                      ScheduleCase{"NothingBeforeTheFirstSecond", {true, 0, 30}, 0, {}},
                      ScheduleCase{"DelaySixtyWaitsSixtyOne", {true, 60, 30}, 60, {}},
                      ScheduleCase{"DelaySixtyRunsAtSixtyOne", {true, 60, 30}, 61, {61}},
                      ScheduleCase{"NegativeDelayNoWait", {true, -5, 30}, 0, {0}},
                      ScheduleCase{
                          "PeriodCountsFromTheStartupRun", {true, 0, 30}, 3601, {1, 1801, 3601}},
                      ScheduleCase{"JustBeforeThePeriod", {true, 0, 30}, 1800, {1}},
                      ScheduleCase{"StartupOffWaitsAFullPeriod", {false, 0, 10}, 600, {600}},
                      ScheduleCase{"StartupOffNothingBefore", {false, 0, 10}, 599, {}},
                      ScheduleCase{"ZeroIntervalNeverFires", {false, 0, 0}, 120, {}},
                      ScheduleCase{"NegativeIntervalNeverFires", {true, 0, -1}, 120, {1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Heartbeat, ResetRestartsThePeriodWithTheNewInterval) {
    settings = {true, 0, 30};
    Start();
    Advance(100);
    settings.LongReconnectInterval = 10;
    heartbeat->ResetRefreshTimer();
    Advance(600);
    EXPECT_EQ(triggers, (Seconds{1, 700}));
    Advance(600);
    EXPECT_EQ(triggers, (Seconds{1, 700, 1300}));
}

TEST_F(Heartbeat, ResetDuringTheStartupWaitDoesNothingAndTheTimerTakesTheNewInterval) {
    settings = {true, 5, 30};
    Start();
    Advance(2);
    settings.LongReconnectInterval = 10;
    heartbeat->ResetRefreshTimer();
    Advance(4 + 600);
    EXPECT_EQ(triggers, (Seconds{6, 606}));
}

TEST_F(Heartbeat, StopDuringTheStartupWaitRequestsNoRun) {
    settings = {true, 60, 30};
    Start();
    Advance(10);
    Stop();
    EXPECT_TRUE(triggers.empty());
}

TEST_F(Heartbeat, StopServesATriggerIssuedJustBefore) {
    settings = {true, 0, 30};
    Start();
    pacer_->Grant();
    // The start-up trigger waits for the main thread when the stop comes.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (scheduler.PendingCalls() == 0 && std::chrono::steady_clock::now() < limit) {
        std::this_thread::yield();
    }
    Stop();
    EXPECT_EQ(triggers, Seconds{1});
}

TEST_F(Heartbeat, StopAfterTheMainThreadStoppedServing) {
    settings = {true, 0, 30};
    Start();
    scheduler.StopServing();
    pacer_->Grant();
    heartbeat->Stop(); // a refused trigger cannot block the stop
    EXPECT_TRUE(triggers.empty());
}

TEST(HeartbeatSteadyPacer, InterruptEndsEveryLaterWaitAtOnce) {
    const auto pacer = MakeSteadyPacer();
    pacer->Interrupt();
    // Were the interrupt forgotten, these waits would take an hour; interrupted, they return at
    // once, far within the generous bound.
    auto waits = std::async(std::launch::async, [&] {
        for (int wait = 0; wait < 3600; ++wait) {
            pacer->WaitOneSecond();
        }
    });
    EXPECT_EQ(waits.wait_for(std::chrono::minutes(1)), std::future_status::ready);
}

} // namespace
} // namespace nimbrel
