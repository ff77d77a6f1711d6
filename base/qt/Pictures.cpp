#include "base/qt/Pictures.h"

#include "base/Product.h"

#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <algorithm>
#include <optional>

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

namespace {

// Draws the picture at whatever size and pixel ratio a tray, menu or title bar asks for, when it
// asks: nothing is drawn for sizes never shown.
class PictureIconEngine final : public QIconEngine {
public:
    PictureIconEngine(QString path, QList<QSize> sizes)
        : path_(std::move(path)), sizes_(std::move(sizes)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        QSvgRenderer renderer(path_);
        renderer.render(painter, rect);
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

// The desktop theme's icon of the program, or the compiled-in picture where the theme has none,
// looked up when the icon is first drawn: reading a theme's index costs more than the rest of
// start-up's pictures together, and a start in the tray may never draw the window icon.
class ThemeIconEngine final : public QIconEngine {
public:
    ThemeIconEngine(QString name, QString fallbackPath)
        : name_(std::move(name)), fallbackPath_(std::move(fallbackPath)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QIconEngine* clone() const override { return new ThemeIconEngine(name_, fallbackPath_); }
    bool isNull() override { return false; } // the compiled-in picture is always there

private:
    const QIcon& Icon() {
        if (!icon_)
            icon_ = QIcon::fromTheme(name_, PictureIcon(fallbackPath_));
        return *icon_;
    }

    QString name_;
    QString fallbackPath_;
    std::optional<QIcon> icon_;
};

} // namespace

QIcon ProgramIcon() {
    // QIcon takes ownership of its engine.
    return QIcon(new ThemeIconEngine(QString::fromUtf8(ApplicationId), ProgramIconPath()));
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
