#include "base/qt/Pictures.h"

#include "base/PictureCache.h"

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

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

namespace {

QImage DrawPicture(const QByteArray& svg, int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(svg);
    if (renderer.isValid()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    return image;
}

// A start finds the pictures earlier starts drew (drawn by this Qt from this SVG), so it reads
// their pixels instead of parsing and stroking.
QImage CachedOrDrawnPicture(const QString& path, int pixels) {
    QFile source(path);
    const QByteArray svg = source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray();
    if (svg.isEmpty())
        return DrawPicture(svg, pixels);
    const std::string drawnFrom = svg.toStdString() + qVersion();
    const TPictureCache cache(DefaultPictureCacheFolder());
    if (const auto kept = cache.Read(drawnFrom, pixels)) {
        QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        if (!image.isNull()) {
            std::memcpy(image.bits(), kept->data(), kept->size() * sizeof(std::uint32_t));
            return image;
        }
    }
    const QImage image = DrawPicture(svg, pixels);
    // 32 bits a pixel, rows without padding: the pixels in one run.
    cache.Keep(drawnFrom, pixels,
               {reinterpret_cast<const std::uint32_t*>(image.constBits()),
                static_cast<std::size_t>(pixels) * static_cast<std::size_t>(pixels)});
    return image;
}

} // namespace

QPixmap RenderPicture(const QString& path, int size, qreal devicePixelRatio) {
    const QString key = QStringLiteral("%1@%2x%3").arg(path).arg(size).arg(devicePixelRatio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap::fromImage(CachedOrDrawnPicture(path, qRound(size * devicePixelRatio)));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

namespace {

// Draws the picture at whatever size and pixel ratio a tray, menu or title bar asks for, when it
// asks: nothing is drawn for sizes never shown.
class PictureIconEngine final : public QIconEngine {
public:
    PictureIconEngine(QString path, QList<QSize> sizes)
        : path_(std::move(path)), sizes_(std::move(sizes)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        const int side = std::min(rect.width(), rect.height());
        QRect square(0, 0, side, side);
        square.moveCenter(rect.center());
        painter->drawPixmap(square,
                            RenderPicture(path_, side, painter->device()->devicePixelRatioF()));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return sizes_; }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State, qreal scale) override {
        return RenderPicture(path_, std::min(size.width(), size.height()), scale);
    }
    QIconEngine* clone() const override { return new PictureIconEngine(path_, sizes_); }
    bool isNull() override { return !QFile::exists(path_); }

private:
    QString path_;
    QList<QSize> sizes_;
};

} // namespace

QIcon ProgramIcon() {
    return PictureIcon(ProgramIconPath());
}

QIcon PictureIcon(const QString& path) {
    // What a window manager takes when it takes every size offered: the sizes it shows, not the
    // large ones nobody draws.
    return PictureIcon(path, {16, 24, 32, 48});
}

QIcon PictureIcon(const QString& path, const std::vector<int>& sizes) {
    QList<QSize> offered;
    for (const int size : sizes)
        offered.append(QSize(size, size));
    // QIcon takes ownership of its engine.
    return QIcon(new PictureIconEngine(path, std::move(offered)));
}

} // namespace nimbrel::gui
