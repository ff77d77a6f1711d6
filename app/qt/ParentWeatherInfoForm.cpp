#include "app/qt/ParentWeatherInfoForm.h"

#include "app/ParentWeatherInfo.h"
#include "app/WindowLayout.h"
#include "base/qt/FormFont.h"
#include "base/qt/Pictures.h"

#include <algorithm>

namespace nimbrel::gui {

namespace {

// Positions and sizes in design units (see DesignScale).
constexpr int LeftColumn = 224;
constexpr int LeftValues = 320;
constexpr int RightColumn = 492;
constexpr int RightValues = 572;
constexpr int CaptionGap = 6;
constexpr int RightMargin = 8;
constexpr int ImageSize = 56;
constexpr int PictureSize = 48;
constexpr int FigureWidth = 26;
constexpr int FigurePixelSize = 10;
// The clock keeps its right edge where its design caption ended, whatever the time's width.
constexpr int LocalTimeRight = TParentWeatherInfoForm::DesignWidth - 16;
// Dark enough to read on the white plate of the thermometer and the wind disc.
constexpr QRgb FigureColour = qRgb(64, 64, 64);

} // namespace

TParentWeatherInfoForm::TParentWeatherInfoForm(int slot, QWidget* parent)
    : QWidget(parent), slot_(slot) {
    setObjectName(QStringLiteral("Loc%1WeatherInfoForm").arg(slot));
    setFont(FormFont());
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);
    scale_ = DesignScaleForFont(font());
    setMinimumSize(scale_.X(DesignWidth), scale_.Y(DesignPanelHeight));
    resize(scale_.X(DesignWidth), scale_.Y(DesignHeight));

    LabelLocationName = AddLabel("LabelLocationName", "<weather station code>", 8, 8);
    LabelLocalTime = AddLabel("LabelLocalTime", "<local time>", 577, 8);
    for (QLabel* title : {LabelLocationName, LabelLocalTime}) {
        QFont font = title->font();
        font.setBold(true);
        font.setUnderline(true);
        title->setFont(font);
        title->adjustSize();
    }
    KeepLocalTimeRightEdge();

    LeftLabelTime = AddLabel("LeftLabelTime", "Time of report:", LeftColumn, 28);
    LabelTime = AddLabel("LabelTime", "-", LeftValues, 28);
    LeftLabelCover = AddLabel("LeftLabelCover", "Sky condition:", LeftColumn, 44);
    LabelCover = AddLabel("LabelCover", "-", LeftValues, 44);
    LeftLabelPresentWeather =
        AddLabel("LeftLabelPresentWeather",
                 QString::fromUtf8(PresentWeatherCaption.data(), PresentWeatherCaption.size()),
                 LeftColumn, 60);
    LabelPresentWeather = AddLabel("LabelPresentWeather", "-", LeftValues, 60);
    LeftLabelWind = AddLabel("LeftLabelWind", "Wind:", LeftColumn, 76);
    LabelWind = AddLabel("LabelWind", "-", LeftValues, 76);
    LeftLabelPressure = AddLabel("LeftLabelPressure", "Pressure:", RightColumn, 28);
    LabelPressure = AddLabel("LabelPressure", "-", RightValues, 28);
    LeftLabelTemperature = AddLabel("LeftLabelTemperature", "Temperature:", RightColumn, 44);
    LabelTemperature = AddLabel("LabelTemperature", "-", RightValues, 44);
    LeftLabelDewPoint = AddLabel("LeftLabelDewPoint", "Dewpoint:", RightColumn, 60);
    LabelDewPoint = AddLabel("LabelDewPoint", "-", RightValues, 60);
    LeftLabelVisibility = AddLabel("LeftLabelVisibility", "Visibility:", RightColumn, 76);
    LabelVisibility = AddLabel("LabelVisibility", "-", RightValues, 76);

    ImageSignificantWeather = AddImage("ImageSignificantWeather", 10, 34);
    ImageTemperature = AddImage("ImageTemperature", 82, 34);
    LabelTemperatureInImage = AddFigure("LabelTemperatureInImage", ImageTemperature, 12, 27);
    ImageWindSpeed = AddImage("ImageWindSpeed", 154, 34);
    LabelWindSpeedInImage = AddFigure("LabelWindSpeedInImage", ImageWindSpeed, 12, 17);

    AlignValues({LeftLabelTime, LeftLabelCover, LeftLabelPresentWeather, LeftLabelWind},
                {LabelTime, LabelCover, LabelPresentWeather, LabelWind}, LeftValues);
    AlignValues({LeftLabelPressure, LeftLabelTemperature, LeftLabelDewPoint, LeftLabelVisibility},
                {LabelPressure, LabelTemperature, LabelDewPoint, LabelVisibility}, RightValues);

    LabelMetar = AddLabel("LabelMetar", "<Metar>", 10, 92);
    SetAdvancedVisible(false);
    ShowPanel(InitialPanel());
}

QLabel* TParentWeatherInfoForm::AddLabel(const QString& name, const QString& caption, int left,
                                         int top) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    // Names and report lines come from outside: never read them as markup.
    label->setTextFormat(Qt::PlainText);
    label->move(scale_.X(left), scale_.Y(top));
    label->adjustSize();
    return label;
}

