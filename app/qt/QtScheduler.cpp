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

QtScheduler::QtScheduler() = default;

QtScheduler::~QtScheduler() {
    StopServing();
}

bool QtScheduler::OnMainThread() const {
    return QThread::currentThread() == thread();
}

bool QtScheduler::CallOnMainThread(const std::function<void()>& fn) {
    if (OnMainThread()) {
        fn();
        return true;
    }
    auto call = std::make_shared<Call>();
    call->fn = fn;
    std::unique_lock lock(mutex_);
    if (stopped_)
        return false;
    queue_.push_back(call);
    // The posted event serves the call from the event loop; ServeWhile serves it from a wait.
    QMetaObject::invokeMethod(this, &QtScheduler::ServePendingCalls, Qt::QueuedConnection);
    changed_.notify_all();
    changed_.wait(lock, [&] { return call->done; });
    // As a direct call would, a failing call fails in the thread that made it.
    if (call->error)
        std::rethrow_exception(call->error);
    return call->ran;
}

std::unique_ptr<Timer> QtScheduler::CreateTimer(bool singleShot) {
    return std::make_unique<QtTimer>(singleShot);
}

std::shared_ptr<QtScheduler::Call> QtScheduler::TakeNextCall() {
    if (queue_.empty())
        return nullptr;
    auto call = queue_.front();
    queue_.pop_front();
    return call;
}

void QtScheduler::Run(Call& call) {
    std::exception_ptr error;
    try {
        call.fn();
    } catch (...) {
        error = std::current_exception();
    }
    std::lock_guard lock(mutex_);
    call.error = error;
    call.ran = true;
    call.done = true;
    changed_.notify_all();
}

void QtScheduler::ServePendingCalls() {
    for (;;) {
        std::shared_ptr<Call> call;
        {
            std::lock_guard lock(mutex_);
            call = TakeNextCall();
        }
        if (!call)
            return;
        Run(*call);
    }
}

void QtScheduler::ServeWhile(const std::function<void()>& wait) {
    {
        std::lock_guard lock(mutex_);
        waitDone_ = false;
    }
    std::exception_ptr error;
    std::jthread waiter([&] {
        try {
            wait();
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(mutex_);
        waitDone_ = true;
        changed_.notify_all();
    });
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return waitDone_ || !queue_.empty(); });
        if (auto call = TakeNextCall()) {
            lock.unlock();
            Run(*call);
            lock.lock();
        } else if (waitDone_) {
            break;
        }
    }
    lock.unlock();
    waiter.join();
    if (error)
        std::rethrow_exception(error);
}

void QtScheduler::StopServing() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    for (const auto& call : queue_)
        call->done = true;
    queue_.clear();
    changed_.notify_all();
}

} // namespace nimbrel::gui
