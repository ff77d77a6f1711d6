#include "app/TrayRules.h"

#include "app/TrayText.h"
#include "base/Product.h"
#include "base/TextTime.h"

#include <algorithm>

namespace nimbrel {

namespace {

constexpr int PanelPictureSizes[] = {16, 22, 24, 32, 48};

std::string EscapeMarkup(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string IconOf(BalloonKind kind) {
    switch (kind) {
    case BalloonKind::Information:
        return "dialog-information";
    case BalloonKind::Warning:
        return "dialog-warning";
    case BalloonKind::Error:
        return "dialog-error";
    case BalloonKind::None:
        break;
    }
    return {};
}

} // namespace

bool ClickTogglesWindow(TrayKind kind, TrayClick click) {
    return click == (kind == TrayKind::StatusNotifierItem ? TrayClick::Primary : TrayClick::Double);
}

std::vector<int> TrayPictureSizes(double screenScale) {
    std::vector<int> sizes(std::begin(PanelPictureSizes), std::end(PanelPictureSizes));
    if (screenScale > 1.0) {
        for (const int size : PanelPictureSizes)
            sizes.push_back(2 * size);
    }
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

std::optional<DesktopNotification> BalloonNotification(const std::string& title,
                                                       const std::string& text, BalloonKind kind,
                                                       bool bodyMarkup) {
    if (title.empty() && text.empty())
        return std::nullopt;
    DesktopNotification notification;
    notification.AppName = ProductName;
    notification.AppIcon = IconOf(kind);
    notification.Summary = LineFeedLines(title);
    const std::string body = LineFeedLines(text);
    notification.Body = bodyMarkup ? EscapeMarkup(body) : body;
    notification.DesktopEntry = ApplicationId;
    notification.ExpireTimeoutMilliseconds = BalloonHideMilliseconds;
    return notification;
}

BalloonNotifications::BalloonNotifications(std::unique_ptr<NotificationServer> server)
    : server_(std::move(server)) {}

bool BalloonNotifications::Show(const std::string& title, const std::string& text,
                                BalloonKind kind) {
    if (!server_->Present())
        return false;
    std::optional<DesktopNotification> notification =
        BalloonNotification(title, text, kind, server_->BodyMarkup());
    if (!notification) {
        Hide();
        return true;
    }
    notification->ReplacesId = shown_.value_or(0);
    shown_.reset();
    latestHidden_ = false;
    const std::uint64_t request = ++request_;
    server_->Notify(*notification, [this, request](std::uint32_t id) { Replied(request, id); });
    return true;
}

void BalloonNotifications::Hide() {
    latestHidden_ = true;
    if (!shown_)
        return; // nothing on display, or its id is still on the way: Replied closes it
    server_->CloseNotification(*shown_);
    shown_.reset();
}

void BalloonNotifications::Replied(std::uint64_t request, std::uint32_t id) {
    // An answer overtaken by a later balloon or by the take-down names one that must go.
    if (request != request_ || latestHidden_) {
        server_->CloseNotification(id);
        return;
    }
    shown_ = id;
}

} // namespace nimbrel
