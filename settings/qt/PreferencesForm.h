#pragma once
// The preferences dialog: maps its controls to and from TPreferencesModel, which decides.
#include "settings/Preferences.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace nimbrel::gui {

class TSelectLocationForm;

class TPreferencesForm : public QDialog {
    Q_OBJECT
public:
    // OK and Apply write into settings and set preferencesHaveBeenChanged; both belong to the
    // main window, which acts on them once the dialog has closed.
    TPreferencesForm(TSettings& settings, bool& preferencesHaveBeenChanged,
                     TSelectLocationForm& selectLocationForm, QWidget* parent = nullptr);

    QTabWidget* PageControl;
    QWidget* TabSheetGeneral;
    QWidget* TabSheetLocation;
    QWidget* TabSheetRegional;
    QWidget* TabSheetAdvanced;

    QCheckBox* CheckBoxMinimizeOnStartup;
    QCheckBox* CheckBoxGetWeatherReportOnStartup;
    QCheckBox* CheckBoxStartAutomaticallyByWindows;
    QCheckBox* CheckBoxTabbedView;
    QSpinBox* EditLongReconnectInterval; // edit field and spin control in one
    QCheckBox* CheckBoxUseMetric;
    QCheckBox* CheckBoxUseCelsius;
    QCheckBox* CheckBoxUse24HourClock;
    QCheckBox* CheckBoxShowLocationCode;
    QCheckBox* CheckBoxAdvancedWeatherReport;
    QCheckBox* CheckBoxDisableBalloonMessages;
    QCheckBox* CheckBoxFtpActiveMode;
    QCheckBox* CheckBoxUseHttps;
    QSpinBox* EditDelayGetWeaterOnStartup;

    // Index 0 is slot 1.
    std::array<QLineEdit*, LocationSlotCount> EditLocation{};
    std::array<QPushButton*, LocationSlotCount> ButtonSelectLocation{};
    std::array<QPushButton*, LocationSlotCount> ButtonClearLocation{};
    std::array<QComboBox*, LocationSlotCount> ComboBoxTimeZone{};

    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;
    QPushButton* ButtonApply;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void ControlChanged();
    void ButtonOKClick();
    void ButtonApplyClick();
    void ButtonSelectLocationClick(int slot);
    void ButtonClearLocationClick(int slot);
    void ApplyPreferences();

    QWidget* CreateGeneralTab();
    QWidget* CreateLocationTab();
    QWidget* CreateRegionalTab();
    QWidget* CreateAdvancedTab();

    void ShowValues();
    void ShowEnabledStates();
    void ShowSlot(int slot);
    void ReadControls();

    TSettings& settings_;
    bool& preferencesHaveBeenChanged_;
    TSelectLocationForm& selectLocationForm_;
    TPreferencesModel model_;
};

} // namespace nimbrel::gui
