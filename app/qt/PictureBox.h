#pragma once
// A picture drawn from its SVG source for the screen it is painted on, so it is crisp at any
// screen's pixel ratio, also after the window moves to another screen.
#include <QWidget>

namespace nimbrel::gui {

class PictureBox final : public QWidget {
    Q_OBJECT
public:
    // The picture is drawn pictureSize x pictureSize at the box's top left corner.
    PictureBox(int pictureSize, QWidget* parent = nullptr);

    void SetPicture(const QString& path);
    const QString& Picture() const { return path_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int pictureSize_;
    QString path_;
};

} // namespace nimbrel::gui
