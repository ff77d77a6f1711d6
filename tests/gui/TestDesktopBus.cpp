// The tray and its balloons on a desktop's session bus: a StatusNotifierWatcher and a
// notification server of the test's own record what the program asks of them. Runs on a
// private display and session bus (session/run-on-private-session.sh).
#include "app/qt/CoolTrayIcon.h"
#include "base/qt/Pictures.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QMutex>
#include <QThread>
#include <QtTest>
#include <atomic>

using namespace nimbrel;
using namespace nimbrel::gui;

namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString NotificationsService = QStringLiteral("org.freedesktop.Notifications");

class ManualTimer final : public Timer {
public:
    void Start(std::chrono::milliseconds interval, std::function<void()> handler) override {
        interval_ = interval;
        handler_ = std::move(handler);
        active_ = true;
    }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }
    // The interval has passed.
    QString Fire() {
        if (!active_)
            return QStringLiteral("timer idle");
        active_ = false;
        handler_();
        return QStringLiteral("timer %1").arg(interval_.count());
    }

private:
    bool active_ = false;
    std::chrono::milliseconds interval_{0};
    std::function<void()> handler_;
};

// What the desktop was asked, in order; the fakes answer on a thread of their own, since Qt's
// tray asks them with blocking calls from the main thread.
class Record {
public:
    void Add(const QString& call) {
        const QMutexLocker lock(&mutex_);
        calls_ << call;
    }
    QStringList Take() {
        const QMutexLocker lock(&mutex_);
        return std::exchange(calls_, {});
    }

private:
    QMutex mutex_;
    QStringList calls_;
};

class FakeWatcher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
public:
    explicit FakeWatcher(Record& items) : items_(items) {}
    bool HostRegistered() const { return true; }
public slots:
    void RegisterStatusNotifierItem(const QString& service) { items_.Add(service); }
    void RegisterStatusNotifierHost(const QString&) {}

private:
    Record& items_;
};

class FakeNotifications final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeNotifications(Record& calls) : calls_(calls) {}
    void Restart() { lastId_ = 0; }
public slots:
    QStringList GetCapabilities() {
        return {QStringLiteral("body"), QStringLiteral("body-markup")};
    }
    uint Notify(const QString& app, uint replacesId, const QString& icon, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap& hints, int expire) {
        calls_.Add(QStringLiteral("Notify %1 %2 %3 [%4] [%5] %6 %7")
                       .arg(app)
                       .arg(replacesId)
                       .arg(icon, summary, QString(body).replace('\n', QStringLiteral("\\n")),
                            hints.value(QStringLiteral("desktop-entry")).toString())
                       .arg(expire));
        return replacesId ? replacesId : ++lastId_;
    }
    void CloseNotification(uint id) { calls_.Add(QStringLiteral("Close %1").arg(id)); }

private:
    Record& calls_;
    std::atomic<uint> lastId_ = 0;
};

// Waits for an answer while the main thread keeps serving the tray's own D-Bus objects.
QDBusMessage Ask(const QDBusMessage& call) {
    QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(call, 5000);
    // A call left unanswered fails the row through its missing effect.
    return QTest::qWaitFor([&] { return pending.isFinished(); }) ? pending.reply() : QDBusMessage();
}

// A property of the tray's item; pictures as their sizes.
QString ItemProperty(const QString& item, const char* name) {
    QDBusMessage get = QDBusMessage::createMethodCall(item, "/StatusNotifierItem",
                                                      "org.freedesktop.DBus.Properties", "Get");
    const QVariant value =
        qvariant_cast<QDBusVariant>(
            Ask(get << "org.kde.StatusNotifierItem" << name).arguments().value(0))
            .variant();
    if (!value.canConvert<QDBusArgument>())
        return value.toString();
    QStringList sizes;
    const auto pictures = value.value<QDBusArgument>();
    pictures.beginArray();
    for (int width = 0, height = 0; !pictures.atEnd(); sizes << QString::number(width)) {
        QByteArray pixels;
        pictures.beginStructure();
        pictures >> width >> height >> pixels;
        pictures.endStructure();
    }
    pictures.endArray();
    return sizes.join(' ');
}

} // namespace

class TestDesktopBus : public QObject {
    Q_OBJECT

    Record items_;
    Record calls_;
    QThread desktopThread_;
    std::unique_ptr<FakeWatcher> watcher_;
    std::unique_ptr<FakeNotifications> notifications_;
    QDBusConnection desktop_{QStringLiteral("none")};

