#pragma once
// Where the location panels go and how tall the main window becomes, and the caption of the
// window-state command.
#include "settings/Settings.h"

#include <string>
#include <vector>

namespace nimbrel {

inline constexpr int DesignPanelHeight = 113;
inline constexpr int StackedPanelLeft = 10;

struct PanelPlacement {
    int Slot = 1; // 1..5
    int Left = StackedPanelLeft;
    int Top = 0;
};

struct WindowArrangement {
    bool PageControlVisible = true;
    int WindowHeight = 0;
    // Stacked view only: the panels placed on the window, in order; the others stay in their
    // hidden tabs. Empty in the tabbed view, where panel N fills tab N.
    std::vector<PanelPlacement> StackedPanels;
};

WindowArrangement ArrangeLocationPanels(const TSettings& settings,
                                        int panelHeight = DesignPanelHeight);

struct WindowStateAction {
    std::string Caption;
    std::string Hint;
};

// The command names the state it leads to: hiding while the window is shown, opening otherwise.
WindowStateAction WindowStateCaption(bool windowVisible);

} // namespace nimbrel
