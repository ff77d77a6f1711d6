#include "app/qt/PictureBox.h"

#include "base/qt/Pictures.h"

#include <QPainter>

namespace nimbrel::gui {

PictureBox::PictureBox(int pictureSize, QWidget* parent)
    : QWidget(parent), pictureSize_(pictureSize) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void PictureBox::SetPicture(const QString& path) {
    if (path == path_)
        return;
    path_ = path;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    // Drawn when first painted: pictures in tabs never opened cost nothing at start-up.
    if (path_.isEmpty())
        return;
    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, pictureSize_, pictureSize_),
                       RenderPicture(path_, pictureSize_, devicePixelRatioF()));
}

} // namespace nimbrel::gui
