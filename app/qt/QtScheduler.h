#pragma once
// The core's main-thread services on Qt's event loop: QTimer timers and a synchronous
// main-thread call that the main thread can keep serving while it waits for a thread to end.
#include "base/Scheduler.h"

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace nimbrel::gui {

class QtScheduler final : public QObject, public Scheduler {
    Q_OBJECT
public:
    // Construct on the main thread: the thread it is created on is the one it serves.
    QtScheduler();
    ~QtScheduler() override;

    bool CallOnMainThread(const std::function<void()>& fn) override;
    MainThreadCall MainThreadCaller() override;
    std::unique_ptr<Timer> CreateTimer(bool singleShot) override;

    // Runs wait (which blocks, e.g. joining a thread) and serves main-thread calls until it has
    // returned, so a thread that calls in while being waited for cannot deadlock the two.
    void ServeWhile(const std::function<void()>& wait);
    // From now on calls are refused (return false) and calls still queued are dropped.
    void StopServing();
    // Expires once the scheduler and every handle from MainThreadCaller are gone: a fetch
    // worker left to finish alone lets go of its handle last of all.
    std::weak_ptr<const void> Lifetime() const { return shared_; }

private:
    struct Call;
    struct Shared;

    static bool CallOn(Shared& shared, const std::function<void()>& fn);
    void ServePendingCalls();
    std::shared_ptr<Call> TakeNextCall();
    void Run(Call& call);

    // Held as well by every handle from MainThreadCaller, which may outlive the scheduler.
    std::shared_ptr<Shared> shared_;
};

} // namespace nimbrel::gui
