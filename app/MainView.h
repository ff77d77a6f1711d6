#pragma once
// What the core shows through the main window. Every text and index arrives computed; the front
// end only copies it onto widgets. Each operation defaults to nothing, so a view (or a test
// fake) overrides just what it shows or records.
#include <string>

namespace nimbrel {

struct PanelModel;

class MainView {
public:
    virtual ~MainView() = default;

    virtual void SetStatusText(const std::string& /*text*/) {}
    // The tip as the tray shows it, already cut to its bound (app/TrayText.h).
    virtual void SetTrayHint(const std::string& /*hint*/) {}
    virtual void SetTrayAnimation(bool /*on*/) {}
    virtual void SetTrayIconIndex(int /*imageIndex*/) {}
    // An information balloon; title and text arrive cut to their bounds (app/TrayText.h).
    virtual void ShowBalloon(const std::string& /*title*/, const std::string& /*text*/) {}
    virtual void SetBusyCursor(bool /*busy*/) {}
    // A full refresh (UpdateLocations(false)) has returned: texts may have grown, a run ended.
    virtual void LocationsUpdated() {}
    // A run's reports went into the report history.
    virtual void HistoryStored() {}

    // slot is 1..5.
    virtual void SetTab(int /*slot*/, bool /*visible*/, const std::string& /*caption*/) {}
    virtual void SetTabVisible(int /*slot*/, bool /*visible*/) {}
    virtual void SetLocalTime(int /*slot*/, const std::string& /*text*/) {}
    virtual void ShowPanel(int /*slot*/, const PanelModel& /*panel*/) {}
};

} // namespace nimbrel
