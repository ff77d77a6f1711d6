#pragma once
// The program's picture lists, drawn from the SVG sources compiled into the program. A missing
// picture renders as a transparent square, so a form never fails over a picture.
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <vector>

namespace nimbrel::gui {

enum class PictureList { Weather, Temperature, Wind, Tray, Menu };

// Makes the compiled-in pictures available; call once before the first picture is drawn.
void InitPictures();

// The resource path of picture index of list, e.g. ":/pictures/weather/weather-04.svg".
QString PicturePath(PictureList list, int index);
QString ProgramIconPath();
// The program's picture, the same one the launcher takes from the hicolor theme, drawn from the
// compiled-in SVG: asking the desktop theme for it means parsing the theme's index (thousands of
// lines, most of a megabyte of memory) for a picture the program already holds.
QIcon ProgramIcon();

// The picture at size x size logical pixels, drawn for a screen of the given pixel ratio. Kept
// for the process, and in the user's cache folder (~/.cache/nimbrel/pictures) for later starts.
QPixmap RenderPicture(const QString& path, int size, qreal devicePixelRatio);

// An icon of the picture, drawn afresh at each size and pixel ratio it is shown at.
QIcon PictureIcon(const QString& path);
// The same, offering these pixel sizes to those who take every size offered (a tray host).
QIcon PictureIcon(const QString& path, const std::vector<int>& sizes);

} // namespace nimbrel::gui
