#include "app/qt/PictureBox.h"

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
    loaded_ = false;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    // Read when first painted: pictures in tabs never opened cost nothing at start-up.
    if (!loaded_) {
        renderer_.load(path_);
        loaded_ = true;
    }
    if (!renderer_.isValid())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_.render(&painter, QRectF(0, 0, pictureSize_, pictureSize_));
}

} // namespace nimbrel::gui
