#include "app/qt/FormFont.h"

#include <QApplication>
#include <QOperatingSystemVersion>
#include <QTextDocument>

namespace nimbrel::gui {

QFont FormFont() {
#ifdef _WIN32
    const auto version = QOperatingSystemVersion::current();
    if (version.majorVersion() == 6 && version.minorVersion() <= 1)
        return QFont(QStringLiteral("Segoe UI"), 9);
    return QFont(QStringLiteral("Tahoma"), 8);
#else
    return QApplication::font();
#endif
}

QString PlainText(const std::string& text) {
    QString result = QString::fromStdString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

QString PlainToolTip(const std::string& text) {
    if (text.empty())
        return {};
    return Qt::convertFromPlainText(PlainText(text), Qt::WhiteSpaceNormal);
}

} // namespace nimbrel::gui
