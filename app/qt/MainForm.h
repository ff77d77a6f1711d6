#pragma once
// The main window: menus, tool bar, the five location panels in tabs or stacked, the status bar
// and the tray icon. The program's state lives in its Session; the window shows what the core
// computes through MainView and forwards the user's commands. A start in the tray builds only
// the tray icon, its menu and the actions: the window's contents (panels, menu and tool bars,
// status bar, fonts) are built when it is first shown, with what the core showed meanwhile.
#include "app/MainView.h"
#include "app/RecordedView.h"
#include "app/Session.h"
#include "app/WindowLayout.h"
#include "app/qt/CoolTrayIcon.h"
#include "app/qt/DesignScale.h"
#include "app/qt/ParentWeatherInfoForm.h"
#include "app/qt/QtScheduler.h"
#include "base/OnFirstUse.h"
#include "base/qt/MessageBox.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QScrollArea;

namespace nimbrel::gui {

class TDialogs;
class THistoryForm;

struct MainFormOptions {
    FtpServerAddress Server;
    std::string SettingsPath;   // the settings file
    std::string ExecutablePath; // what the autostart entry starts
    // Whether the desktop offers a notification area now; asked at every hide.
    std::function<bool()> TrayAvailable;
    std::chrono::milliseconds Watchdog = std::chrono::seconds(30);
    std::unique_ptr<HeartBeatPacer> Pacer; // the heartbeat's time (default: the real one)
    std::string DebugStatePath;            // when set, the tray and status texts are written there
    std::string HistoryPath;               // the report history; empty: none is kept
    HistoryHelper StoreHistoryThrough;     // what keeps a run in it; none: the program itself
    MessageBoxFunction ShowMessage = ShowMessageBox; // tests capture the boxes instead
    // Where a failure goes when no dialog may wait for the user: the program is being ended.
    std::function<void(const std::string&)> ReportWithoutDialog = [](const std::string& text) {
        std::fprintf(stderr, "nimbrel: %s\n", text.c_str());
    };
};

class TMainForm final : public QMainWindow, public MainView {
    Q_OBJECT
public:
    // FormCreate: builds the window and runs start-up up to the heartbeat and the clock timer.
    TMainForm(QtScheduler& scheduler, const Clock& clock, MainFormOptions options);
    ~TMainForm() override;

    // Whether the message loop shows the window when it starts (start-up step 10), and later
    // whether the window is shown rather than hidden in the tray.
    bool ShowOnStart() const { return windowShown_; }
    // After the message loop: stops the threads and timers and saves the settings. Once.
    void FormDestroy();
    // Builds the window's contents once; showing the window does it first.
    void EnsureWindowBuilt();
    bool WindowBuilt() const { return windowBuilt_; }
    void setVisible(bool visible) override;

    void ShowMainWindow();
    void HideMainWindow();
    void ArrangeLocationPanels();
    void UpdateLocations(bool timeOnly) { session_.UpdateLocations(timeOnly); }

    TSettings& Settings() { return session_.Settings(); }
    const std::string& SettingsPath() const { return session_.SettingsPath(); }
    TLogList& LogList() { return session_.Log(); }
    TMainController& Controller() { return session_.Controller(); }
    const DesignScale& Scale() const { return scale_; }
    const TRefreshCycle& RefreshCycle() const { return session_.Refresh(); }
    TDialogs& Dialogs() { return *dialogs_; }
    bool IsFirstRun = false;

    QAction* AMChangeWindowState = nullptr;
    QAction* AMFileExit = nullptr;
    QAction* AMWeatherGetWeatherReport = nullptr;
    QAction* AMPreferences = nullptr;
    QAction* AMLog = nullptr;
    QAction* AMHistory = nullptr;
    QAction* AMHelpReadMe = nullptr;
    QAction* AMHelpAbout = nullptr;
    QMenu* PopupActionMenuTrayIcon = nullptr;
    TCoolTrayIcon* TrayIcon = nullptr;
    TBalloonHint* BalloonHint = nullptr;
    // The window's contents: null until EnsureWindowBuilt.
    QMenuBar* ActionMainMenuBar = nullptr;
    QToolBar* ActionToolBar = nullptr;
    QScrollArea* StackedArea = nullptr; // scrolls the stacked panels where the screen is too low
    QWidget* PanelTop = nullptr;
    QTabWidget* PageControl = nullptr;
    std::array<QWidget*, LocationSlotCount> TabSheets{};
    std::array<QWidget*, LocationSlotCount> Panels{};
    std::array<TParentWeatherInfoForm*, LocationSlotCount> LocationForms{};
    QLabel* StatusBarPanel = nullptr;

    void ActionChangeWindowStateExecute();
    void ActionFileExitExecute();
    // The session or a signal ends the program: the same exit, but nothing may wait for the
    // user any more, so a failure at exit is reported without a dialog.
    void EndSession();
    void AMWeatherGetWeatherReportExecute();
    void ActionToolsPreferencesExecute();
    void ActionToolsLogExecute();
    void ActionToolsHistoryExecute();
    void ActionHelpReadMeExecute();
    void ActionHelpAboutExecute();
    void TrayIconDblClick();

    // MainView
    void SetStatusText(const std::string& text) override;
    void SetTrayHint(const std::string& hint) override;
    void SetTrayAnimation(bool on) override;
    void SetTrayIconIndex(int imageIndex) override;
    void ShowBalloon(const std::string& title, const std::string& text) override;
    void SetBusyCursor(bool busy) override;
    void LocationsUpdated() override;
    void HistoryStored() override;
    void SetTab(int slot, bool visible, const std::string& caption) override;
    void SetTabVisible(int slot, bool visible) override;
    void SetLocalTime(int slot, const std::string& text) override;
    void ShowPanel(int slot, const PanelModel& panel) override;

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose
    void showEvent(QShowEvent* event) override;   // FormShow

private:
    void CreateActions();
    void CreateTrayMenu();
    void CreateMenuBars();
    void CreatePanels();
    void CenterOnScreen();
    void ShowSettingsUnreadable(const std::string& error);
    void ChooseStartWindowState();
    void ShowWelcome();
    void UpdateWindowStateAction();
    bool TrayAvailable() const;
    std::string ProgramFolder() const;
    void DockPanelsInTabs();
    void StackPanels();
    // The window's size from its design size, what its texts need and the screen; then the
    // page control or the stacked panels within it.
    void FitWindow();
    void LayOutPanelTop(int contentWidth, int designHeight);
    int ContentWidth() const;
    void KeepOnScreen();
    QMargins FrameMargins() const;
    void ReportSaveFailure(const std::string& error);
    void WriteDebugState() const;
    QString PanelSummary(int slot) const;

    QtScheduler& scheduler_;
    const Clock& clock_;
    std::function<bool()> trayAvailable_;
    MessageBoxFunction showMessage_;
    std::function<void(const std::string&)> reportWithoutDialog_;
    std::string debugStatePath_;
    bool windowShown_ = true;
    bool destroyed_ = false;
    bool sessionEnding_ = false;
    bool busy_ = false;
    bool windowBuilt_ = false;
    RecordedView unbuilt_; // what the core showed before the window's contents existed
    DesignScale scale_;
    WindowArrangement arrangement_;

    Session session_;
    std::unique_ptr<TDialogs> dialogs_;    // preferences, station picker, log, help and About
    OnFirstUse<THistoryForm> historyForm_; // not modal: follows each run while open
};

} // namespace nimbrel::gui
