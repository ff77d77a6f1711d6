#include "app/qt/TerminationRequest.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
// Complete on Windows too, where the notifier stays empty: the destructor frees it.
#include <QSocketNotifier>
#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace nimbrel::gui {

void TerminationRequest::FollowSessionManager() {
    // The session manager asks for the program's data when the session ends; it may end the
    // display right after, without a signal (and Windows ends the process), so the program
    // ends now, saving as File, Exit does.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { onRequest_(); });
    // Its order to quit (and any other request to quit the application) would otherwise only
    // close the window, which hides it, or minimizes it where there is no tray.
    qApp->installEventFilter(this);
}

bool TerminationRequest::eventFilter(QObject* watched, QEvent* event) {
    if (watched != qApp || event->type() != QEvent::Quit)
        return false;
    onRequest_();
    return true;
}

#ifdef _WIN32

TerminationRequest::TerminationRequest(std::function<void()> onRequest)
    : onRequest_(std::move(onRequest)) {
    FollowSessionManager();
}

TerminationRequest::~TerminationRequest() = default;

#else

namespace {

// A signal handler can reach nothing but a static; it holds the pipe's write end only.
volatile std::sig_atomic_t requestPipe = -1;

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = write(requestPipe, &byte, 1);
}

constexpr int HandledSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

TerminationRequest::TerminationRequest(std::function<void()> onRequest)
    : onRequest_(std::move(onRequest)) {
    FollowSessionManager();
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    requestPipe = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (read(pipe_[0], bytes, sizeof bytes) > 0) {
        }
        onRequest_();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : HandledSignals)
        sigaction(signal, &action, nullptr);
}

TerminationRequest::~TerminationRequest() {
    if (pipe_[0] < 0)
        return;
    for (const int signal : HandledSignals)
        std::signal(signal, SIG_DFL);
    requestPipe = -1;
    notifier_.reset();
    close(pipe_[0]);
    close(pipe_[1]);
}

#endif

} // namespace nimbrel::gui
