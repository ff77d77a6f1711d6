#pragma once
// The program's message boxes: one OK button, the product name as caption. Forms take the
// function rather than calling QMessageBox, so a test can capture a box that would block it.
#include <QMessageBox>
#include <QString>
#include <functional>

namespace nimbrel::gui {

using MessageBoxFunction =
    std::function<void(QWidget* parent, QMessageBox::Icon icon, const QString& text)>;

// Shows the box modally over parent and returns when the user has closed it.
void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text);

} // namespace nimbrel::gui