    void Offer(const QString& service, bool offered) {
        if (offered)
            QVERIFY(desktop_.registerService(service));
        else
            desktop_.unregisterService(service);
    }

private slots:
    void initTestCase() {
        InitPictures();
        desktop_ =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("desktop"));
        QVERIFY(desktop_.isConnected());
        watcher_ = std::make_unique<FakeWatcher>(items_);
        notifications_ = std::make_unique<FakeNotifications>(calls_);
        for (const auto& [path, fake] :
             {std::pair<QString, QObject*>{"/StatusNotifierWatcher", watcher_.get()},
              {"/org/freedesktop/Notifications", notifications_.get()}}) {
            QVERIFY(desktop_.registerObject(path, fake,
                                            QDBusConnection::ExportAllSlots |
                                                QDBusConnection::ExportAllProperties));
            fake->moveToThread(&desktopThread_);
        }
        desktopThread_.start();
        // Qt settles the kind of its trays once, at the first: a StatusNotifierItem.
        Offer(WatcherService, true);
        QVERIFY(QSystemTrayIcon::isSystemTrayAvailable());
    }
    void cleanupTestCase() {
        desktopThread_.quit();
        desktopThread_.wait();
    }

    void rules_data() {
        QTest::addColumn<bool>("watcher");
        QTest::addColumn<bool>("server");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("transcript");
        const QString notify = QStringLiteral(
            "Notify Nimbrel %1 dialog-information [%2] [%3] org.nimbrel.Nimbrel 10000");
        QTest::newRow("primary activation toggles on a StatusNotifierItem host")
            << true << true << QStringList{"activate", "activate"}
            << QStringList{"toggle", "toggle"};
        QTest::newRow("an embedded tray's click alone does not, its double click once")
            << false << true << QStringList{"click", "click", "double"} << QStringList{"toggle"};
        QTest::newRow("a balloon is one notification; the picture stays")
            << true << true
            << QStringList{"balloon Amsterdam|Sky: clear\r\n12 ºC & <5 km>", "status"}
            << QStringList{notify.arg(0).arg("Amsterdam", "Sky: clear\\n12 ºC &amp; &lt;5 km&gt;"),
                           "status Active []"};
        QTest::newRow("taken down after 10 s")
            << true << true << QStringList{"balloon A|a", "fire"}
            << QStringList{notify.arg(0).arg("A", "a"), "timer 10000", "Close 1"};
        QTest::newRow("the next balloon replaces it")
            << true << true << QStringList{"balloon A|a", "balloon B|b", "fire"}
            << QStringList{notify.arg(0).arg("A", "a"), notify.arg(1).arg("B", "b"), "timer 10000",
                           "Close 1"};
        QTest::newRow("never an empty notification")
            << true << true << QStringList{"balloon |", "fire"} << QStringList{"timer 10000"};
        QTest::newRow("an embedded tray's balloons are notifications too")
            << false << true << QStringList{"balloon A|a"}
            << QStringList{notify.arg(0).arg("A", "a")};
        QTest::newRow("without a server Qt's own balloon, as before")
            << true << false << QStringList{"balloon A|a", "status"}
            << QStringList{"status NeedsAttention [dialog-information]"};
        QTest::newRow("the picture at the sizes panels draw")
            << true << true << QStringList{"sizes"} << QStringList{"sizes 16 22 24 32 48"};
    }
    void rules() {
        QFETCH(bool, watcher);
        QFETCH(bool, server);
        QFETCH(QStringList, steps);
        Offer(WatcherService, watcher);
        Offer(NotificationsService, server);
        items_.Take();
        calls_.Take();
        notifications_->Restart();

        QMenu menu;
        TCoolTrayIcon tray(&menu);
        QCOMPARE(tray.Kind(), watcher ? TrayKind::StatusNotifierItem : TrayKind::Embedded);
        auto timer = std::make_unique<ManualTimer>();
        ManualTimer& hideTimer = *timer;
        TBalloonHint balloon(tray, std::move(timer));
        QStringList transcript;
        connect(&tray, &TCoolTrayIcon::OnDblClick, [&transcript] { transcript << "toggle"; });
        tray.SetPicture(PicturePath(PictureList::Weather, 4));
        tray.SetIconVisible(true);
        QString item;
        if (watcher) {
            QVERIFY(QTest::qWaitFor([&] { return !(item = items_.Take().value(0)).isEmpty(); }));
        }
        const QDBusMessage barrier = QDBusMessage::createMethodCall(
            NotificationsService, QStringLiteral("/org/freedesktop/Notifications"),
            NotificationsService, QStringLiteral("GetCapabilities"));

        for (const QString& step : steps) {
            const QString argument = step.section(' ', 1);
            if (step == "activate") {
                const int before = int(transcript.size());
                Ask(QDBusMessage::createMethodCall(item, "/StatusNotifierItem",
                                                   "org.kde.StatusNotifierItem", "Activate")
                    << 0 << 0);
                QVERIFY(QTest::qWaitFor([&] { return transcript.size() > before; }));
            } else if (step == "click" || step == "double") {
                tray.Activated(step == "click" ? QSystemTrayIcon::Trigger
                                               : QSystemTrayIcon::DoubleClick);
            } else if (step.startsWith("balloon")) {
                balloon.ShowBalloon(argument.section('|', 0, 0).toStdString(),
                                    argument.section('|', 1).toStdString(),
                                    TCoolTrayIcon::BalloonKind::Information);
                if (server && argument != "|")
                    QVERIFY(QTest::qWaitFor([&] { return tray.NotificationShown() != 0; }));
            } else if (step == "fire") {
                transcript << hideTimer.Fire();
            } else if (step == "status") {
                transcript << QStringLiteral("status %1 [%2]")
                                  .arg(ItemProperty(item, "Status"),
                                       ItemProperty(item, "AttentionIconName"));
            } else if (step == "sizes") {
                transcript << "sizes " + ItemProperty(item, "IconPixmap");
            }
            // Messages to one destination arrive in order: once this answer is back, the
            // server has seen all the program sent before it.
            Ask(barrier);
            transcript << calls_.Take();
        }
        QTEST(transcript, "transcript");
    }
};

QTEST_MAIN(TestDesktopBus)
#include "TestDesktopBus.moc"
