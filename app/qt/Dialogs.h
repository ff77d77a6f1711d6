#pragma once
// The main window's dialogs, created once and kept for the whole run so each keeps its state
// between openings, with the steps the main window's commands run around them.
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
    void ExecuteLog() { LogForm.exec(); }
    // ActionHelpReadMeExecute.
    void ShowHelp() { HelpViewer.ShowHelp(executableFolder_); }
    // ActionHelpAboutExecute.
    void ExecuteAbout() { AboutForm.exec(); }

    bool PreferencesHaveBeenChanged = false;
    TSelectLocationForm SelectLocationForm;
    TPreferencesForm PreferencesForm;
    TLogForm LogForm;
    TAboutForm AboutForm;
    THelpViewer HelpViewer;

private:
    QWidget* owner_;
    TSettings& settings_;
    TLogList& logList_;
    std::string executableFolder_;
    MessageBoxFunction showMessage_;
};

} // namespace nimbrel::gui
