#pragma once
// One location panel: name, clock, report texts and the three pictures with their figures. The
// core computes every text and picture index (PanelModel); the form only copies them.
#include "app/PanelModel.h"
#include "app/qt/DesignScale.h"
#include "app/qt/PictureBox.h"

#include <QLabel>
#include <QWidget>
#include <initializer_list>

namespace nimbrel::gui {

class TParentWeatherInfoForm : public QWidget {
    Q_OBJECT
public:
    // Design units (see DesignScale).
    static constexpr int DesignWidth = 656;
    static constexpr int DesignHeight = 168;

    explicit TParentWeatherInfoForm(int slot, QWidget* parent = nullptr);

    int Slot() const { return slot_; }

    // Everything of the panel but the clock, which SetLocalTime keeps.
    void ShowPanel(const PanelModel& panel);
    void SetLocalTime(const std::string& text);
    void SetLocationName(const std::string& text);

    const DesignScale& Scale() const { return scale_; }
    // The width the panel needs to show its texts whole: the design width, or more where a
    // report line is wider than the design made room for.
    int RequiredWidth() const;

    QLabel* LabelLocationName;
    QLabel* LabelLocalTime;
    QLabel* LeftLabelTime;
    QLabel* LabelTime;
    QLabel* LeftLabelCover;
    QLabel* LabelCover;
    QLabel* LeftLabelPresentWeather;
    QLabel* LabelPresentWeather;
    QLabel* LeftLabelWind;
    QLabel* LabelWind;
    QLabel* LeftLabelPressure;
    QLabel* LabelPressure;
    QLabel* LeftLabelTemperature;
    QLabel* LabelTemperature;
    QLabel* LeftLabelDewPoint;
    QLabel* LabelDewPoint;
    QLabel* LeftLabelVisibility;
    QLabel* LabelVisibility;
    PictureBox* ImageSignificantWeather;
    PictureBox* ImageTemperature;
    QLabel* LabelTemperatureInImage;
    PictureBox* ImageWindSpeed;
    QLabel* LabelWindSpeedInImage;
    QLabel* LabelMetar;

private:
    QLabel* AddLabel(const QString& name, const QString& caption, int left, int top);
    PictureBox* AddImage(const QString& name, int left, int top);
    // A figure at left, top of its picture (design units).
    QLabel* AddFigure(const QString& name, const PictureBox* image, int left, int top);
    void AlignValues(std::initializer_list<QLabel*> captions, std::initializer_list<QLabel*> values,
                     int left);
    void SetText(QLabel* label, const std::string& text);
    void SetAdvancedVisible(bool visible);
    void KeepLocalTimeRightEdge();

    int slot_;
    DesignScale scale_;
};

} // namespace nimbrel::gui
