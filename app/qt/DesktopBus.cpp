#include "app/qt/DesktopBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QDBusVariant>
#include <QObject>

namespace nimbrel::gui {

namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString NotificationsService = QStringLiteral("org.freedesktop.Notifications");
const QString NotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
// A server that hangs must not hold the window for long; the answers come in milliseconds.
constexpr int CallTimeoutMilliseconds = 2000;

QDBusMessage NotificationsCall(const QString& method) {
    return QDBusMessage::createMethodCall(NotificationsService, NotificationsPath,
                                          NotificationsService, method);
}

class DBusNotificationServer final : public NotificationServer {
public:
    explicit DBusNotificationServer(QDBusConnection bus) : bus_(std::move(bus)) {}

    bool Present() override {
        QDBusConnectionInterface* names = bus_.interface();
        if (!names)
            return false;
        if (names->isServiceRegistered(NotificationsService))
            return true;
        // Most servers are started by the bus at the first call.
        const QDBusReply<QStringList> activatable = names->activatableServiceNames();
        return activatable.isValid() && activatable.value().contains(NotificationsService);
    }

    bool BodyMarkup() override {
        const QDBusMessage reply = bus_.call(NotificationsCall(QStringLiteral("GetCapabilities")),
                                             QDBus::Block, CallTimeoutMilliseconds);
        return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
               reply.arguments().first().toStringList().contains(QStringLiteral("body-markup"));
    }

    void Notify(const DesktopNotification& notification,
                std::function<void(std::uint32_t)> replied) override {
        QDBusMessage call = NotificationsCall(QStringLiteral("Notify"));
        const QVariantMap hints{
            {QStringLiteral("desktop-entry"), QString::fromStdString(notification.DesktopEntry)}};
        call << QString::fromStdString(notification.AppName) << uint(notification.ReplacesId)
             << QString::fromStdString(notification.AppIcon)
             << QString::fromStdString(notification.Summary)
             << QString::fromStdString(notification.Body) << QStringList() << hints
             << notification.ExpireTimeoutMilliseconds;
        // Owned by context_: an answer that comes after this server is gone is never seen.
        auto* watcher =
            new QDBusPendingCallWatcher(bus_.asyncCall(call, CallTimeoutMilliseconds), &context_);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &context_,
                         [watcher, replied = std::move(replied)] {
                             const QDBusPendingReply<uint> reply = *watcher;
                             watcher->deleteLater();
                             if (reply.isValid())
                                 replied(reply.value());
                         });
    }

    void CloseNotification(std::uint32_t id) override {
        QDBusMessage call = NotificationsCall(QStringLiteral("CloseNotification"));
        call << uint(id);
        bus_.send(call);
    }

private:
    QDBusConnection bus_;
    QObject context_;
};

} // namespace

TrayKind SessionTrayKind() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(WatcherService))
        return TrayKind::Embedded;
    QDBusMessage get = QDBusMessage::createMethodCall(
        WatcherService, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << WatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, CallTimeoutMilliseconds);
    const bool hosted = reply.type() == QDBusMessage::ReplyMessage &&
                        !reply.arguments().isEmpty() &&
                        qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toBool();
    return hosted ? TrayKind::StatusNotifierItem : TrayKind::Embedded;
}

std::unique_ptr<NotificationServer> SessionNotificationServer() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    return std::make_unique<DBusNotificationServer>(std::move(bus));
}

} // namespace nimbrel::gui
