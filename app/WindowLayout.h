#pragma once
// Where the location panels go and how tall the main window becomes, and the caption of the
// window-state command.
#include "settings/Settings.h"

#include <string>
#include <vector>

namespace nimbrel {

inline constexpr int DesignPanelHeight = 113;
inline constexpr int StackedPanelLeft = 10;
// Where the first stacked panel starts, counted from the top of the client area.
inline constexpr int StackedFirstTop = 60;

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

struct PixelSize {
    int Width = 0;
    int Height = 0;
};

// The client size of a window whose content needs content: never beyond the available area,
// where what does not fit scrolls; a direction that overflows first gives the other one room for
// its scroll bar (scrollBars: the vertical bar's width, the horizontal bar's height).
PixelSize FitToArea(PixelSize content, PixelSize available, PixelSize scrollBars);

// Where something of length that starts at start must start to lie within the area that starts at
// areaStart (at its start when it is longer than the area).
int ClampIntoArea(int start, int length, int areaStart, int areaLength);

struct WindowStateAction {
    std::string Caption;
    std::string Hint;
};

// The command names the state it leads to: hiding while the window is shown, opening otherwise.
WindowStateAction WindowStateCaption(bool windowVisible);

} // namespace nimbrel
