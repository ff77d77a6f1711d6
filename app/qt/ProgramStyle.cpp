#include "app/qt/ProgramStyle.h"

#include <QGuiApplication>
#include <QIcon>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <optional>
#include <utility>

namespace nimbrel::gui {

namespace {

// Qt's own pictures of a chevron, in the sizes its common style offers, read when the button is
// first drawn: a window as wide as this one never shows it.
class QtPngIconEngine final : public QIconEngine {
public:
    QtPngIconEngine(QString name, QList<int> sizes)
        : name_(std::move(name)), sizes_(std::move(sizes)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        int fit = sizes_.front();
        for (const int offered : sizes_)
            if (offered <= side)
                fit = offered;
        return {fit, fit};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const int size : sizes_)
            sizes << QSize(size, size);
        return sizes;
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QIconEngine* clone() const override { return new QtPngIconEngine(name_, sizes_); }

private:
    const QIcon& Icon() {
        if (!icon_) {
            icon_.emplace();
            for (const int size : sizes_)
                icon_->addPixmap(ReadPng(size));
        }
        return *icon_;
    }
    QPixmap ReadPng(int size) const {
        QImageReader reader(QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                                .arg(name_)
                                .arg(size),
                            "png");
        // Guessing the format from the contents asks every image format plugin first.
        reader.setAutoDetectImageFormat(false);
        return QPixmap::fromImage(reader.read());
    }

    QString name_;
    QList<int> sizes_;
    std::optional<QIcon> icon_;
};

QIcon QtPngIcon(const QString& name, QList<int> sizes) {
    // QIcon takes ownership of its engine.
    return QIcon(new QtPngIconEngine(name, std::move(sizes)));
}

bool IsMessagePicture(QStyle::StandardPixmap icon) {
    return icon == QStyle::SP_MessageBoxInformation || icon == QStyle::SP_MessageBoxWarning ||
           icon == QStyle::SP_MessageBoxCritical || icon == QStyle::SP_MessageBoxQuestion;
}

// Whether the desktop names no icon theme of its own, so that Qt looks in its fallback theme
// only. That theme holds applications' icons, not the message pictures.
bool OnlyFallbackIconTheme() {
    return QIcon::themeName() == QLatin1String("hicolor");
}

} // namespace

QPixmap ProgramStyle::QtOwnPixmap(StandardPixmap icon, const QStyleOption* option,
                                  const QWidget* widget) const {
    // Qt asks the icon theme only while it follows the desktop's settings; the flag is read
    // by nothing else during this call.
    const bool aware = QGuiApplication::desktopSettingsAware();
    QGuiApplication::setDesktopSettingsAware(false);
    QPixmap pixmap = proxy()->standardPixmap(icon, option, widget);
    QGuiApplication::setDesktopSettingsAware(aware);
    return pixmap;
}

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
    switch (icon) {
    case SP_ToolBarHorizontalExtensionButton:
        return QtPngIcon(QGuiApplication::isRightToLeft() ? QStringLiteral("toolbar-ext-h-rtl")
                                                          : QStringLiteral("toolbar-ext-h"),
                         {8, 16, 32});
    case SP_ToolBarVerticalExtensionButton:
        return QtPngIcon(QStringLiteral("toolbar-ext-v"), {5, 10, 20});
    default:
        // Looking the picture up in the fallback theme (the balloon's information picture)
        // would read its index of some 700 folders into 0.7 MiB of memory, only to end with
        // Qt's own picture; that is taken at once.
        if (IsMessagePicture(icon) && OnlyFallbackIconTheme())
            return QIcon(QtOwnPixmap(icon, option, widget));
        return QProxyStyle::standardIcon(icon, option, widget);
    }
}

} // namespace nimbrel::gui
