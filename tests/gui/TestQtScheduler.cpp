// The Qt side of the core's main-thread seam: calls from other threads run on the main thread
// and wait for it, failures travel back to the caller, a shutdown refuses calls instead of
// leaving threads waiting, and a thread that calls in while being joined cannot deadlock.
#include "app/qt/QtScheduler.h"

#include <QtTest>
#include <atomic>
#include <stdexcept>
#include <thread>

using nimbrel::gui::QtScheduler;

// Keeps the scheduler's posted calls from being served, and tells when one was posted.
class CallSwallower : public QObject {
public:
    bool swallowed = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MetaCall)
            return false;
        swallowed = true;
        return true;
    }
};

class TestQtScheduler : public QObject {
    Q_OBJECT

private slots:
    void callFromTheMainThreadRunsAtOnce() {
        QtScheduler scheduler;
        bool ran = false;
        QVERIFY(scheduler.CallOnMainThread([&] { ran = true; }));
        QVERIFY(ran);
    }

    void callFromAThreadRunsOnTheMainThread() {
        QtScheduler scheduler;
        std::atomic<bool> returned = false;
        bool result = false;
        std::thread::id ranOn;
        std::jthread caller([&] {
            result = scheduler.CallOnMainThread([&] { ranOn = std::this_thread::get_id(); });
            returned = true;
        });
        QTRY_VERIFY(returned);
        QVERIFY(result);
        QCOMPARE(ranOn, std::this_thread::get_id());
    }

    void failureReachesTheCaller() {
        QtScheduler scheduler;
        std::atomic<bool> caught = false;
        std::jthread caller([&] {
            try {
                scheduler.CallOnMainThread([] { throw std::runtime_error("refused"); });
            } catch (const std::runtime_error&) {
                caught = true;
            }
        });
        QTRY_VERIFY(caught);
    }

    void stoppedSchedulerRefusesCalls() {
        QtScheduler scheduler;
        scheduler.StopServing();
        bool ran = false;
        bool result = true;
        std::jthread([&] { result = scheduler.CallOnMainThread([&] { ran = true; }); }).join();
        QVERIFY(!result);
        QVERIFY(!ran);
    }

    void stopReleasesAWaitingCaller() {
        QtScheduler scheduler;
        std::atomic<bool> returned = false;
        bool result = true;
        std::jthread caller([&] {
            result = scheduler.CallOnMainThread([] {});
            returned = true;
        });
        // The main thread swallows the posted call instead of serving it; once it is posted the
        // caller waits, and the stop must release it anyway.
        CallSwallower swallower;
        scheduler.installEventFilter(&swallower);
        QTRY_VERIFY_WITH_TIMEOUT(swallower.swallowed, 10000);
        QVERIFY(!returned);
        scheduler.StopServing();
        caller.join();
        QVERIFY(returned);
        QVERIFY(!result);
    }

    void joinServesTheJoinedThreadsCalls() {
        QtScheduler scheduler;
        int served = 0;
        std::jthread worker([&] {
            for (int call = 0; call < 3; ++call)
                scheduler.CallOnMainThread([&] { ++served; });
        });
        // No event loop runs here: only ServeWhile can serve the calls the join waits for.
        scheduler.ServeWhile([&] { worker.join(); });
        QCOMPARE(served, 3);
    }

    void timers_data() {
        QTest::addColumn<bool>("singleShot");
        QTest::addColumn<int>("minimumFirings");
        QTest::addColumn<int>("maximumFirings");
        QTest::newRow("single shot fires once") << true << 1 << 1;
        QTest::newRow("repeating fires again") << false << 3 << 100;
    }
    void timers() {
        QFETCH(bool, singleShot);
        QFETCH(int, minimumFirings);
        QFETCH(int, maximumFirings);
        QtScheduler scheduler;
        auto timer = scheduler.CreateTimer(singleShot);
        int firings = 0;
        timer->Start(std::chrono::milliseconds(10), [&] { ++firings; });
        QVERIFY(timer->IsActive());
        QTRY_VERIFY_WITH_TIMEOUT(firings >= minimumFirings, 10000);
        QCOMPARE(timer->IsActive(), !singleShot);
        timer->Stop();
        const int stoppedAt = firings;
        // A stopped (or spent single-shot) timer never fires again, however long we wait.
        QTest::qWait(50);
        QCOMPARE(firings, stoppedAt);
        QVERIFY(firings <= maximumFirings);
    }

    void restartReplacesHandlerAndCount() {
        QtScheduler scheduler;
        auto timer = scheduler.CreateTimer(true);
        int first = 0;
        int second = 0;
        timer->Start(std::chrono::milliseconds(30), [&] { ++first; });
        timer->Start(std::chrono::milliseconds(30), [&] { ++second; });
        QTRY_COMPARE(second, 1);
        QCOMPARE(first, 0);
    }
};

QTEST_MAIN(TestQtScheduler)
#include "TestQtScheduler.moc"
