#include "app/WindowLayout.h"

#include "settings/SettingsStore.h"

namespace nimbrel {

namespace {

constexpr int TabbedExtraHeight = 158;
constexpr int StackedExtraHeight = 114;
constexpr int StackedFirstTop = 60;

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

WindowStateAction WindowStateCaption(bool windowVisible) {
    if (windowVisible)
        return {"Minimize to system tray",
                "Minimize to the system tray without terminating the application"};
    return {std::string("Open ") + ProductName, ""};
}

} // namespace nimbrel
