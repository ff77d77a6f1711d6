#include "app/qt/Dialogs.h"
#include "base/qt/Pictures.h"
#include "gui/DialogTesting.h"
#include "support/FakeClock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace nimbrel;
using namespace nimbrel::gui;
using namespace nimbrel::testing;

namespace {

std::function<bool()> CountriesLoaded(const TSelectLocationForm& form) {
    return [&form] { return form.ComboBoxCountries->count() > 0; };
}

void Choose(QComboBox* list, const QString& text) {
    const int index = list->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

} // namespace

class TestPreferencesForm : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    FakeClock clock_;
    CapturedMessages boxes_;
    TSettings settings_;
    std::unique_ptr<TLogList> log_;
    std::unique_ptr<TDialogs> dialogs_;
    std::vector<std::string> steps_;
    TSettings saved_;

    TPreferencesForm& Form() { return dialogs_->PreferencesForm; }
    // Boston Logan, chosen in the station picker that a row's select button opens.
    void PickBostonLogan(int row) {
        TSelectLocationForm& picker = dialogs_->SelectLocationForm;
        WhenModal(
            picker,
            [&] {
                Choose(picker.ComboBoxCountries, "United States");
                Choose(picker.ComboBoxCities, "Boston Logan");
                picker.ButtonOK->click();
            },
            CountriesLoaded(picker));
        Form().ButtonSelectLocation[static_cast<std::size_t>(row)]->click();
    }

    // ActionToolsPreferencesExecute with the main window's steps recorded.
    void Execute(std::function<void()> act) {
        WhenModal(Form(), std::move(act));
        dialogs_->ExecutePreferences({
            [this] { steps_.push_back("arrange"); },
            [this] {
                saved_ = settings_;
                steps_.push_back("save");
            },
            [this] { steps_.push_back("reset timer"); },
            [this] { steps_.push_back("fetch"); },
        });
    }

    std::vector<std::string> LogMessages() const {
        std::vector<std::string> messages;
        for (const std::string& line : log_->Lines()) {
            messages.push_back(ParseLogLine(line).Message);
        }
        return messages;
    }

    const std::vector<std::string> AllSteps = {"arrange", "save", "reset timer", "fetch"};

private slots:
    void initTestCase() { InitPictures(); }

    void init() {
        WriteStationDatabase(folder_.path());
        boxes_.messages.clear();
        steps_.clear();
        settings_ = TSettings{};
        saved_ = TSettings{};
        log_ = std::make_unique<TLogList>(clock_);
        dialogs_ = std::make_unique<TDialogs>(nullptr, settings_, *log_,
                                              folder_.path().toStdString(), boxes_.Function());
    }

    void opensOnTheFirstTabShowingTheSettings() {
        settings_.UseCelsius = false;
        settings_.LongReconnectInterval = 45;
        settings_.Slot(2) = {"KJFK", "New York", "-5", ""};
        settings_.Slot(3) = {"NZAA", "Auckland", "13", ""};
        Form().PageControl->setCurrentIndex(3);
        Execute([&] {
            QCOMPARE(Form().windowTitle(), QStringLiteral("Preferences"));
            QCOMPARE(Form().PageControl->currentIndex(), 0);
            QCOMPARE(Form().PageControl->count(), 4);
            QVERIFY(!Form().ButtonApply->isEnabled());
            QVERIFY(!Form().CheckBoxUseCelsius->isChecked());
            QVERIFY(Form().CheckBoxUseMetric->isChecked());
            QCOMPARE(Form().EditLongReconnectInterval->value(), 45);
            QCOMPARE(Form().EditLocation[1]->text(), QStringLiteral("New York"));
            QCOMPARE(Form().ComboBoxTimeZone[0]->currentText(), QStringLiteral("GMT +01"));
            QCOMPARE(Form().ComboBoxTimeZone[1]->currentText(), QStringLiteral("GMT -05"));
            QCOMPARE(Form().ComboBoxTimeZone[1]->count(), 25);
            // No entry for +13: none is selected and the offset is named, not replaced.
            QCOMPARE(Form().ComboBoxTimeZone[2]->currentIndex(), -1);
            QCOMPARE(Form().ComboBoxTimeZone[2]->placeholderText(), QStringLiteral("GMT +13"));
            for (int tab = 0; tab < 4; ++tab) {
                Form().PageControl->setCurrentIndex(tab);
                SaveScreenshot(Form(), QStringLiteral("preferences-%1").arg(tab + 1));
            }
            Form().ButtonOK->click();
        });
        QCOMPARE(settings_.Slot(3).LocationTimeZoneOffset, std::string("13"));
    }

    void changedIntervalIsAppliedSavedLoggedAndFetched() {
        Execute([&] {
            Form().EditLongReconnectInterval->setValue(90);
            QVERIFY(!Form().ButtonApply->isEnabled()); // only check boxes, Select and Clear
            Form().ButtonOK->click();
        });
        QCOMPARE(settings_.LongReconnectInterval, 90);
        QCOMPARE(saved_.LongReconnectInterval, 90);
        QCOMPARE(steps_, AllSteps);
        QCOMPARE(LogMessages(),
                 std::vector<std::string>{"Resetting weather report refresh interval."});
        QVERIFY(boxes_.messages.empty());
        QVERIFY(!dialogs_->PreferencesHaveBeenChanged);
    }

