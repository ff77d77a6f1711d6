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
    renderer_.load(path);
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (!renderer_.isValid())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_.render(&painter, QRectF(0, 0, pictureSize_, pictureSize_));
}

} // namespace nimbrel::gui
