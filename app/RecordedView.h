#pragma once
// What the core told a view that was not there to show it: the latest status text, tab, clock
// and panel of each slot, and nothing older, so a window hidden for weeks holds five panels'
// worth however many refreshes it missed. Replayed into the view once it exists.
#include "app/MainView.h"
#include "app/PanelModel.h"
#include "settings/Settings.h"

#include <array>
#include <optional>
#include <string>

namespace nimbrel {

class RecordedView final : public MainView {
public:
    void SetStatusText(const std::string& text) override { status_ = text; }
    void SetTab(int slot, bool visible, const std::string& caption) override;
    void SetTabVisible(int slot, bool visible) override;
    void SetLocalTime(int slot, const std::string& text) override;
    void ShowPanel(int slot, const PanelModel& panel) override;

    // The recorded calls, one of each kind per slot, in an order that leaves the view as the
    // original calls left it; the record is then empty.
    void ReplayInto(MainView& view);

    const std::optional<std::string>& Status() const { return status_; }
    const std::optional<PanelModel>& Panel(int slot) const;

private:
    struct Slot {
        std::optional<std::string> Caption; // SetTab's, which SetTabVisible leaves as it was
        std::optional<bool> Visible;
        std::optional<std::string> LocalTime;
        std::optional<PanelModel> Panel;
    };
    Slot& At(int slot);

    std::optional<std::string> status_;
    std::array<Slot, LocationSlotCount> slots_;
};

} // namespace nimbrel
