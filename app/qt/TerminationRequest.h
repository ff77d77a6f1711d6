#pragma once
// Turns the session's request to end the program into a call on the main thread, so it takes the
// same orderly exit as File, Exit: the session manager's request to save and its order to quit
// (XSMP on X11, the end of the Windows session), and SIGTERM, SIGINT, SIGHUP on Linux.
#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace nimbrel::gui {

class TerminationRequest final : public QObject {
    Q_OBJECT
public:
    explicit TerminationRequest(std::function<void()> onRequest);
    ~TerminationRequest() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowSessionManager();

    std::function<void()> onRequest_;
    std::unique_ptr<QSocketNotifier> notifier_;
    int pipe_[2] = {-1, -1};
};

} // namespace nimbrel::gui
