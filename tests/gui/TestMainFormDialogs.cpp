// The dialogs as the main window's commands open them: what the preferences change on disk, in
// the log and in the fetch state, and the help command.
#include "app/qt/Dialogs.h"
#include "app/qt/MainForm.h"
#include "app/qt/QtScheduler.h"
#include "base/qt/Pictures.h"
#include "gui/DialogTesting.h"
#include "settings/qt/PreferencesForm.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <memory>

using namespace nimbrel;
using namespace nimbrel::gui;
using namespace nimbrel::testing;

class TestMainFormDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> folder_;
    std::unique_ptr<ScopedEnvironment> configHome_;
    FakeClock clock_;
    std::unique_ptr<QtScheduler> scheduler_;
    std::unique_ptr<TMainForm> form_;
    CapturedMessages boxes_;

    std::string SettingsPath() const { return folder_->File("Nimbrel.ini"); }

    TMainForm& Start(const std::string& settings) {
        WriteFile(SettingsPath(), "[Preferences]\nGetWeatherReportOnStartup=0\n"
                                  "StartAutomaticallyByWindows=0\n" +
                                      settings);
        scheduler_ = std::make_unique<QtScheduler>();
        MainFormOptions options;
        options.Server = {"127.0.0.1", 1}; // nothing listens: a fetch fails at once
        options.SettingsPath = SettingsPath();
        options.ExecutablePath = folder_->File("bin/nimbrel"); // no help beside it
        options.TrayAvailable = [] { return true; };
        options.ShowMessage = boxes_.Function();
        form_ = std::make_unique<TMainForm>(*scheduler_, clock_, std::move(options));
        return *form_;
    }

    std::vector<std::string> LogMessages() const {
        std::vector<std::string> messages;
        for (const std::string& line : form_->LogList().Lines()) {
            messages.push_back(ParseLogLine(line).Message);
        }
        return messages;
    }

    bool Logged(const std::string& message) const {
        const std::vector<std::string> messages = LogMessages();
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    }

private slots:
    void initTestCase() { InitPictures(); }

    void init() {
        folder_ = std::make_unique<TempFolder>();
        configHome_ =
            std::make_unique<ScopedEnvironment>("XDG_CONFIG_HOME", folder_->Path().string());
        clock_.utc = {2010, 5, 12, 13, 0, 0, 0};
        boxes_.messages.clear();
    }

    void cleanup() {
        if (form_) {
            // A fetch the test started ends (refused) before the window goes.
            QTRY_VERIFY(!form_->Controller().ConnectionInProgress());
            form_->FormDestroy();
        }
        form_.reset();
        scheduler_.reset();
        configHome_.reset();
        folder_.reset();
    }

    void preferencesOkSavesLogsAndFetches() {
        TMainForm& form = Start("LongReconnectInterval=30\n");
        TPreferencesForm& preferences = form.Dialogs().PreferencesForm;
        WhenModal(preferences, [&] {
            preferences.EditLongReconnectInterval->setValue(90);
            preferences.ButtonOK->click();
        });
        form.AMPreferences->trigger();
        QCOMPARE(form.Settings().LongReconnectInterval, 90);
        QVERIFY(ReadFile(SettingsPath()).find("LongReconnectInterval=90\n") != std::string::npos);
        QVERIFY(Logged("Resetting weather report refresh interval."));
        QVERIFY(form.Controller().ConnectionInProgress());
        QVERIFY(boxes_.messages.empty());
    }

    void clearedPrimaryIsStoredAsTheDefaultStation() {
        TMainForm& form = Start("LocationCode1=LFPG\nLocationName1=Paris\n");
        TPreferencesForm& preferences = form.Dialogs().PreferencesForm;
        WhenModal(preferences, [&] {
            preferences.ButtonClearLocation[0]->click();
            preferences.ButtonOK->click();
        });
        form.AMPreferences->trigger();
        QCOMPARE(boxes_.messages.size(), std::size_t(1));
        QCOMPARE(boxes_.messages[0].text,
                 QStringLiteral("The primary location cannot be empty. Using default value."));
        const std::string saved = ReadFile(SettingsPath());
        QVERIFY(saved.find("LocationCode1=EHAM\n") != std::string::npos);
        QVERIFY(saved.find("LocationName1=Amsterdam Airport Schiphol\n") != std::string::npos);
        QVERIFY(saved.find("LocationTimeZoneOffset1=1\n") != std::string::npos);
    }

    void dialogsAreBuiltWhenFirstOpenedAndKept() {
        TMainForm& form = Start("");
        QVERIFY(!form.findChild<QDialog*>());
        QDialog* opened[2] = {};
        for (QDialog*& dialog : opened) {
            WhenModal(form.Dialogs().AboutForm,
                      [&] { dialog = form.findChild<QDialog*>(QStringLiteral("AboutForm")); });
            form.AMHelpAbout->trigger();
        }
        QVERIFY(opened[0] != nullptr);
        QCOMPARE(opened[1], opened[0]);
        QCOMPARE(form.findChildren<QDialog*>().size(), qsizetype(1));
    }

    void missingHelpIsNamed() {
        TMainForm& form = Start("");
        form.AMHelpReadMe->trigger();
        QCOMPARE(boxes_.messages.size(), std::size_t(1));
        QCOMPARE(boxes_.messages[0].text,
                 QStringLiteral("The help file 'NBRHelp.html' could not be found."));
    }
};

QTEST_MAIN(TestMainFormDialogs)
#include "TestMainFormDialogs.moc"
