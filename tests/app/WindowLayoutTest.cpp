#include "app/WindowLayout.h"

#include <gtest/gtest.h>
#include <vector>

namespace nimbrel {
namespace {

TSettings WithSlots(const std::vector<LocationSlot>& slots, bool tabbed) {
    TSettings settings;
    settings.TabbedView = tabbed;
    for (std::size_t i = 0; i < 5; ++i)
        settings.Slots[i] = i < slots.size() ? slots[i] : LocationSlot{"", "", "0", ""};
    return settings;
}

const LocationSlot Full{"EHAM", "Amsterdam", "1", ""};
const LocationSlot Empty{"", "", "0", ""};
const LocationSlot CodeOnly{"KJFK", "", "-5", ""};
const LocationSlot NameOnly{"", "Somewhere", "0", ""};

TEST(ArrangeLocationPanels, TabbedWindowIsPanelHeightPlus158) {
    const WindowArrangement a = ArrangeLocationPanels(WithSlots({Full, Full}, true));
    EXPECT_TRUE(a.PageControlVisible);
    EXPECT_EQ(a.WindowHeight, 271);
    EXPECT_TRUE(a.StackedPanels.empty());
    EXPECT_EQ(ArrangeLocationPanels(WithSlots({Full}, true), 120).WindowHeight, 278);
}

TEST(ArrangeLocationPanels, StackedPlacesSlotOneAndEveryFullSlot) {
    struct Case {
        const char* name;
        std::vector<LocationSlot> slots;
        std::vector<int> placedSlots;
        std::vector<int> tops;
        int height;
    };
    const std::vector<Case> cases = {
        {"one location", {Full}, {1}, {60}, 227},
        {"empty primary still placed", {Empty}, {1}, {60}, 227},
        {"slots 1, 3, 5", {Full, Empty, Full, Empty, Full}, {1, 3, 5}, {60, 173, 286}, 453},
        {"all five",
         {Full, Full, Full, Full, Full},
         {1, 2, 3, 4, 5},
         {60, 173, 286, 399, 512},
         679},
        {"half-filled slots stay in their tabs",
         {Full, CodeOnly, NameOnly, Full},
         {1, 4},
         {60, 173},
         340},
    };
    for (const Case& c : cases) {
        const WindowArrangement a = ArrangeLocationPanels(WithSlots(c.slots, false));
        EXPECT_FALSE(a.PageControlVisible) << c.name;
        EXPECT_EQ(a.WindowHeight, c.height) << c.name;
        ASSERT_EQ(a.StackedPanels.size(), c.placedSlots.size()) << c.name;
        for (std::size_t i = 0; i < c.placedSlots.size(); ++i) {
            EXPECT_EQ(a.StackedPanels[i].Slot, c.placedSlots[i]) << c.name;
            EXPECT_EQ(a.StackedPanels[i].Top, c.tops[i]) << c.name;
            EXPECT_EQ(a.StackedPanels[i].Left, 10) << c.name;
        }
    }
}

TEST(FitToArea, ScrollsWhatDoesNotFitAndMakesRoomForTheOtherScrollBar) {
    const struct {
        PixelSize content, expected;
    } cases[] = {{{700, 500}, {700, 500}},   // fits
                 {{700, 900}, {716, 760}},   // too tall: room for the vertical bar
                 {{1300, 500}, {1200, 514}}, // too wide: room for the horizontal bar
                 {{1300, 900}, {1200, 760}}};
    for (const auto& c : cases) {
        const PixelSize fitted = FitToArea(c.content, {1200, 760}, {16, 14});
        EXPECT_EQ(fitted.Width, c.expected.Width) << c.content.Width << "x" << c.content.Height;
        EXPECT_EQ(fitted.Height, c.expected.Height) << c.content.Width << "x" << c.content.Height;
    }
    EXPECT_EQ(ClampIntoArea(-20, 100, 0, 1280), 0);
    EXPECT_EQ(ClampIntoArea(1250, 100, 0, 1280), 1180);
    EXPECT_EQ(ClampIntoArea(10, 2000, 0, 1280), 0);
}

TEST(WindowStateCaption, NamesTheNextState) {
    const WindowStateAction shown = WindowStateCaption(true);
    EXPECT_EQ(shown.Caption, "Minimize to system tray");
    EXPECT_EQ(shown.Hint, "Minimize to the system tray without terminating the application");
    const WindowStateAction hidden = WindowStateCaption(false);
    EXPECT_EQ(hidden.Caption, "Open Nimbrel");
    EXPECT_EQ(hidden.Hint, "");
}

} // namespace
} // namespace nimbrel
