#include "app/qt/DesktopBus.h"

namespace nimbrel::gui {

TrayKind SessionTrayKind() {
    return TrayKind::Embedded;
}

std::unique_ptr<NotificationServer> SessionNotificationServer() {
    return nullptr;
}

} // namespace nimbrel::gui
