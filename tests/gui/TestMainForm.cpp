// The main window as the user meets it: start-up state, panel arrangement, window states and
// their command captions, menus, and a fetch from a scripted FTP server with the tray animation.
#include "app/qt/HistoryForm.h"
#include "app/qt/MainForm.h"
#include "app/qt/QtScheduler.h"
#include "base/ProcessEnd.h"
#include "base/qt/Pictures.h"
#include "settings/SettingsStore.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"
#include "support/retrieval/ScriptedFtpServer.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QtTest>
#include <filesystem>
#include <memory>

using namespace nimbrel;
using namespace nimbrel::gui;
using nimbrel::testing::ScriptedFtpServer;

namespace {

const char* const EhamFile =
    "2010/05/12 12:25\nEHAM 121225Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG\n";

std::string SettingsText(const std::string& body) {
    return "[Preferences]\nGetWeatherReportOnStartup=0\nStartAutomaticallyByWindows=0\n" + body;
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

    std::unique_ptr<nimbrel::testing::TempFolder> folder_;
    std::unique_ptr<nimbrel::testing::ScopedEnvironment> configHome_;
    nimbrel::testing::FakeClock clock_;
    std::unique_ptr<QtScheduler> scheduler_;
    std::unique_ptr<TMainForm> form_;
    bool trayAvailable_ = true;
    bool buildWindow_ = true; // the window's contents, which a start in the tray leaves unbuilt
    QStringList messages_;    // the message boxes the form would have shown

    std::string SettingsPath() const { return folder_->File("Nimbrel.ini"); }

    TMainForm& Start(const std::string* settingsBody, uint16_t port = 21,
                     std::chrono::milliseconds watchdog = std::chrono::seconds(30),
                     std::function<void(const std::string&)> reportWithoutDialog = {}) {
        if (settingsBody)
            nimbrel::testing::WriteFile(SettingsPath(), SettingsText(*settingsBody));
        scheduler_ = std::make_unique<QtScheduler>();
        MainFormOptions options;
        options.Server = {"127.0.0.1", port};
        options.SettingsPath = SettingsPath();
        if (reportWithoutDialog)
            options.ReportWithoutDialog = std::move(reportWithoutDialog);
        options.ExecutablePath = "/usr/bin/nimbrel";
        options.HistoryPath = folder_->File("history.sqlite3");
        options.TrayAvailable = [this] { return trayAvailable_; };
        options.Watchdog = watchdog;
        options.ShowMessage = [this](QWidget*, QMessageBox::Icon, const QString& text) {
            messages_ << text;
        };
        form_ = std::make_unique<TMainForm>(*scheduler_, clock_, std::move(options));
        if (buildWindow_)
            form_->EnsureWindowBuilt();
        return *form_;
    }
    TMainForm& Start(const std::string& settingsBody, uint16_t port = 21,
                     std::chrono::milliseconds watchdog = std::chrono::seconds(30),
                     std::function<void(const std::string&)> reportWithoutDialog = {}) {
        return Start(&settingsBody, port, watchdog, std::move(reportWithoutDialog));
    }

private slots:
    void initTestCase() { InitPictures(); }

    void init() {
        folder_ = std::make_unique<nimbrel::testing::TempFolder>();
        // Autostart entries go to the configuration folder: keep them in the test's folder.
        configHome_ = std::make_unique<nimbrel::testing::ScopedEnvironment>(
            "XDG_CONFIG_HOME", folder_->Path().string());
        clock_.utc = {2010, 5, 12, 13, 0, 0, 0};
        trayAvailable_ = true;
        buildWindow_ = true;
        messages_.clear();
    }

    void cleanup() {
        form_.reset();
        scheduler_.reset();
        configHome_.reset();
        folder_.reset();
    }

    void startUpWindowState_data() {
        QTest::addColumn<bool>("settingsFileExists");
        QTest::addColumn<bool>("minimizeOnStartup");
        QTest::addColumn<bool>("trayAvailable");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("caption");
        QTest::newRow("hidden in the tray") << true << true << true << false << "&Open Nimbrel";
        QTest::newRow("shown by choice")
            << true << false << true << true << "&Minimize to system tray";
        QTest::newRow("first run shows the welcome")
            << false << true << true << true << "&Minimize to system tray";
        // Without a tray a hidden window could not come back: it starts minimized instead.
        QTest::newRow("no tray: minimized")
            << true << true << false << true << "&Minimize to system tray";
    }
    void startUpWindowState() {
        QFETCH(bool, settingsFileExists);
        QFETCH(bool, minimizeOnStartup);
        QFETCH(bool, trayAvailable);
        trayAvailable_ = trayAvailable;
        const std::string body =
            minimizeOnStartup ? "MinimizeOnStartup=1\n" : "MinimizeOnStartup=0\n";
        TMainForm& form = Start(settingsFileExists ? &body : nullptr);
        QTEST(form.ShowOnStart(), "shown");
        QTEST(form.AMChangeWindowState->text(), "caption");
        QCOMPARE(form.IsFirstRun, !settingsFileExists);
        QCOMPARE(form.isMinimized(), !trayAvailable);
    }

    void startUpFirstDisplay() {
        TMainForm& form = Start("LocationCode2=LFPG\nLocationName2=Paris\n");
        QCOMPARE(form.windowTitle(), QString("Nimbrel"));
        QCOMPARE(form.StatusBarPanel->text(), QString("No actual weather report"));
        QCOMPARE(form.TrayIcon->Hint(), std::string("Amsterdam Airport Schiphol\r\n"));
        QCOMPARE(form.RefreshCycle().TrayIconIndex(), 24);
        QCOMPARE(form.PageControl->currentIndex(), 0);
        QCOMPARE(form.PageControl->tabText(0), QString("Amsterdam Airport S..."));
        QVERIFY(form.PageControl->isTabVisible(1));
        QVERIFY(!form.PageControl->isTabVisible(2));
        QCOMPARE(form.LocationForms[0]->LabelLocalTime->text(), QString("14:00"));
        const auto lines = form.LogList().Lines();
        QCOMPARE(lines.size(), std::size_t(1));
        QCOMPARE(ParseLogLine(lines[0]).Message, std::string("Starting Nimbrel."));
        QCOMPARE(ParseLogLine(lines[0]).Kind, int(LogInformation));
    }

    void firstRunWelcome() {
        TMainForm& form = Start(nullptr);
        form.show();
        QVERIFY(!form.TrayIcon->Enabled()); // deaf while the welcome is open
        QTRY_VERIFY(form.TrayIcon->Enabled());
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].startsWith("Welcome to Nimbrel.\n\nBy default"));
        QVERIFY(!form.IsFirstRun);
        // Only the first showing greets.
        form.hide();
        form.show();
        QTest::qWait(10);
        QCOMPARE(messages_.size(), 1);
    }

    void arrangement_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("height");
        QTest::addColumn<QList<int>>("stackedSlots");
        const QString five = "LocationCode2=B\nLocationName2=B\nLocationCode3=C\nLocationName3=C\n"
                             "LocationCode4=D\nLocationName4=D\nLocationCode5=E\nLocationName5=E\n";
        QTest::newRow("tabbed") << "TabbedView=1\n" + five << 271 << QList<int>{};
        QTest::newRow("stacked, one") << "TabbedView=0\n" << 227 << QList<int>{1};
        QTest::newRow("stacked, 1 3 5")
            << "TabbedView=0\nLocationCode3=C\nLocationName3=C\nLocationCode5=E\n"
               "LocationName5=E\n"
            << 453 << QList<int>{1, 3, 5};
        // A slot needs both a name and a code to be placed.
        QTest::newRow("stacked, code only") << "TabbedView=0\nLocationCode2=B\n"
                                            << 227 << QList<int>{1};
        QTest::newRow("stacked, five")
            << "TabbedView=0\n" + five << 679 << QList<int>{1, 2, 3, 4, 5};
    }
    void arrangement() {
        QFETCH(QString, settings);
        QFETCH(int, height);
        QFETCH(QList<int>, stackedSlots);
        TMainForm& form = Start(settings.toStdString());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // The layout's numbers are design units, scaled by the window's font.
        const DesignScale& scale = form.Scale();
        if (form.height() < scale.Y(height)) // too low a screen: the stacked panels scroll
            QVERIFY(form.PanelTop->height() > form.StackedArea->viewport()->height());
        else
            QCOMPARE(form.height(), scale.Y(height));
        // Only a screen narrower than that (with room for the window's borders) makes it narrower.
        QVERIFY(form.width() >=
                std::min(scale.X(686), form.screen()->availableGeometry().width() - 8));
        QCOMPARE(form.PageControl->isVisibleTo(&form), stackedSlots.isEmpty());
        const int firstTop = std::max(scale.Y(60), form.StackedArea->y());
        for (int k = 0; k < stackedSlots.size(); ++k) {
            QWidget* panel = form.Panels[static_cast<std::size_t>(stackedSlots[k] - 1)];
            QCOMPARE(panel->parentWidget(), form.PanelTop);
            QCOMPARE(panel->mapTo(&form, QPoint(0, 0)),
                     QPoint(scale.X(10), firstTop + scale.Y(k * 113)));
            QCOMPARE(panel->height(), scale.Y(113));
        }
        for (std::size_t index = 0; index < form.Panels.size(); ++index) {
            const bool stacked = stackedSlots.contains(int(index) + 1);
            QCOMPARE(form.Panels[index]->parentWidget() == form.TabSheets[index], !stacked);
        }
    }

    void restackWithFewerSlots() {
        TMainForm& form = Start("TabbedView=0\nLocationCode3=C\nLocationName3=C\n");
        form.Settings().Slot(3) = {"", "", "0", ""};
        form.ArrangeLocationPanels();
        QCOMPARE(form.height(), form.Scale().Y(227));
        QCOMPARE(form.Panels[2]->parentWidget(), form.TabSheets[2]);
        QVERIFY(!form.PageControl->isVisibleTo(&form));
    }

    void rearrangeBackToTabs() {
        TMainForm& form = Start("TabbedView=0\nLocationCode2=B\nLocationName2=B\n");
        form.Settings().TabbedView = true;
        form.ArrangeLocationPanels();
        QCOMPARE(form.height(), form.Scale().Y(271));
        QVERIFY(form.PageControl->isVisibleTo(&form));
        QCOMPARE(form.Panels[0]->parentWidget(), form.TabSheets[0]);
        QCOMPARE(form.Panels[1]->parentWidget(), form.TabSheets[1]);
    }

    void windowStateCommand() {
        TMainForm& form = Start("MinimizeOnStartup=0\n");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ActionChangeWindowStateExecute();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.AMChangeWindowState->text(), QString("&Open Nimbrel"));
        form.TrayIconDblClick();
        QVERIFY(form.isVisible());
        QCOMPARE(form.AMChangeWindowState->text(), QString("&Minimize to system tray"));
        QCOMPARE(form.AMChangeWindowState->toolTip(),
                 QString("Minimize to the system tray without terminating the application"));
    }

    void closeHides_data() {
        QTest::addColumn<bool>("trayAvailable");
        QTest::addColumn<bool>("visibleAfterClose");
        QTest::addColumn<bool>("minimizedAfterClose");
        QTest::newRow("to the tray") << true << false << false;
        QTest::newRow("no tray: minimized") << false << true << true;
    }
    void closeHides() {
        QFETCH(bool, trayAvailable);
        trayAvailable_ = trayAvailable;
        TMainForm& form = Start("MinimizeOnStartup=0\n");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!form.close()); // the close is refused: the program keeps running
        QTEST(form.isVisible(), "visibleAfterClose");
        QTEST(form.isMinimized(), "minimizedAfterClose");
    }

    void menus() {
        TMainForm& form = Start("MinimizeOnStartup=0\n");
        QStringList titles;
        for (QAction* menu : form.ActionMainMenuBar->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"&File", "&Weather", "&Tools", "&Help"}));
        const auto texts = [](const QList<QAction*>& actions) {
            QStringList result;
            for (const QAction* action : actions)
                result << (action->isSeparator() ? "-" : action->text());
            return result;
        };
        QCOMPARE(texts(form.ActionMainMenuBar->actions()[0]->menu()->actions()),
                 (QStringList{"&Minimize to system tray", "&Exit"}));
        QCOMPARE(texts(form.ActionMainMenuBar->actions()[2]->menu()->actions()),
                 (QStringList{"&Preferences...", "&View log...", "&History..."}));
        QCOMPARE(texts(form.ActionMainMenuBar->actions()[3]->menu()->actions()),
                 (QStringList{"&Help", "&About..."}));
        QCOMPARE(texts(form.ActionToolBar->actions()),
                 (QStringList{"&Get weather report", "-", "&Preferences...", "&View log..."}));
        QCOMPARE(texts(form.PopupActionMenuTrayIcon->actions()),
                 (QStringList{"&Get weather report", "-", "&Minimize to system tray", "&Exit"}));
        QCOMPARE(form.AMHelpReadMe->shortcut(), QKeySequence(Qt::Key_F1));
    }

    void fetchAnimatesTheTray() {
        ScriptedFtpServer::Script script;
        script.Files["EHAM.TXT"] = EhamFile;
        ScriptedFtpServer server(script);
        TMainForm& form = Start("", server.Port());
        form.AMWeatherGetWeatherReportExecute();
        QVERIFY(form.TrayIcon->CycleIcons());
        QCOMPARE(form.TrayIcon->IconIndex(), 0);
        QCOMPARE(form.StatusBarPanel->text(), QString("Getting weather report..."));
        QCOMPARE(form.TrayIcon->Tip(), QString("Getting weather report..."));
        QTRY_VERIFY(!form.TrayIcon->CycleIcons());
        QCOMPARE(form.StatusBarPanel->text(), QString("Last successful weather update: 13:00"));
        QCOMPARE(form.LocationForms[0]->LabelCover->text(), QString("Mostly clear"));
        QCOMPARE(form.RefreshCycle().TrayIconIndex(), 4);
        QVERIFY(form.TrayIcon->Hint().starts_with("Amsterdam Airport Schiphol\r\nSky condition"));
        // The report is new: a balloon, taken down by its timer.
        QCOMPARE(form.TrayIcon->BalloonTitleShown(), QString("Amsterdam Airport Schiphol"));
        QVERIFY(form.BalloonHint->HideTimerActive());
    }

    // A start in the tray builds none of the window; its first showing builds it with what the
    // core showed meanwhile.
    void aStartInTheTrayBuildsTheWindowWhenFirstShown() {
        ScriptedFtpServer::Script script;
        script.Files["EHAM.TXT"] = EhamFile;
        ScriptedFtpServer server(script);
        buildWindow_ = false;
        TMainForm& form = Start("", server.Port());
        form.AMWeatherGetWeatherReportExecute();
        QTRY_VERIFY(!form.TrayIcon->CycleIcons());
        QVERIFY(!form.WindowBuilt());
        QVERIFY(form.findChildren<TParentWeatherInfoForm*>().isEmpty());
        QVERIFY(!form.findChild<QMenuBar*>());
        form.ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.StatusBarPanel->text(), QString("Last successful weather update: 13:00"));
        QCOMPARE(form.LocationForms[0]->LabelCover->text(), QString("Mostly clear"));
        QCOMPARE(form.LocationForms[0]->LabelLocalTime->text(), QString("14:00"));
        QCOMPARE(form.PageControl->tabText(0), QString("Amsterdam Airport S..."));
        QVERIFY(!form.PageControl->isTabVisible(1));
    }

    // Neither the file nor the window exists before they are needed; the window then shows
    // what the fetch stored.
    void historyIsKeptAndItsWindowBuiltWhenFirstNeeded() {
        ScriptedFtpServer::Script script;
        script.Files["EHAM.TXT"] = EhamFile;
        ScriptedFtpServer server(script);
        TMainForm& form = Start("", server.Port());
        QVERIFY(!std::filesystem::exists(folder_->File("history.sqlite3")));
        form.AMWeatherGetWeatherReportExecute();
        QTRY_VERIFY(std::filesystem::exists(folder_->File("history.sqlite3")));
        QVERIFY(!form.findChild<THistoryForm*>());
        form.AMHistory->trigger();
        const auto* history = form.findChild<THistoryForm*>();
        QVERIFY(history && history->isVisible());
        QCOMPARE(history->Pages->tabText(0), QString("Amsterdam Airport S..."));
        QCOMPARE(history->LabelCount->text(),
                 QString("1 report since Wed 12 May 13:25 (times in station time, UTC+1)"));
    }

    void stuckFetchKeepsAnimatingUntilTheWatchdog() {
        ScriptedFtpServer::Script script;
        script.SilentAfter = "USER";
        ScriptedFtpServer server(script);
        TMainForm& form = Start("", server.Port());
        form.AMWeatherGetWeatherReportExecute();
        QTRY_COMPARE_WITH_TIMEOUT(form.TrayIcon->IconIndex(), 1, 10000);
        // A second start while the first runs is refused with a warning and changes nothing.
        form.AMWeatherGetWeatherReportExecute();
        const TLogEntry refusal = ParseLogLine(form.LogList().Lines().back());
        QCOMPARE(refusal.Message,
                 std::string("Get weather report aborted: connection already in progress"));
        QCOMPARE(refusal.Kind, int(LogWarning));
        QVERIFY(form.TrayIcon->CycleIcons());
        // The watchdog's expiry, as its timer would deliver it.
        form.Controller().ConnectionTimerExpired();
        QTRY_VERIFY_WITH_TIMEOUT(!form.TrayIcon->CycleIcons(), 10000);
        QCOMPARE(form.StatusBarPanel->text(),
                 QString("Failed to establish connection with weather server"));
    }

    void exitSavesTheSettings() {
        TMainForm& form = Start("LongReconnectInterval=45\n");
        form.Settings().UseCelsius = false;
        form.FormDestroy();
        const TSettings saved = LoadSettings(SettingsPath());
        QCOMPARE(saved.LongReconnectInterval, 45);
        QVERIFY(!saved.UseCelsius);
    }

    // Exit during a stalled run, or just after the watchdog cut one: shutdown never waits for
    // the network, and the worker left behind lets go of the scheduler once it is stopped, which
    // is what the program's end waits for before static objects go.
    void exitDuringAFetchDoesNotWaitForIt_data() {
        QTest::addColumn<int>("watchdogMs");
        QTest::newRow("stalled run") << 30000;
        QTest::newRow("watchdog cut just before") << 1;
    }
    void exitDuringAFetchDoesNotWaitForIt() {
        QFETCH(int, watchdogMs);
        ScriptedFtpServer::Script script;
        script.SilentAfter = "USER";
        ScriptedFtpServer server(script);
        TMainForm& form = Start("", server.Port(), std::chrono::milliseconds(watchdogMs));
        form.AMWeatherGetWeatherReportExecute();
        const QString getting("Getting weather report...");
        if (watchdogMs < 1000)
            QTRY_VERIFY(form.StatusBarPanel->text() != getting);
        else
            QTRY_VERIFY(!server.Commands().empty()); // the worker needs the event loop to log
        // The server never answers: a shutdown that waited for the run would never return.
        form.FormDestroy();
        QVERIFY(std::filesystem::exists(SettingsPath()));
        const QString status = form.StatusBarPanel->text();
        // The abandoned run delivers nothing: no refresh follows.
        QTest::qWait(100);
        QCOMPARE(form.StatusBarPanel->text(), status);
        const std::weak_ptr<const void> lastUse = scheduler_->Lifetime();
        form_.reset();
        scheduler_.reset();
        QVERIFY(nimbrel::WaitUntilLetGo(lastUse, std::chrono::seconds(10)));
    }

    void unreadableSettingsAreNotOverwritten_data() {
        QTest::addColumn<bool>("loop");
        QTest::newRow("folder in the file's place") << false;
        QTest::newRow("link loop") << true; // as a folder that cannot be searched, unless root
    }
    void unreadableSettingsAreNotOverwritten() {
        QFETCH(bool, loop);
        if (loop)
            std::filesystem::create_symlink(SettingsPath(), SettingsPath());
        else
            std::filesystem::create_directories(SettingsPath());
        TMainForm& form = Start(nullptr);
        QCOMPARE(messages_.size(), 1);
        QVERIFY(!form.IsFirstRun);
        form.FormDestroy();
        QVERIFY(!std::filesystem::is_regular_file(std::filesystem::symlink_status(SettingsPath())));
    }

    void endedSessionReportsAFailedSaveWithoutADialog() {
        std::vector<std::string> reported;
        TMainForm& form = Start("", 21, std::chrono::seconds(30),
                                [&reported](const std::string& text) { reported.push_back(text); });
        std::filesystem::permissions(SettingsPath(), std::filesystem::perms(0444));
        form.EndSession();
        form.FormDestroy();
        QVERIFY(messages_.isEmpty());
        QVERIFY(reported == std::vector<std::string>{"Unable to write to " + SettingsPath()});
    }
};

QTEST_MAIN(TestMainForm)
#include "TestMainForm.moc"
