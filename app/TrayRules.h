#pragma once
// How the notification area is used on the two kinds of tray a desktop may offer: the embedded
// icon (the Windows notification area, XEmbed trays on X11) and the StatusNotifierItem that
// most Linux panels host over D-Bus; what a click does on each, the sizes the tray picture is
// drawn at, and how a balloon becomes a desktop notification where the desktop has a server.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimbrel {

enum class TrayKind { Embedded, StatusNotifierItem };

// What the tray reports of the user's mouse. An embedded tray reports a double click as a click
// followed by a double click; a StatusNotifierItem host sends its primary activation alone.
enum class TrayClick { Primary, Double, Middle, Context };

// Whether the click shows or hides the main window: the double click on an embedded tray, the
// primary activation on a StatusNotifierItem host.
bool ClickTogglesWindow(TrayKind kind, TrayClick click);

// The pixel sizes the tray picture is offered at: those panels draw, and twice those on a
// screen whose scale is above 1. Ascending, each once.
std::vector<int> TrayPictureSizes(double screenScale);

enum class BalloonKind { None, Information, Warning, Error };

struct DesktopNotification {
    std::string AppName;
    std::uint32_t ReplacesId = 0;
    std::string AppIcon;
    std::string Summary;
    std::string Body;
    std::string DesktopEntry; // the hint that names the program's launcher
    int ExpireTimeoutMilliseconds = 0;
};

// The notification of a balloon whose title and text arrive cut to their bounds: the line breaks
// as the notification protocol has them, the body escaped where the server reads markup. None
// for a balloon without title and text: the desktop would show an empty notification.
std::optional<DesktopNotification> BalloonNotification(const std::string& title,
                                                       const std::string& text, BalloonKind kind,
                                                       bool bodyMarkup);

// A desktop notification server (org.freedesktop.Notifications on Linux).
class NotificationServer {
public:
    virtual ~NotificationServer() = default;
    // Whether a server is there now, running or started on demand.
    virtual bool Present() = 0;
    virtual bool BodyMarkup() = 0;
    // replied runs on the main thread with the notification's id once the server answered;
    // never after the server object is gone, and not at all when the call failed.
    virtual void Notify(const DesktopNotification& notification,
                        std::function<void(std::uint32_t id)> replied) = 0;
    virtual void CloseNotification(std::uint32_t id) = 0;
};

// Balloons as notifications: one on display at a time, each new balloon replacing it, and the
// take-down closing it, also when the server's answer with its id is still on the way.
class BalloonNotifications {
public:
    explicit BalloonNotifications(std::unique_ptr<NotificationServer> server);

    // False, with nothing sent, where no server is present: the caller shows the balloon itself.
    bool Show(const std::string& title, const std::string& text, BalloonKind kind);
    void Hide();
    // The id of the notification on display once the server gave it; 0 before and after.
    std::uint32_t Shown() const { return shown_.value_or(0); }

private:
    void Replied(std::uint64_t request, std::uint32_t id);

    std::unique_ptr<NotificationServer> server_;
    std::uint64_t request_ = 0;          // the latest Notify sent
    bool latestHidden_ = true;           // taken down (or never sent) since
    std::optional<std::uint32_t> shown_; // the id on display, once the server gave it
};

} // namespace nimbrel
