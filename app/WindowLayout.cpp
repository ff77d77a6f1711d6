#include "app/WindowLayout.h"

#include "settings/SettingsStore.h"

#include <algorithm>

namespace nimbrel {

namespace {

constexpr int TabbedExtraHeight = 158;
constexpr int StackedExtraHeight = 114;

bool PlacedWhenStacked(const LocationSlot& slot) {
    return !slot.LocationName.empty() && !slot.LocationCode.empty();
}

WindowArrangement Stacked(const TSettings& settings, int panelHeight) {
    WindowArrangement arrangement;
    arrangement.PageControlVisible = false;
    for (int slot = 1; slot <= LocationSlotCount; ++slot) {
        // The primary panel is always placed, so the window never stands empty.
        if (slot > 1 && !PlacedWhenStacked(settings.Slot(slot)))
            continue;
        const int placedBefore = static_cast<int>(arrangement.StackedPanels.size());
        arrangement.StackedPanels.push_back(
            {slot, StackedPanelLeft, placedBefore * panelHeight + StackedFirstTop});
    }
    arrangement.WindowHeight =
        StackedExtraHeight + static_cast<int>(arrangement.StackedPanels.size()) * panelHeight;
    return arrangement;
}

} // namespace

WindowArrangement ArrangeLocationPanels(const TSettings& settings, int panelHeight) {
    if (!settings.TabbedView)
        return Stacked(settings, panelHeight);
    WindowArrangement arrangement;
    arrangement.WindowHeight = panelHeight + TabbedExtraHeight;
    return arrangement;
}

PixelSize FitToArea(PixelSize content, PixelSize available, PixelSize scrollBars) {
    PixelSize size = content;
    if (size.Width > available.Width)
        size.Height += scrollBars.Height;
    if (size.Height > available.Height)
        size.Width += scrollBars.Width;
    return {std::min(size.Width, available.Width), std::min(size.Height, available.Height)};
}

int ClampIntoArea(int start, int length, int areaStart, int areaLength) {
    return std::clamp(start, areaStart, std::max(areaStart, areaStart + areaLength - length));
}

WindowStateAction WindowStateCaption(bool windowVisible) {
    if (windowVisible)
        return {"Minimize to system tray",
                "Minimize to the system tray without terminating the application"};
    return {std::string("Open ") + ProductName, ""};
}

} // namespace nimbrel
