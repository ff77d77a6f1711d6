#include "app/qt/Pictures.h"

#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <array>

#ifdef NIMBREL_HAVE_PICTURES
// Resource initialisers live outside any namespace.
static void InitPictureResource() {
    Q_INIT_RESOURCE(pictures);
}
#else
static void InitPictureResource() {}
#endif

namespace nimbrel::gui {

void InitPictures() {
    InitPictureResource();
}

QString PicturePath(PictureList list, int index) {
    switch (list) {
    case PictureList::Weather:
        return QStringLiteral(":/pictures/weather/weather-%1.svg").arg(index, 2, 10, QChar('0'));
    case PictureList::Temperature:
        return QStringLiteral(":/pictures/temperature/temperature-%1.svg")
            .arg(index, 2, 10, QChar('0'));
    case PictureList::Wind:
        return QStringLiteral(":/pictures/wind/wind-%1.svg").arg(index, 2, 10, QChar('0'));
    case PictureList::Tray:
        return QStringLiteral(":/pictures/tray/tray-%1.svg").arg(index);
    case PictureList::Menu:
        return QStringLiteral(":/pictures/menu/menu-%1.svg").arg(index);
    }
    return {};
}

QString ProgramIconPath() {
    return QStringLiteral(":/pictures/nimbrel.svg");
}

QPixmap RenderPicture(const QString& path, int size, qreal devicePixelRatio) {
    const QString key = QStringLiteral("%1@%2x%3").arg(path).arg(size).arg(devicePixelRatio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    const int pixels = qRound(size * devicePixelRatio);
    pixmap = QPixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QIcon PictureIcon(const QString& path) {
    static constexpr std::array sizes{16, 22, 24, 32, 48, 64};
    QIcon icon;
    for (const int size : sizes)
        icon.addPixmap(RenderPicture(path, size, 1.0));
    return icon;
}

} // namespace nimbrel::gui
