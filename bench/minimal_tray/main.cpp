// A minimal Qt 6 tray program: an icon, a tooltip, a menu and a small window, which --hidden
// leaves unshown (a start in the tray only).
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <cstring>

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
    if (argc < 2 || std::strcmp(argv[1], "--hidden") != 0)
        window.show();
    return QApplication::exec();
}
