#include "app/qt/ProgramStyle.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <initializer_list>

namespace nimbrel::gui {

namespace {

// Qt's own pictures of the chevrons, in the sizes its common style offers.
QIcon QtPngIcon(const QString& name, std::initializer_list<int> sizes) {
    QIcon icon;
    for (const int size : sizes) {
        QImageReader reader(QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                                .arg(name)
                                .arg(size),
                            "png");
        // Guessing the format from the contents asks every image format plugin first.
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace

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
        return QProxyStyle::standardIcon(icon, option, widget);
    }
}

} // namespace nimbrel::gui
