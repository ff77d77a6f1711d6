#pragma once
// The program's notification-area icon: tip, picture, the four-frame animation while a fetch
// runs, balloons, the right-click menu and the double click.
#include "app/TrayText.h"

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <array>
#include <string>

namespace nimbrel::gui {

class TCoolTrayIcon final : public QObject {
    Q_OBJECT
public:
    enum class BalloonKind { None, Information, Warning, Error };

    explicit TCoolTrayIcon(QMenu* popupMenu, QObject* parent = nullptr);

    void SetIconVisible(bool visible);
    bool IconVisible() const { return tray_.isVisible(); }

    // The hint comes cut to the tip's length by the core (TrayTip) and is shown as it is.
    void SetHint(const std::string& hint);
    const std::string& Hint() const { return hint_; }
    QString Tip() const { return tray_.toolTip(); }

    // A picture of its own; an animation frame stays until this is called.
    void SetIcon(const QIcon& icon);

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

    // While disabled, clicks on the icon do nothing (no menu, no double click).
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

signals:
    void OnDblClick();

private:
    void ShowFrame(int index);
    void Activated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon tray_;
    QMenu* popupMenu_;
    std::array<QIcon, TrayAnimationFrameCount> iconList_;
    QTimer cycleTimer_;
    int iconIndex_ = 0;
    std::string hint_;
    QString balloonTitle_;
    QString balloonText_;
    bool balloonShown_ = false;
    bool enabled_ = true;
};

// A balloon on the tray icon that is taken down after BalloonHideMilliseconds; a new balloon
// replaces the one on display and restarts the count.
class TBalloonHint final : public QObject {
    Q_OBJECT
public:
    explicit TBalloonHint(TCoolTrayIcon& trayIcon, QObject* parent = nullptr);

    void ShowBalloon(const std::string& title, const std::string& text,
                     TCoolTrayIcon::BalloonKind kind);
    bool HideTimerActive() const { return HideTimer.isActive(); }

private:
    TCoolTrayIcon& trayIcon_;
    QTimer HideTimer;
};

} // namespace nimbrel::gui
