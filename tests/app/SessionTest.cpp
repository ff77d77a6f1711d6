#include "app/Session.h"

#include "settings/SettingsStore.h"
#include "support/FakeClock.h"
#include "support/FakeScheduler.h"
#include "support/RunEndView.h"
#include "support/SteppedPacer.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace nimbrel {
namespace {

using testing::FakeScheduler;
using testing::SteppedPacer;
using Steps = std::vector<std::string>;

class SessionTest : public ::testing::Test {
protected:
    SessionTest() {
        testing::WriteFile(path, "[Preferences]\nLongReconnectInterval=45\n");
        SessionOptions options;
        options.SettingsPath = path;
        auto pacer = std::make_unique<SteppedPacer>(scheduler);
        heartbeat = pacer.get();
        options.Pacer = std::move(pacer);
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
    testing::RunEndView view{[this] { steps.push_back("display"); }};
    SteppedPacer* heartbeat = nullptr; // seconds never granted: it waits until it is stopped
    std::unique_ptr<Session> session;
};

TEST_F(SessionTest, StartUpRunsTheWindowStepsBetweenItsOwnInOrder) {
    session->StartUp({{}, Step("window state"), Step("arrange"), Step("first tab")});
    EXPECT_EQ(steps, (Steps{"window state", "arrange", "display", "first tab"}));
    EXPECT_EQ(ParseLogLine(session->Log().Lines().at(0)).Message, "Starting Nimbrel.");
    EXPECT_EQ(ClockTimer().Interval(), std::chrono::milliseconds(5000));
    EXPECT_TRUE(ClockTimer().IsActive());
    ASSERT_TRUE(scheduler.ServeUntil([this] { return heartbeat->Settled(); }));
    ShutDown();
}

TEST_F(SessionTest, ShutdownStopsEverythingAndSavesOnce) {
    session->StartUp({});
    ASSERT_TRUE(scheduler.ServeUntil([this] { return heartbeat->Settled(); }));
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
