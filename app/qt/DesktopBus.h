#pragma once
// What the desktop's session bus offers the tray: the kind of tray Qt talks to, and the desktop
// notification server. On Linux through QtDBus; Windows has no session bus, and there the tray
// is the embedded one and balloons are the shell's.
#include "app/TrayRules.h"

#include <memory>

namespace nimbrel::gui {

// The kind of tray Qt uses, found the way Qt finds it when it creates a tray icon: a
// StatusNotifierWatcher on the session bus that has a host registered.
TrayKind SessionTrayKind();

// The desktop's org.freedesktop.Notifications server; none without a session bus.
std::unique_ptr<NotificationServer> SessionNotificationServer();

} // namespace nimbrel::gui
