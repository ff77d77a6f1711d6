#include "app/qt/ParentWeatherInfoForm.h"

#include "app/ParentWeatherInfo.h"
#include "app/qt/FormFont.h"
#include "app/qt/Pictures.h"

namespace nimbrel::gui {

namespace {

constexpr int LeftColumn = 224;
constexpr int LeftValues = 320;
constexpr int RightColumn = 492;
constexpr int RightValues = 572;
constexpr int CaptionGap = 6;
constexpr int ImageSize = 56;
constexpr int PictureSize = 48;
constexpr int FigureWidth = 26;
constexpr int FigurePixelSize = 10;
// The clock keeps its right edge where its design caption ended, whatever the time's width.
constexpr int LocalTimeRight = TParentWeatherInfoForm::DesignWidth - 16;

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
    setMinimumSize(DesignWidth, 113);
    resize(DesignWidth, DesignHeight);

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
    LabelTemperatureInImage = AddFigure("LabelTemperatureInImage", 94, 61);
    ImageWindSpeed = AddImage("ImageWindSpeed", 154, 34);
    LabelWindSpeedInImage = AddFigure("LabelWindSpeedInImage", 166, 51);

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
    label->move(left, top);
    label->adjustSize();
    return label;
}

PictureBox* TParentWeatherInfoForm::AddImage(const QString& name, int left, int top) {
    auto* image = new PictureBox(PictureSize, this);
    image->setObjectName(name);
    image->setGeometry(left, top, ImageSize, ImageSize);
    return image;
}

QLabel* TParentWeatherInfoForm::AddFigure(const QString& name, int left, int top) {
    QLabel* figure = AddLabel(name, QString(), left, top);
    // The figure must fit inside the thermometer's bulb and the wind disc, whatever the desktop's
    // font size.
    QFont font = figure->font();
    font.setBold(true);
    font.setPixelSize(FigurePixelSize);
    figure->setFont(font);
    QPalette grey = figure->palette();
    grey.setColor(QPalette::WindowText, Qt::darkGray);
    figure->setPalette(grey);
    figure->setAlignment(Qt::AlignCenter);
    figure->setAttribute(Qt::WA_TranslucentBackground);
    figure->setFixedSize(FigureWidth, figure->fontMetrics().height());
    return figure;
}

void TParentWeatherInfoForm::AlignValues(std::initializer_list<QLabel*> captions,
                                         std::initializer_list<QLabel*> values, int left) {
    // The values start at their design column unless a caption in the desktop's font is wider
    // than the design font's, where they move right so that no caption runs into its value.
    for (const QLabel* caption : captions)
        left = std::max(left, caption->x() + caption->width() + CaptionGap);
    for (QLabel* value : values)
        value->move(left, value->y());
}

void TParentWeatherInfoForm::SetText(QLabel* label, const std::string& text) {
    label->setText(PlainText(text));
    if (label->alignment().testFlag(Qt::AlignHCenter))
        return;
    label->adjustSize();
}

void TParentWeatherInfoForm::KeepLocalTimeRightEdge() {
    LabelLocalTime->move(LocalTimeRight - LabelLocalTime->width(), LabelLocalTime->y());
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
