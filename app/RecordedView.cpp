#include "app/RecordedView.h"

#include <stdexcept>

namespace nimbrel {

namespace {

std::size_t SlotIndex(int slot) {
    if (slot < 1 || slot > LocationSlotCount)
        throw std::out_of_range("location slot " + std::to_string(slot));
    return static_cast<std::size_t>(slot - 1);
}

} // namespace

RecordedView::Slot& RecordedView::At(int slot) {
    return slots_[SlotIndex(slot)];
}

const std::optional<PanelModel>& RecordedView::Panel(int slot) const {
    return slots_[SlotIndex(slot)].Panel;
}

void RecordedView::SetTab(int slot, bool visible, const std::string& caption) {
    Slot& recorded = At(slot);
    recorded.Caption = caption;
    recorded.Visible = visible;
}

void RecordedView::SetTabVisible(int slot, bool visible) {
    At(slot).Visible = visible;
}

void RecordedView::SetLocalTime(int slot, const std::string& text) {
    At(slot).LocalTime = text;
}

void RecordedView::ShowPanel(int slot, const PanelModel& panel) {
    At(slot).Panel = panel;
}

void RecordedView::ReplayInto(MainView& view) {
    for (int slot = 1; slot <= LocationSlotCount; ++slot) {
        const Slot& recorded = At(slot);
        if (recorded.Caption) // SetTab recorded both
            view.SetTab(slot, *recorded.Visible, *recorded.Caption);
        else if (recorded.Visible)
            view.SetTabVisible(slot, *recorded.Visible);
        // A panel shows everything but its clock, which comes after it.
        if (recorded.Panel)
            view.ShowPanel(slot, *recorded.Panel);
        if (recorded.LocalTime)
            view.SetLocalTime(slot, *recorded.LocalTime);
    }
    if (status_)
        view.SetStatusText(*status_);
    *this = RecordedView();
}

} // namespace nimbrel
