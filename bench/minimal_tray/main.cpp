// A minimal Qt 6 tray program: an icon, a tooltip, a menu and a small window, which --hidden
// leaves unshown (a start in the tray only). With --balloon it also shows Qt's balloon a second
// after start, as the desktop program does at its first fetch where no notification server
// draws it: a comparison for that case, not the bench's yardstick.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstring>

namespace {

bool HasOption(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QPixmap picture(16, 16);
    picture.fill(QColor(99, 181, 231));
    QPainter(&picture).fillRect(4, 4, 8, 8, Qt::white);

    QMenu menu;
    menu.addAction(QStringLiteral("Show"));
    QObject::connect(menu.addAction(QStringLiteral("Exit")), &QAction::triggered, &application,
                     &QApplication::quit);

    QSystemTrayIcon tray{QIcon(picture)};
    tray.setToolTip(QStringLiteral("Minimal tray\nA tooltip of two lines"));
    tray.setContextMenu(&menu);
    tray.show();

    QLabel window(QStringLiteral("A small window"));
    window.setWindowTitle(QStringLiteral("Minimal tray"));
    window.resize(686, 271);
    if (!HasOption(argc, argv, "--hidden"))
        window.show();
    if (HasOption(argc, argv, "--balloon"))
        QTimer::singleShot(1000, &tray, [&tray] {
            tray.showMessage(QStringLiteral("Minimal tray (MINI)"),
                             QStringLiteral("Sky condition: Mostly clear\r\nTemperature: 12 ºC"),
                             QSystemTrayIcon::Information, 30000);
        });
    return QApplication::exec();
}