PictureBox* TParentWeatherInfoForm::AddImage(const QString& name, int left, int top) {
    auto* image = new PictureBox(scale_.Square(PictureSize), this);
    image->setObjectName(name);
    image->setGeometry(scale_.X(left), scale_.Y(top), scale_.Square(ImageSize),
                       scale_.Square(ImageSize));
    return image;
}

QLabel* TParentWeatherInfoForm::AddFigure(const QString& name, const PictureBox* image, int left,
                                          int top) {
    // The figure sits on its picture's clear plate and grows with the picture, not with the
    // desktop's font, so it always fits the plate.
    auto* figure = new QLabel(this);
    figure->setObjectName(name);
    figure->setTextFormat(Qt::PlainText);
    QFont font = figure->font();
    font.setBold(true);
    font.setPixelSize(scale_.Square(FigurePixelSize));
    figure->setFont(font);
    QPalette grey = figure->palette();
    grey.setColor(QPalette::WindowText, QColor(FigureColour));
    figure->setPalette(grey);
    figure->setAlignment(Qt::AlignCenter);
    figure->setAttribute(Qt::WA_TranslucentBackground);
    figure->setGeometry(image->x() + scale_.Square(left), image->y() + scale_.Square(top),
                        scale_.Square(FigureWidth), figure->fontMetrics().height());
    return figure;
}

void TParentWeatherInfoForm::AlignValues(std::initializer_list<QLabel*> captions,
                                         std::initializer_list<QLabel*> values, int left) {
    // The values start at their design column unless a caption is wider than the design made
    // room for, where they move right so that no caption runs into its value.
    int x = scale_.X(left);
    for (const QLabel* caption : captions)
        x = std::max(x, caption->x() + caption->width() + scale_.X(CaptionGap));
    for (QLabel* value : values)
        value->move(x, value->y());
}

void TParentWeatherInfoForm::SetText(QLabel* label, const std::string& text) {
    label->setText(PlainText(text));
    if (label->alignment().testFlag(Qt::AlignHCenter)) {
        // A figure wider than its plate (a three-digit frost) widens about its centre.
        const int centre = label->x() + label->width() / 2;
        const int width = std::max(scale_.Square(FigureWidth),
                                   label->fontMetrics().horizontalAdvance(label->text()));
        label->setGeometry(centre - width / 2, label->y(), width, label->height());
        return;
    }
    label->adjustSize();
}

int TParentWeatherInfoForm::RequiredWidth() const {
    int right = scale_.X(DesignWidth) - scale_.X(RightMargin);
    for (const QLabel* label : findChildren<QLabel*>())
        if (label->isVisibleTo(this))
            right = std::max(right, label->geometry().right() + 1);
    return right + scale_.X(RightMargin);
}

void TParentWeatherInfoForm::KeepLocalTimeRightEdge() {
    LabelLocalTime->move(scale_.X(LocalTimeRight) - LabelLocalTime->width(), LabelLocalTime->y());
}

void TParentWeatherInfoForm::SetLocalTime(const std::string& text) {
    SetText(LabelLocalTime, text);
    KeepLocalTimeRightEdge();
}

void TParentWeatherInfoForm::SetLocationName(const std::string& text) {
    SetText(LabelLocationName, text);
}

void TParentWeatherInfoForm::SetAdvancedVisible(bool visible) {
    for (QLabel* label :
         {LeftLabelVisibility, LabelVisibility, LeftLabelDewPoint, LabelDewPoint, LabelMetar})
        label->setVisible(visible);
}

void TParentWeatherInfoForm::ShowPanel(const PanelModel& panel) {
    SetLocationName(panel.LabelLocationName);
    SetText(LabelTime, panel.LabelTime);
    QPalette timeColour = palette();
    if (panel.LabelTimeRed)
        timeColour.setColor(QPalette::WindowText, Qt::red);
    LabelTime->setPalette(timeColour);
    SetText(LabelCover, panel.LabelCover);
    SetText(LabelPresentWeather, panel.LabelPresentWeather);
    LabelPresentWeather->setToolTip(PlainToolTip(panel.LabelPresentWeatherHint));
    SetText(LabelWind, panel.LabelWind);
    SetText(LabelPressure, panel.LabelPressure);
    SetText(LabelTemperature, panel.LabelTemperature);
    ImageSignificantWeather->SetPicture(
        PicturePath(PictureList::Weather, panel.ImageSignificantWeather));
    ImageTemperature->SetPicture(PicturePath(PictureList::Temperature, panel.ImageTemperature));
    SetText(LabelTemperatureInImage, panel.LabelTemperatureInImage);
    ImageWindSpeed->SetPicture(PicturePath(PictureList::Wind, panel.ImageWindSpeed));
    SetText(LabelWindSpeedInImage, panel.LabelWindSpeedInImage);
    SetAdvancedVisible(panel.AdvancedVisible);
    if (!panel.AdvancedVisible)
        return;
    SetText(LabelDewPoint, panel.LabelDewPoint);
    SetText(LabelVisibility, panel.LabelVisibility);
    SetText(LabelMetar, panel.LabelMetar);
    LabelMetar->setToolTip(PlainToolTip(panel.LabelMetarHint));
}

} // namespace nimbrel::gui
