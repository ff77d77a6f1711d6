#include "app/qt/CoolTrayIcon.h"

#include "app/qt/DesktopBus.h"
#include "base/qt/FormFont.h"
#include "base/qt/Pictures.h"

#include <QGuiApplication>

namespace nimbrel::gui {

namespace {

QSystemTrayIcon::MessageIcon MessageIconOf(TCoolTrayIcon::BalloonKind kind) {
    switch (kind) {
    case TCoolTrayIcon::BalloonKind::Information:
        return QSystemTrayIcon::Information;
    case TCoolTrayIcon::BalloonKind::Warning:
        return QSystemTrayIcon::Warning;
    case TCoolTrayIcon::BalloonKind::Error:
        return QSystemTrayIcon::Critical;
    case TCoolTrayIcon::BalloonKind::None:
        break;
    }
    return QSystemTrayIcon::NoIcon;
}

std::optional<TrayClick> ClickOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayClick::Primary;
    case QSystemTrayIcon::DoubleClick:
        return TrayClick::Double;
    case QSystemTrayIcon::MiddleClick:
        return TrayClick::Middle;
    case QSystemTrayIcon::Context:
        return TrayClick::Context;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return std::nullopt;
}

QIcon TrayPicture(const QString& path) {
    return PictureIcon(path, TrayPictureSizes(qGuiApp->devicePixelRatio()));
}

} // namespace

TrayDesktop SessionTrayDesktop() {
    return {SessionTrayKind(), SessionNotificationServer()};
}

TCoolTrayIcon::TCoolTrayIcon(QMenu* popupMenu, QObject* parent, TrayDesktop desktop)
    : QObject(parent), kind_(desktop.Kind), popupMenu_(popupMenu) {
    if (desktop.Notifications)
        notifications_ = std::make_unique<BalloonNotifications>(std::move(desktop.Notifications));
    for (int frame = 0; frame < TrayAnimationFrameCount; ++frame)
        iconList_[static_cast<std::size_t>(frame)] =
            TrayPicture(PicturePath(PictureList::Tray, frame));
    cycleTimer_.setInterval(TrayAnimationIntervalMilliseconds);
    connect(&cycleTimer_, &QTimer::timeout, this,
            [this] { ShowFrame(NextAnimationFrame(iconIndex_)); });
    tray_.setContextMenu(popupMenu_);
    connect(&tray_, &QSystemTrayIcon::activated, this, &TCoolTrayIcon::Activated);
    // Until the first refresh chooses the weather picture, the first frame stands in.
    tray_.setIcon(iconList_[0]);
}

void TCoolTrayIcon::SetIconVisible(bool visible) {
    tray_.setVisible(visible);
}

void TCoolTrayIcon::SetHint(const std::string& hint) {
    hint_ = hint;
    tray_.setToolTip(PlainText(hint));
}

void TCoolTrayIcon::SetPicture(const QString& path) {
    tray_.setIcon(TrayPicture(path));
}

void TCoolTrayIcon::ShowFrame(int index) {
    iconIndex_ = index;
    tray_.setIcon(iconList_[static_cast<std::size_t>(index)]);
}

void TCoolTrayIcon::SetCycleIcons(bool cycle) {
    if (!cycle) {
        cycleTimer_.stop();
        return;
    }
    ShowFrame(0);
    cycleTimer_.start();
}

void TCoolTrayIcon::ShowBalloonTip(const std::string& title, const std::string& text,
                                   BalloonKind kind, int timeoutSeconds) {
    // A notification replaces the one on display by itself. Qt's balloon is not used where a
    // notification server is: on a StatusNotifierItem host it would swap the weather picture
    // for an attention icon while it shows.
    if (notifications_ && notifications_->Show(title, text, kind)) {
        if (balloonWay_ == BalloonWay::Tray)
            HideTrayBalloon();
        balloonWay_ = BalloonWay::Notification;
    } else {
        HideBalloonTip();
        tray_.showMessage(PlainText(title), PlainText(text), MessageIconOf(kind),
                          timeoutSeconds * 1000);
        balloonWay_ = BalloonWay::Tray;
    }
    balloonTitle_ = PlainText(title);
    balloonText_ = PlainText(text);
}

void TCoolTrayIcon::HideBalloonTip() {
    if (balloonWay_ == BalloonWay::Notification)
        notifications_->Hide();
    else if (balloonWay_ == BalloonWay::Tray)
        HideTrayBalloon();
    balloonWay_ = BalloonWay::None;
    balloonTitle_.clear();
    balloonText_.clear();
}

void TCoolTrayIcon::HideTrayBalloon() {
    // An empty message takes down Qt's balloon on display; sent only when one was shown, as
    // some desktops would show it as a notification of its own.
    tray_.showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 0);
}

void TCoolTrayIcon::SetEnabled(bool enabled) {
    enabled_ = enabled;
    tray_.setContextMenu(enabled ? popupMenu_ : nullptr);
}

void TCoolTrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
    const std::optional<TrayClick> click = ClickOf(reason);
    if (enabled_ && click && ClickTogglesWindow(kind_, *click))
        emit OnDblClick();
}

TBalloonHint::TBalloonHint(TCoolTrayIcon& trayIcon, std::unique_ptr<Timer> hideTimer,
                           QObject* parent)
    : QObject(parent), trayIcon_(trayIcon), HideTimer(std::move(hideTimer)) {}

void TBalloonHint::ShowBalloon(const std::string& title, const std::string& text,
                               TCoolTrayIcon::BalloonKind kind) {
    trayIcon_.ShowBalloonTip(title, text, kind, BalloonTimeoutSeconds);
    HideTimer->Start(std::chrono::milliseconds(BalloonHideMilliseconds),
                     [this] { trayIcon_.HideBalloonTip(); });
}

} // namespace nimbrel::gui
