#pragma once
// The desktop program's own texts and the rules of its start-up and window states that do not
// depend on any toolkit.
#include <string>

namespace nimbrel {

inline constexpr const char* AlreadyRunningText = "Nimbrel is already running.";

// The first-run welcome, with "\r\n" line breaks.
std::string WelcomeText();

// The log line of start-up: "Starting Nimbrel."
std::string StartingLogMessage();

enum class StartWindowState { Shown, HiddenInTray, Minimized };

// Step 10 of start-up. A first run always shows the window (with its welcome). Without a
// notification area a hidden window could not be brought back, so it starts minimized instead.
StartWindowState InitialWindowState(bool isFirstRun, bool minimizeOnStartup, bool trayAvailable);

enum class HideAction { HideToTray, Minimize };

// What closing the window or the window-state command does to a shown window: hiding it to the
// tray, or minimizing it where there is no tray to bring it back from.
HideAction HideMainWindowAction(bool trayAvailable);

} // namespace nimbrel
