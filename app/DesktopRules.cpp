#include "app/DesktopRules.h"

#include "settings/SettingsStore.h"

namespace nimbrel {

std::string WelcomeText() {
    const std::string name = ProductName;
    return "Welcome to " + name + "." + "\r\n" + "\r\n" + "By default " + name +
           " will start minimized in the system tray and periodically checks" + "\r\n" +
           "a weather server on the Internet for updated weather reports. Therefor it is "
           "required" +
           "\r\n" + "that " + name +
           " is allowed to access the Internet if you are using a firewall." + "\r\n" +
           "You can change " + name + "'s behaviour in 'Tools | Preferences'.";
}

std::string StartingLogMessage() {
    return std::string("Starting ") + ProductName + ".";
}

StartWindowState InitialWindowState(bool isFirstRun, bool minimizeOnStartup, bool trayAvailable) {
    if (isFirstRun || !minimizeOnStartup)
        return StartWindowState::Shown;
    return trayAvailable ? StartWindowState::HiddenInTray : StartWindowState::Minimized;
}

HideAction HideMainWindowAction(bool trayAvailable) {
    return trayAvailable ? HideAction::HideToTray : HideAction::Minimize;
}

} // namespace nimbrel
