#include "app/RecordedView.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace nimbrel {
namespace {

// Writes every call as one line, so a replay can be compared with what it stands for.
class CallLog final : public MainView {
public:
    std::vector<std::string> Calls;
    void SetStatusText(const std::string& text) override { Calls.push_back("status " + text); }
    void SetTab(int slot, bool visible, const std::string& caption) override {
        Calls.push_back("tab " + std::to_string(slot) + (visible ? " shown " : " hidden ") +
                        caption);
    }
    void SetTabVisible(int slot, bool visible) override {
        Calls.push_back("tab " + std::to_string(slot) + (visible ? " shown" : " hidden"));
    }
    void SetLocalTime(int slot, const std::string& text) override {
        Calls.push_back("clock " + std::to_string(slot) + " " + text);
    }
    void ShowPanel(int slot, const PanelModel& panel) override {
        Calls.push_back("panel " + std::to_string(slot) + " " + panel.LabelCover);
    }
};

TEST(RecordedView, ReplaysTheLatestOfEachKindPerSlot) {
    struct Case {
        const char* name;
        std::function<void(MainView&)> calls;
        std::vector<std::string> replayed;
    };
    const auto panel = [](const char* cover) {
        PanelModel model;
        model.LabelCover = cover;
        return model;
    };
    const Case cases[] = {
        {"nothing", [](MainView&) {}, {}},
        {"latest wins",
         [&](MainView& v) {
             v.ShowPanel(2, panel("Cloudy"));
             v.SetLocalTime(2, "13:59");
             v.SetStatusText("Getting weather report...");
             v.SetLocalTime(2, "14:00");
             v.ShowPanel(2, panel("Clear"));
             v.SetStatusText("Last successful weather update: 13:00");
         },
         {"panel 2 Clear", "clock 2 14:00", "status Last successful weather update: 13:00"}},
        {"hiding keeps the caption",
         [](MainView& v) {
             v.SetTab(3, true, "Paris");
             v.SetTabVisible(3, false);
         },
         {"tab 3 hidden Paris"}},
        {"visibility alone", [](MainView& v) { v.SetTabVisible(4, false); }, {"tab 4 hidden"}},
    };
    for (const Case& c : cases) {
        RecordedView recorded;
        c.calls(recorded);
        CallLog view;
        recorded.ReplayInto(view);
        EXPECT_EQ(view.Calls, c.replayed) << c.name;
        CallLog again; // the record is spent
        recorded.ReplayInto(again);
        EXPECT_TRUE(again.Calls.empty()) << c.name;
    }
    EXPECT_THROW(RecordedView().ShowPanel(6, PanelModel{}), std::out_of_range);
}

} // namespace
} // namespace nimbrel
