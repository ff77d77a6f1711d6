#include "base/qt/FormFont.h"

#include "base/FormFontRule.h"
#include "base/TextTime.h"

#include <QApplication>
#include <QOperatingSystemVersion>
#include <QTextDocument>

namespace nimbrel::gui {

QFont FormFont() {
#ifdef _WIN32
    const QOperatingSystemVersion system = QOperatingSystemVersion::current();
    const FormFontChoice font = FormFontForVersion(system.majorVersion(), system.minorVersion());
    return QFont(QString::fromStdString(font.family), font.pointSize);
#else
    return QApplication::font();
#endif
}

QString PlainText(const std::string& text) {
    return QString::fromStdString(LineFeedLines(text));
}

QString PlainToolTip(const std::string& text) {
    if (text.empty())
        return {};
    return Qt::convertFromPlainText(PlainText(text), Qt::WhiteSpaceNormal);
}

} // namespace nimbrel::gui
