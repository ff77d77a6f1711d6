#include "app/qt/CoolTrayIcon.h"

#include "base/qt/FormFont.h"
#include "base/qt/Pictures.h"

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

} // namespace

TCoolTrayIcon::TCoolTrayIcon(QMenu* popupMenu, QObject* parent)
    : QObject(parent), popupMenu_(popupMenu) {
    for (int frame = 0; frame < TrayAnimationFrameCount; ++frame)
        iconList_[static_cast<std::size_t>(frame)] =
            PictureIcon(PicturePath(PictureList::Tray, frame));
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

void TCoolTrayIcon::SetIcon(const QIcon& icon) {
    tray_.setIcon(icon);
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
    HideBalloonTip();
    balloonTitle_ = PlainText(title);
    balloonText_ = PlainText(text);
    tray_.showMessage(balloonTitle_, balloonText_, MessageIconOf(kind), timeoutSeconds * 1000);
    balloonShown_ = true;
}

void TCoolTrayIcon::HideBalloonTip() {
    // Some desktops would show an empty message as a notification of its own.
    if (!balloonShown_)
        return;
    balloonShown_ = false;
    balloonTitle_.clear();
    balloonText_.clear();
    // An empty message takes down the balloon on display.
    tray_.showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 0);
}

void TCoolTrayIcon::SetEnabled(bool enabled) {
    enabled_ = enabled;
    tray_.setContextMenu(enabled ? popupMenu_ : nullptr);
}

void TCoolTrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (enabled_ && reason == QSystemTrayIcon::DoubleClick)
        emit OnDblClick();
}

TBalloonHint::TBalloonHint(TCoolTrayIcon& trayIcon, QObject* parent)
    : QObject(parent), trayIcon_(trayIcon) {
    HideTimer.setSingleShot(true);
    HideTimer.setInterval(BalloonHideMilliseconds);
    connect(&HideTimer, &QTimer::timeout, this, [this] { trayIcon_.HideBalloonTip(); });
}

void TBalloonHint::ShowBalloon(const std::string& title, const std::string& text,
                               TCoolTrayIcon::BalloonKind kind) {
    trayIcon_.ShowBalloonTip(title, text, kind, BalloonTimeoutSeconds);
    HideTimer.start();
}

} // namespace nimbrel::gui
