#include "settings/qt/PreferencesForm.h"

#include "base/qt/FormFont.h"
#include "base/qt/Pictures.h"
#include "settings/qt/SelectLocationForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace nimbrel::gui {

namespace {

constexpr int TabIconSize = 32;
constexpr int VisibleTimeZones = 13;

struct CheckBoxSetting {
    QCheckBox* TPreferencesForm::*control;
    bool TSettings::*setting;
};

constexpr std::array<CheckBoxSetting, 12> CheckBoxSettings = {{
    {&TPreferencesForm::CheckBoxMinimizeOnStartup, &TSettings::MinimizeOnStartup},
    {&TPreferencesForm::CheckBoxGetWeatherReportOnStartup, &TSettings::GetWeatherReportOnStartup},
    {&TPreferencesForm::CheckBoxStartAutomaticallyByWindows,
     &TSettings::StartAutomaticallyByWindows},
    {&TPreferencesForm::CheckBoxTabbedView, &TSettings::TabbedView},
    {&TPreferencesForm::CheckBoxUseMetric, &TSettings::UseMetricValues},
    {&TPreferencesForm::CheckBoxUseCelsius, &TSettings::UseCelsius},
    {&TPreferencesForm::CheckBoxUse24HourClock, &TSettings::Use24HourClock},
    {&TPreferencesForm::CheckBoxShowLocationCode, &TSettings::ShowLocationCode},
    {&TPreferencesForm::CheckBoxAdvancedWeatherReport, &TSettings::AdvancedWeatherReport},
    {&TPreferencesForm::CheckBoxDisableBalloonMessages, &TSettings::DisableBalloonMessages},
    {&TPreferencesForm::CheckBoxFtpActiveMode, &TSettings::FtpActiveMode},
    {&TPreferencesForm::CheckBoxUseHttps, &TSettings::UseHttps},
}};

const std::array<const char*, LocationSlotCount> SlotLabels = {
    "Primary Location:", "2nd Location:", "3rd Location:", "4th Location:", "5th Location:"};

QCheckBox* NewCheckBox(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromUtf8(name));
    return box;
}

QSpinBox* NewSpin(const char* name, int minimum, int maximum, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromUtf8(name));
    spin->setRange(minimum, maximum);
    spin->setSingleStep(1);
    spin->setGroupSeparatorShown(false);
    spin->setMinimumWidth(70);
    return spin;
}

// A tab: its decorative icon at the top left, the controls beside it.
QWidget* NewTab(const char* name, const QString& iconPath, QLayout* controls) {
    auto* tab = new QWidget;
    tab->setObjectName(QString::fromUtf8(name));
    auto* icon = new QLabel(tab);
    icon->setPixmap(RenderPicture(iconPath, TabIconSize, tab->devicePixelRatioF()));
    icon->setFixedSize(TabIconSize, TabIconSize);
    auto* layout = new QHBoxLayout(tab);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(14);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(controls, 1);
    return tab;
}

QVBoxLayout* CheckBoxColumn(std::initializer_list<QWidget*> widgets) {
    auto* column = new QVBoxLayout;
    column->setSpacing(8);
    for (QWidget* widget : widgets) {
        column->addWidget(widget);
    }
    return column;
}

