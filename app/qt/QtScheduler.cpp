#include "app/qt/QtScheduler.h"

#include <QThread>
#include <QTimer>
#include <exception>
#include <thread>

namespace nimbrel::gui {

struct QtScheduler::Call {
    std::function<void()> fn;
    bool done = false; // ran, or was dropped
    bool ran = false;
    std::exception_ptr error;
};

namespace {

class QtTimer final : public Timer {
public:
    explicit QtTimer(bool singleShot) {
        timer_.setSingleShot(singleShot);
        timer_.setTimerType(Qt::CoarseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (handler_)
                handler_();
        });
    }

    void Start(std::chrono::milliseconds interval, std::function<void()> handler) override {
        timer_.stop();
        handler_ = std::move(handler);
        timer_.start(interval);
    }
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
    std::function<void()> handler_;
};

} // namespace

struct QtScheduler::Shared {
    QThread* mainThread = QThread::currentThread();
    QtScheduler* owner = nullptr; // valid while not stopped
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::shared_ptr<Call>> queue;
    bool stopped = false;
    bool waitDone = false;
};

QtScheduler::QtScheduler() : shared_(std::make_shared<Shared>()) {
    shared_->owner = this;
}

QtScheduler::~QtScheduler() {
    StopServing();
}

bool QtScheduler::CallOnMainThread(const std::function<void()>& fn) {
    return CallOn(*shared_, fn);
}

MainThreadCall QtScheduler::MainThreadCaller() {
    return [shared = shared_](const std::function<void()>& fn) { return CallOn(*shared, fn); };
}

bool QtScheduler::CallOn(Shared& shared, const std::function<void()>& fn) {
    if (QThread::currentThread() == shared.mainThread) {
        fn();
        return true;
    }
    auto call = std::make_shared<Call>();
    call->fn = fn;
    std::unique_lock lock(shared.mutex);
    if (shared.stopped)
        return false;
    shared.queue.push_back(call);
    // The posted event serves the call from the event loop; ServeWhile serves it from a wait.
    // The owner cannot go meanwhile: its destructor stops serving under the same lock.
    QMetaObject::invokeMethod(shared.owner, &QtScheduler::ServePendingCalls, Qt::QueuedConnection);
    shared.changed.notify_all();
    shared.changed.wait(lock, [&] { return call->done; });
    // As a direct call would, a failing call fails in the thread that made it.
    if (call->error)
        std::rethrow_exception(call->error);
    return call->ran;
}

std::unique_ptr<Timer> QtScheduler::CreateTimer(bool singleShot) {
    return std::make_unique<QtTimer>(singleShot);
}

std::shared_ptr<QtScheduler::Call> QtScheduler::TakeNextCall() {
    if (shared_->queue.empty())
        return nullptr;
    auto call = shared_->queue.front();
    shared_->queue.pop_front();
    return call;
}

void QtScheduler::Run(Call& call) {
    std::exception_ptr error;
    try {
        call.fn();
    } catch (...) {
        error = std::current_exception();
    }
    std::lock_guard lock(shared_->mutex);
    call.error = error;
    call.ran = true;
    call.done = true;
    shared_->changed.notify_all();
}

void QtScheduler::ServePendingCalls() {
    for (;;) {
        std::shared_ptr<Call> call;
        {
            std::lock_guard lock(shared_->mutex);
            call = TakeNextCall();
        }
        if (!call)
            return;
        Run(*call);
    }
}

void QtScheduler::ServeWhile(const std::function<void()>& wait) {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->waitDone = false;
    }
    std::exception_ptr error;
    std::jthread waiter([&] {
        try {
            wait();
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(shared_->mutex);
        shared_->waitDone = true;
        shared_->changed.notify_all();
    });
    std::unique_lock lock(shared_->mutex);
    for (;;) {
        shared_->changed.wait(lock, [&] { return shared_->waitDone || !shared_->queue.empty(); });
        if (auto call = TakeNextCall()) {
            lock.unlock();
            Run(*call);
            lock.lock();
        } else if (shared_->waitDone) {
            break;
        }
    }
    lock.unlock();
    waiter.join();
    if (error)
        std::rethrow_exception(error);
}

void QtScheduler::StopServing() {
    std::lock_guard lock(shared_->mutex);
    shared_->stopped = true;
    for (const auto& call : shared_->queue)
        call->done = true;
    shared_->queue.clear();
    shared_->changed.notify_all();
}

} // namespace nimbrel::gui
