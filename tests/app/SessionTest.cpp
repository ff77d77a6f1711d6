#include "app/Session.h"

#include "settings/SettingsStore.h"
#include "support/FakeClock.h"
#include "support/FakeScheduler.h"
#include "support/TempFolder.h"

#include <atomic>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace nimbrel {
namespace {

using testing::FakeScheduler;
using Steps = std::vector<std::string>;

// Seconds that never pass: the heartbeat waits until it is stopped, and tells when it began.
class StillPacer final : public HeartBeatPacer {
public:
    explicit StillPacer(std::atomic<bool>& waited) : waited_(waited) {}
    std::chrono::steady_clock::time_point Now() const override { return {}; }
    void WaitOneSecond() override {
        std::unique_lock lock(mutex_);
        waited_ = true;
        changed_.wait(lock, [this] { return interrupted_; });
    }
    void Interrupt() override {
        const std::lock_guard lock(mutex_);
        interrupted_ = true;
        changed_.notify_all();
    }

private:
    std::atomic<bool>& waited_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool interrupted_ = false;
};

class StepView final : public MainView {
public:
    explicit StepView(Steps& steps) : steps_(steps) {}
    void LocationsUpdated() override { steps_.push_back("display"); }

private:
    Steps& steps_;
};

class SessionTest : public ::testing::Test {
protected:
    SessionTest() {
        testing::WriteFile(path, "[Preferences]\nLongReconnectInterval=45\n");
        SessionOptions options;
        options.SettingsPath = path;
        options.Pacer = std::make_unique<StillPacer>(heartbeatWaited);
        session = std::make_unique<Session>(scheduler, clock, view, std::move(options));
    }
    // Each window step notes what the session had done by then.
    std::function<void()> Step(const std::string& name) {
        return [this, name] {
            steps.push_back(name +
                            (session->Settings().LongReconnectInterval == 45 ? "" : " ?settings") +
                            (session->Log().Count() == 0 ? "" : " ?log") +
                            (ClockTimer().IsActive() ? " ?clock" : ""));
        };
    }
    FakeScheduler::FakeTimer& ClockTimer() { return scheduler.TimerAt(1); }
    void ShutDown() {
        session->Shutdown(
            {[this](const std::function<void()>& wait) { scheduler.ServeWhile(wait); },
             [](const std::string& error) { FAIL() << error; }});
    }

    testing::TempFolder folder;
    // The autostart entry written at exit lands in the test's folder.
    testing::ScopedEnvironment configHome{"XDG_CONFIG_HOME", folder.Path().string()};
    const std::string path = folder.File("Nimbrel.ini");
    testing::FakeClock clock;
    FakeScheduler scheduler;
    Steps steps;
    StepView view{steps};
    std::atomic<bool> heartbeatWaited = false;
    std::unique_ptr<Session> session;
};

TEST_F(SessionTest, StartUpRunsTheWindowStepsBetweenItsOwnInOrder) {
    session->StartUp({{}, Step("window state"), Step("arrange"), Step("first tab")});
    EXPECT_EQ(steps, (Steps{"window state", "arrange", "display", "first tab"}));
    EXPECT_EQ(ParseLogLine(session->Log().Lines().at(0)).Message, "Starting Nimbrel.");
    EXPECT_EQ(ClockTimer().Interval(), std::chrono::milliseconds(5000));
    EXPECT_TRUE(ClockTimer().IsActive());
    ASSERT_TRUE(scheduler.ServeUntil([this] { return heartbeatWaited.load(); }));
    ShutDown();
}

TEST_F(SessionTest, ShutdownStopsEverythingAndSavesOnce) {
    session->StartUp({});
    ASSERT_TRUE(scheduler.ServeUntil([this] { return heartbeatWaited.load(); }));
    session->Settings().LongReconnectInterval = 50;
    ShutDown();
    EXPECT_FALSE(ClockTimer().IsActive());
    EXPECT_EQ(LoadSettings(path).LongReconnectInterval, 50);
    session->Settings().LongReconnectInterval = 55;
    ShutDown();
    EXPECT_EQ(LoadSettings(path).LongReconnectInterval, 50);
}

} // namespace
} // namespace nimbrel
