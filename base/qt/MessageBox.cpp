#include "base/qt/MessageBox.h"

#include "base/Product.h"
#include "base/qt/Pictures.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <algorithm>

namespace nimbrel::gui {

namespace {

// The texts break their own lines; the box is made wide enough for the longest of them, so the
// toolkit never breaks one again (up to the screen's width).
void KeepLineBreaks(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    int widest = 0;
    for (const QString& line : box.text().split(QLatin1Char('\n')))
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        widest = std::min(widest, screen->availableGeometry().width() * 3 / 4);
    label->setMinimumWidth(widest + 1);
}

} // namespace

void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QString::fromUtf8(ProductName), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText); // texts carry file paths and names, never markup
    if (!parent)
        box.setWindowIcon(ProgramIcon()); // a box of its own, not one of a window's
    KeepLineBreaks(box);
    box.exec();
}

} // namespace nimbrel::gui
