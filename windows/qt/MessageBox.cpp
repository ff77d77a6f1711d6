#include "windows/qt/MessageBox.h"

#include "settings/SettingsStore.h"

namespace nimbrel::gui {

void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QString::fromUtf8(ProductName), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText); // texts carry file paths and names, never markup
    box.exec();
}

} // namespace nimbrel::gui