QHBoxLayout* SpinRow(const QString& label, QSpinBox* spin) {
    auto* row = new QHBoxLayout;
    auto* text = new QLabel(label);
    text->setBuddy(spin);
    row->addWidget(text);
    row->addWidget(spin);
    row->addStretch();
    return row;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TPreferencesForm::TPreferencesForm(TSettings& settings, bool& preferencesHaveBeenChanged,
                                   TSelectLocationForm& selectLocationForm, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      PageControl(new QTabWidget(this)), ButtonOK(new QPushButton(tr("&OK"), this)),
      ButtonCancel(new QPushButton(tr("&Cancel"), this)),
      ButtonApply(new QPushButton(tr("&Apply"), this)), settings_(settings),
      preferencesHaveBeenChanged_(preferencesHaveBeenChanged),
      selectLocationForm_(selectLocationForm) {
    setObjectName(QStringLiteral("PreferencesForm"));
    setFont(FormFont());
    setWindowTitle(tr("Preferences"));
    PageControl->setObjectName(QStringLiteral("PageControl"));
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonApply->setObjectName(QStringLiteral("ButtonApply"));

    TabSheetGeneral = CreateGeneralTab();
    TabSheetLocation = CreateLocationTab();
    TabSheetRegional = CreateRegionalTab();
    TabSheetAdvanced = CreateAdvancedTab();
    PageControl->addTab(TabSheetGeneral, tr("General"));
    PageControl->addTab(TabSheetLocation, tr("Locations"));
    PageControl->addTab(TabSheetRegional, tr("Regional"));
    PageControl->addTab(TabSheetAdvanced, tr("Advanced"));

    for (const CheckBoxSetting& entry : CheckBoxSettings) {
        connect(this->*entry.control, &QCheckBox::clicked, this, &TPreferencesForm::ControlChanged);
    }
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, &TPreferencesForm::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonApply, &QPushButton::clicked, this, &TPreferencesForm::ButtonApplyClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    buttons->addWidget(ButtonApply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // not resizable
}

QWidget* TPreferencesForm::CreateGeneralTab() {
    CheckBoxMinimizeOnStartup =
        NewCheckBox("CheckBoxMinimizeOnStartup", tr("Minimize to system tray on startup"), this);
    CheckBoxGetWeatherReportOnStartup =
        NewCheckBox("CheckBoxGetWeatherReportOnStartup", tr("Get weather report on startup"), this);
    CheckBoxStartAutomaticallyByWindows = NewCheckBox(
        "CheckBoxStartAutomaticallyByWindows", tr("Start Nimbrel automatically after logon"), this);
    CheckBoxTabbedView = NewCheckBox("CheckBoxTabbedView", tr("View locations in tabs"), this);
    EditLongReconnectInterval = NewSpin("EditLongReconnectInterval", MinLongReconnectInterval,
                                        MaxLongReconnectInterval, this);
    QVBoxLayout* column =
        CheckBoxColumn({CheckBoxMinimizeOnStartup, CheckBoxGetWeatherReportOnStartup,
                        CheckBoxStartAutomaticallyByWindows, CheckBoxTabbedView});
    column->addSpacing(6);
    column->addLayout(
        SpinRow(tr("Weather report refresh interval (in minutes)"), EditLongReconnectInterval));
    column->addStretch();
    return NewTab("TabSheetGeneral", PicturePath(PictureList::Menu, 5), column);
}

QWidget* TPreferencesForm::CreateLocationTab() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    grid->addWidget(new QLabel(tr("Time Zone:")), 0, 4);
    const std::vector<std::string> zones = TimeZoneEntries();
    QStringList zoneNames;
    for (const std::string& zone : zones) {
        zoneNames.append(Text(zone));
    }
    for (int i = 0; i < LocationSlotCount; ++i) {
        const QString digit = QString::number(i + 1);
        const auto at = static_cast<std::size_t>(i);
        EditLocation[at] = new QLineEdit(this);
        EditLocation[at]->setObjectName(QStringLiteral("EditLocation") + digit);
        EditLocation[at]->setMinimumWidth(200);
        ButtonSelectLocation[at] = new QPushButton(tr("Select"), this);
        ButtonSelectLocation[at]->setObjectName(QStringLiteral("ButtonSelectLocation") + digit);
        ButtonClearLocation[at] = new QPushButton(tr("Clear"), this);
        ButtonClearLocation[at]->setObjectName(QStringLiteral("ButtonClearLocation") + digit);
        ComboBoxTimeZone[at] = new QComboBox(this);
        ComboBoxTimeZone[at]->setObjectName(QStringLiteral("ComboBoxTimeZone") + digit);
        ComboBoxTimeZone[at]->addItems(zoneNames);
        ComboBoxTimeZone[at]->setMaxVisibleItems(VisibleTimeZones);
        for (QPushButton* button : {ButtonSelectLocation[at], ButtonClearLocation[at]}) {
            button->setAutoDefault(false);
        }
        auto* label = new QLabel(tr(SlotLabels[at]));
        label->setBuddy(EditLocation[at]);
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(EditLocation[at], i + 1, 1);
        grid->addWidget(ButtonSelectLocation[at], i + 1, 2);
        grid->addWidget(ButtonClearLocation[at], i + 1, 3);
        grid->addWidget(ComboBoxTimeZone[at], i + 1, 4);
        const int slot = i + 1;
        connect(ButtonSelectLocation[at], &QPushButton::clicked, this,
                [this, slot] { ButtonSelectLocationClick(slot); });
        connect(ButtonClearLocation[at], &QPushButton::clicked, this,
                [this, slot] { ButtonClearLocationClick(slot); });
    }
    grid->setRowStretch(LocationSlotCount + 1, 1);
    return NewTab("TabSheetLocation", ProgramIconPath(), grid);
}

QWidget* TPreferencesForm::CreateRegionalTab() {
    CheckBoxUseMetric = NewCheckBox("CheckBoxUseMetric",
                                    tr("Display wind speed and visibility in metric values"), this);
    CheckBoxUseCelsius = NewCheckBox(
        "CheckBoxUseCelsius", tr("Display temperature in Celsius instead of Fahrenheit"), this);
    CheckBoxUse24HourClock =
        NewCheckBox("CheckBoxUse24HourClock",
                    tr("Display time in 24-hour clock instead of 12-hour clock"), this);
    QVBoxLayout* column =
        CheckBoxColumn({CheckBoxUseMetric, CheckBoxUseCelsius, CheckBoxUse24HourClock});
    column->addStretch();
    return NewTab("TabSheetRegional", PicturePath(PictureList::Menu, 0), column);
}

QWidget* TPreferencesForm::CreateAdvancedTab() {
    CheckBoxShowLocationCode =
        NewCheckBox("CheckBoxShowLocationCode", tr("Show location codes"), this);
    CheckBoxAdvancedWeatherReport = NewCheckBox(
        "CheckBoxAdvancedWeatherReport", tr("Show advanced weather report including METAR"), this);
    CheckBoxDisableBalloonMessages =
        NewCheckBox("CheckBoxDisableBalloonMessages", tr("Disable weather update messages"), this);
    CheckBoxFtpActiveMode = NewCheckBox("CheckBoxFtpActiveMode", tr("Use FTP active mode"), this);
    CheckBoxUseHttps = NewCheckBox("CheckBoxUseHttps",
                                   tr("Retrieve reports over HTTPS (when FTP is blocked)"), this);
    EditDelayGetWeaterOnStartup = NewSpin("EditDelayGetWeaterOnStartup", MinDelayGetWeaterOnStartup,
                                          MaxDelayGetWeaterOnStartup, this);
    QVBoxLayout* column =
        CheckBoxColumn({CheckBoxShowLocationCode, CheckBoxAdvancedWeatherReport,
                        CheckBoxDisableBalloonMessages, CheckBoxFtpActiveMode, CheckBoxUseHttps});
    column->addSpacing(6);
    column->addLayout(SpinRow(tr("Delay getting weather report on startup (in seconds)"),
                              EditDelayGetWeaterOnStartup));
    column->addStretch();
    return NewTab("TabSheetAdvanced", PicturePath(PictureList::Menu, 6), column);
}

void TPreferencesForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TPreferencesForm::FormShow() {
    model_.Show(settings_, selectLocationForm_.StationZones());
    ShowValues();
}

void TPreferencesForm::ControlChanged() {
    ReadControls();
    model_.CheckBoxClicked();
    ShowEnabledStates();
}

void TPreferencesForm::ShowEnabledStates() {
    CheckBoxFtpActiveMode->setEnabled(model_.FtpActiveModeEnabled());
    ButtonApply->setEnabled(model_.ApplyEnabled());
}

void TPreferencesForm::ButtonOKClick() {
    ApplyPreferences();
    accept();
}

void TPreferencesForm::ButtonApplyClick() {
    ApplyPreferences();
    ButtonApply->setEnabled(model_.ApplyEnabled());
}

void TPreferencesForm::ApplyPreferences() {
    ReadControls();
    model_.Apply(settings_, preferencesHaveBeenChanged_);
}

void TPreferencesForm::ButtonSelectLocationClick(int slot) {
    if (selectLocationForm_.exec() != QDialog::Accepted) {
        return;
    }
    ReadControls();
    model_.SelectLocation(slot, selectLocationForm_.Result());
    ShowSlot(slot);
    ButtonApply->setEnabled(model_.ApplyEnabled());
}

void TPreferencesForm::ButtonClearLocationClick(int slot) {
    ReadControls();
    model_.ClearLocation(slot);
    ShowSlot(slot);
    ButtonApply->setEnabled(model_.ApplyEnabled());
}

void TPreferencesForm::ShowValues() {
    const TSettings& values = model_.Values;
    for (const CheckBoxSetting& entry : CheckBoxSettings) {
        (this->*entry.control)->setChecked(values.*entry.setting);
    }
    EditLongReconnectInterval->setValue(values.LongReconnectInterval);
    EditDelayGetWeaterOnStartup->setValue(values.DelayGetWeaterOnStartup);
    for (int slot = 1; slot <= LocationSlotCount; ++slot) {
        ShowSlot(slot);
    }
    ShowEnabledStates();
}

void TPreferencesForm::ShowSlot(int slot) {
    const LocationSlot& values = model_.Values.Slot(slot);
    const auto at = static_cast<std::size_t>(slot - 1);
    EditLocation[at]->setText(Text(values.LocationName));
    EditLocation[at]->setCursorPosition(0);
    QComboBox* zone = ComboBoxTimeZone[at];
    // After the offsets, the station's own zone when there is one to offer.
    while (zone->count() > StationZoneIndex) {
        zone->removeItem(StationZoneIndex);
    }
    if (const std::string& offered = model_.OfferedTimeZone(slot); !offered.empty()) {
        zone->addItem(Text(offered));
        zone->setItemData(StationZoneIndex, tr("The station's time zone, summer time included"),
                          Qt::ToolTipRole);
    }
    // An offset the list has no entry for is named, not replaced, until the user picks one.
    zone->setPlaceholderText(Text(TimeZoneText(OffsetHours(values.LocationTimeZoneOffset))));
    zone->setCurrentIndex(model_.TimeZoneListIndex(slot));
}

void TPreferencesForm::ReadControls() {
    TSettings& values = model_.Values;
    for (const CheckBoxSetting& entry : CheckBoxSettings) {
        values.*entry.setting = (this->*entry.control)->isChecked();
    }
    values.LongReconnectInterval = EditLongReconnectInterval->value();
    values.DelayGetWeaterOnStartup = EditDelayGetWeaterOnStartup->value();
    for (int slot = 1; slot <= LocationSlotCount; ++slot) {
        const auto at = static_cast<std::size_t>(slot - 1);
        values.Slot(slot).LocationName = EditLocation[at]->text().toStdString();
        model_.ChooseTimeZone(slot, ComboBoxTimeZone[at]->currentIndex());
    }
}

} // namespace nimbrel::gui