    void applyThenCancelKeepsTheAppliedValues() {
        Execute([&] {
            Form().CheckBoxTabbedView->click();
            QVERIFY(Form().ButtonApply->isEnabled());
            Form().ButtonApply->click();
            QVERIFY(!Form().ButtonApply->isEnabled());
            QVERIFY(Form().isVisible());
            QVERIFY(steps_.empty());            // nothing takes effect while the dialog is open
            Form().CheckBoxUseCelsius->click(); // after Apply, then cancelled
            Form().ButtonCancel->click();
        });
        QVERIFY(!settings_.TabbedView);
        QVERIFY(settings_.UseCelsius);
        QVERIFY(!saved_.TabbedView);
        QCOMPARE(steps_, AllSteps);
    }

    void selectedStationFillsTheRow() {
        Execute([&] {
            Form().PageControl->setCurrentWidget(Form().TabSheetLocation);
            PickBostonLogan(1);
            QCOMPARE(Form().EditLocation[1]->text(), QStringLiteral("Boston Logan"));
            QCOMPARE(Form().ComboBoxTimeZone[1]->currentText(), QStringLiteral("GMT -05"));
            QVERIFY(Form().ButtonApply->isEnabled());
            Form().EditLocation[1]->setText(QStringLiteral("Boston"));
            SaveScreenshot(Form(), QStringLiteral("preferences-selected"));
            Form().ButtonOK->click();
        });
        QCOMPARE(settings_.Slot(2).LocationCode, std::string("KBOS"));
        QCOMPARE(settings_.Slot(2).LocationName, std::string("Boston"));
        QCOMPARE(settings_.Slot(2).LocationTimeZoneOffset, std::string("-5"));
    }

    void stationZoneIsOfferedAndTakenByKeyboard() {
        WriteFile(QDir(folder_.path()).filePath(QStringLiteral("Zones.ini")),
                  "[Zones]\r\nKJFK=America/New_York\r\nKBOS=America/New_York\r\n");
        settings_.Slot(2) = {"KJFK", "New York", "-5", ""}; // filled before zones existed
        Execute([&] {
            Form().PageControl->setCurrentWidget(Form().TabSheetLocation);
            QComboBox* zone = Form().ComboBoxTimeZone[1];
            QCOMPARE(zone->count(), 26);
            QCOMPARE(zone->itemText(25), QStringLiteral("America/New_York"));
            QCOMPARE(zone->currentText(), QStringLiteral("GMT -05"));
            zone->setFocus();
            QTest::keyClick(zone, Qt::Key_End);
            PickBostonLogan(2);
            QCOMPARE(Form().ComboBoxTimeZone[2]->currentText(), QStringLiteral("America/New_York"));
            SaveScreenshot(Form(), QStringLiteral("preferences-zones"));
            Form().ButtonOK->click();
        });
        QCOMPARE(settings_.Slot(2).LocationTimeZone, std::string("America/New_York"));
        QCOMPARE(settings_.Slot(3).LocationTimeZone, std::string("America/New_York"));
        QCOMPARE(settings_.Slot(3).LocationTimeZoneOffset, std::string("-5"));
        QFile::remove(QDir(folder_.path()).filePath(QStringLiteral("Zones.ini")));
    }

    void everyCheckBoxIsWritten() {
        Execute([&] {
            for (QCheckBox* box : Form().findChildren<QCheckBox*>()) {
                box->click();
            }
            QCOMPARE(Form().findChildren<QCheckBox*>().size(), 12);
            QVERIFY(!Form().CheckBoxFtpActiveMode->isEnabled()); // HTTPS is on now
            Form().ButtonOK->click();
        });
        const TSettings defaults;
        QCOMPARE(settings_.MinimizeOnStartup, !defaults.MinimizeOnStartup);
        QCOMPARE(settings_.GetWeatherReportOnStartup, !defaults.GetWeatherReportOnStartup);
        QCOMPARE(settings_.StartAutomaticallyByWindows, !defaults.StartAutomaticallyByWindows);
        QCOMPARE(settings_.TabbedView, !defaults.TabbedView);
        QCOMPARE(settings_.UseMetricValues, !defaults.UseMetricValues);
        QCOMPARE(settings_.UseCelsius, !defaults.UseCelsius);
        QCOMPARE(settings_.Use24HourClock, !defaults.Use24HourClock);
        QCOMPARE(settings_.ShowLocationCode, !defaults.ShowLocationCode);
        QCOMPARE(settings_.AdvancedWeatherReport, !defaults.AdvancedWeatherReport);
        QCOMPARE(settings_.DisableBalloonMessages, !defaults.DisableBalloonMessages);
        QCOMPARE(settings_.FtpActiveMode, !defaults.FtpActiveMode);
        QCOMPARE(settings_.UseHttps, !defaults.UseHttps);
    }
};

QTEST_MAIN(TestPreferencesForm)
#include "TestPreferencesForm.moc"
