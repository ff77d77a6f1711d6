#pragma once
// The program's notification-area icon: tip, picture, the four-frame animation while a fetch
// runs, balloons (desktop notifications where the desktop has a server), the right-click menu
// and the click that shows or hides the window.
#include "app/TrayRules.h"
#include "app/TrayText.h"
#include "base/Scheduler.h"

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <array>
#include <memory>
#include <string>

namespace nimbrel::gui {

// The desktop the icon lives on: the kind of tray, and the notification server if any.
struct TrayDesktop {
    TrayKind Kind = TrayKind::Embedded;
    std::unique_ptr<NotificationServer> Notifications;
};

// What the session bus says now (see DesktopBus.h).
TrayDesktop SessionTrayDesktop();

class TCoolTrayIcon final : public QObject {
    Q_OBJECT
public:
    using BalloonKind = nimbrel::BalloonKind;

    explicit TCoolTrayIcon(QMenu* popupMenu, QObject* parent = nullptr,
                           TrayDesktop desktop = SessionTrayDesktop());
    TrayKind Kind() const { return kind_; }

    void SetIconVisible(bool visible);
    bool IconVisible() const { return tray_.isVisible(); }

    // The hint comes cut to the tip's length by the core (TrayTip) and is shown as it is.
    void SetHint(const std::string& hint);
    const std::string& Hint() const { return hint_; }
    QString Tip() const { return tray_.toolTip(); }

    // The picture at path (a drawing), offered at every size a tray draws; an animation frame
    // stays until this is called.
    void SetPicture(const QString& path);

    void SetCycleIcons(bool cycle);
    bool CycleIcons() const { return cycleTimer_.isActive(); }
    int IconIndex() const { return iconIndex_; }

    // Title and text come cut by the core (BalloonTitle, BalloonText).
    void ShowBalloonTip(const std::string& title, const std::string& text, BalloonKind kind,
                        int timeoutSeconds);
    void HideBalloonTip();
    // What the last balloon showed; empty once it was taken down.
    const QString& BalloonTitleShown() const { return balloonTitle_; }
    const QString& BalloonTextShown() const { return balloonText_; }
    // The desktop notification on display, once the server named it; 0 otherwise.
    std::uint32_t NotificationShown() const { return notifications_ ? notifications_->Shown() : 0; }

    // While disabled, clicks on the icon do nothing (no menu, no double click).
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

    // What the tray reports of a click on the icon.
    void Activated(QSystemTrayIcon::ActivationReason reason);

signals:
    // The click that shows or hides the window: the double click, or on a StatusNotifierItem
    // host the primary activation.
    void OnDblClick();

private:
    enum class BalloonWay { None, Tray, Notification };

    void ShowFrame(int index);
    void HideTrayBalloon();

    TrayKind kind_;
    std::unique_ptr<BalloonNotifications> notifications_;
    QSystemTrayIcon tray_;
    QMenu* popupMenu_;
    std::array<QIcon, TrayAnimationFrameCount> iconList_;
    QTimer cycleTimer_;
    int iconIndex_ = 0;
    std::string hint_;
    QString balloonTitle_;
    QString balloonText_;
    BalloonWay balloonWay_ = BalloonWay::None;
    bool enabled_ = true;
};

// A balloon on the tray icon that is taken down after BalloonHideMilliseconds; a new balloon
// replaces the one on display and restarts the count.
class TBalloonHint final : public QObject {
    Q_OBJECT
public:
    // hideTimer: a single-shot timer of the program's scheduler.
    TBalloonHint(TCoolTrayIcon& trayIcon, std::unique_ptr<Timer> hideTimer,
                 QObject* parent = nullptr);

    void ShowBalloon(const std::string& title, const std::string& text,
                     TCoolTrayIcon::BalloonKind kind);
    bool HideTimerActive() const { return HideTimer->IsActive(); }

private:
    TCoolTrayIcon& trayIcon_;
    std::unique_ptr<Timer> HideTimer;
};

} // namespace nimbrel::gui
