#pragma once
// The main window's dialogs, each built when it is first opened and kept for the rest of the
// run, so each keeps its state between openings; with the steps the main window's commands run
// around them. A new window of the main window's belongs here, built the same way.
#include "base/OnFirstUse.h"
#include "base/qt/MessageBox.h"
#include "help/qt/AboutForm.h"
#include "help/qt/HelpViewer.h"
#include "log/MessageLog.h"
#include "log/qt/LogForm.h"
#include "settings/Preferences.h"
#include "settings/qt/PreferencesForm.h"
#include "settings/qt/SelectLocationForm.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

namespace nimbrel::gui {

// What the main window does after the preferences closed with applied changes.
struct PreferencesMainWindowSteps {
    std::function<void()> ArrangeLocationPanels;
    std::function<void()> SaveSettings; // throws SettingsWriteError
    std::function<void()> ResetRefreshTimer;
    std::function<void()> StartGetWeatherReport;
};

class TDialogs {
public:
    // executableFolder is where the station database and the help are looked for.
    TDialogs(QWidget* owner, TSettings& settings, TLogList& logList, std::string executableFolder,
             MessageBoxFunction showMessage = ShowMessageBox, OpenFileFunction openFile = {});

    // ActionToolsPreferencesExecute: the dialog on its first tab, then the closing steps.
    void ExecutePreferences(const PreferencesMainWindowSteps& steps);
    // ActionToolsLogExecute.
    void ExecuteLog() { LogForm->exec(); }
    // ActionHelpReadMeExecute.
    void ShowHelp() { HelpViewer->ShowHelp(executableFolder_); }
    // ActionHelpAboutExecute.
    void ExecuteAbout() { AboutForm->exec(); }

    bool PreferencesHaveBeenChanged = false;
    // The station picker is built with the preferences, which open it.
    OnFirstUse<TSelectLocationForm> SelectLocationForm;
    OnFirstUse<TPreferencesForm> PreferencesForm;
    OnFirstUse<TLogForm> LogForm;
    OnFirstUse<TAboutForm> AboutForm;
    OnFirstUse<THelpViewer> HelpViewer;

private:
    QWidget* owner_;
    TSettings& settings_;
    TLogList& logList_;
    std::string executableFolder_;
    MessageBoxFunction showMessage_;
    OpenFileFunction openFile_;
};

} // namespace nimbrel::gui
