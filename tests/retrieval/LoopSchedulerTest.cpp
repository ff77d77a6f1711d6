#include "app/LoopScheduler.h"

#include <gtest/gtest.h>
#include <thread>

namespace nimbrel {
namespace {

using std::chrono::milliseconds;

// The loop that drives headless fetch runs (named for the threaded test group it belongs to).
TEST(FetchLoopScheduler, ServesCallsFromOtherThreadsInOrder) {
    LoopScheduler loop;
    std::vector<int> served;
    std::thread caller([&] {
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(loop.CallOnMainThread([&, i] { served.push_back(i); }));
        }
        loop.CallOnMainThread([&] { loop.Quit(); });
    });
    loop.Run();
    caller.join();
    EXPECT_EQ(served, (std::vector<int>{0, 1, 2}));
}

TEST(FetchLoopScheduler, OnTheMainThreadACallRunsAtOnce) {
    LoopScheduler loop;
    bool ran = false;
    EXPECT_TRUE(loop.CallOnMainThread([&] { ran = true; }));
    EXPECT_TRUE(ran);
}

TEST(FetchLoopScheduler, TimersFireInDueOrderWhateverTheStartOrder) {
    LoopScheduler loop;
    std::vector<std::string> fired;
    const auto late = loop.CreateTimer(true);
    const auto early = loop.CreateTimer(true);
    // Far enough apart that no pause between the two starts can swap their due times.
    late->Start(milliseconds(500), [&] {
        fired.push_back("late");
        loop.Quit();
    });
    early->Start(milliseconds(1), [&] { fired.push_back("early"); });
    loop.Run();
    EXPECT_EQ(fired, (std::vector<std::string>{"early", "late"}));
    EXPECT_FALSE(late->IsActive()) << "a single-shot timer fires once";
}

TEST(FetchLoopScheduler, PeriodicTimerKeepsFiring) {
    LoopScheduler loop;
    int fired = 0;
    const auto periodic = loop.CreateTimer(false);
    periodic->Start(milliseconds(2), [&] {
        if (++fired == 3) {
            loop.Quit();
        }
    });
    loop.Run();
    EXPECT_EQ(fired, 3);
    EXPECT_TRUE(periodic->IsActive());
}

TEST(FetchLoopScheduler, StoppedTimerDoesNotFire) {
    LoopScheduler loop;
    bool fired = false;
    const auto stopped = loop.CreateTimer(true);
    const auto end = loop.CreateTimer(true);
    stopped->Start(milliseconds(1), [&] { fired = true; });
    stopped->Stop();
    end->Start(milliseconds(5), [&] { loop.Quit(); });
    loop.Run();
    EXPECT_FALSE(fired);
}

TEST(FetchLoopScheduler, StopServingReleasesAWaitingCaller) {
    LoopScheduler loop; // not running: a call from another thread waits
    bool result = true;
    bool ran = false;
    std::thread caller([&] { result = loop.CallOnMainThread([&] { ran = true; }); });
    loop.StopServing(); // before the call arrives or while it waits: refused either way
    caller.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(ran);
}

// A worker left to finish alone may call in after the loop has gone.
TEST(FetchLoopScheduler, CallerOutlivingTheLoopIsRefused) {
    MainThreadCall call;
    {
        LoopScheduler loop;
        call = loop.MainThreadCaller();
    }
    bool ran = false;
    bool served = true;
    std::thread([&] { served = call([&ran] { ran = true; }); }).join();
    EXPECT_FALSE(served);
    EXPECT_FALSE(ran);
}

} // namespace
} // namespace nimbrel
