#pragma once
// The refresh cycle: after every retrieval attempt (and once at start-up) it brings every panel,
// tab, the tray and the status bar up to date from the held station texts; once a minute it only
// advances the five local clocks. Main thread only.
#include "app/MainView.h"
#include "app/PanelModel.h"
#include "base/Clock.h"
#include "decode/DecodeMetar.h"
#include "log/MessageLog.h"
#include "settings/Settings.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace nimbrel {

inline constexpr int ClockTimerIntervalMilliseconds = 5000;
inline constexpr const char* SelectPrimaryLocationText = "Select a primary location";

// A tab's caption before its slot has been refreshed: "Location 1".."Location 5".
std::string DesignTabCaption(int slot);

struct TabState {
    bool Visible = true;
    std::string Caption;
};

struct RefreshInput {
    const TSettings& Settings;
    const std::array<std::string, LocationSlotCount>& METAR;
    bool PrimaryWeatherHasChanged = false;
    bool ConnectionFailed = false;
};

class TRefreshCycle {
public:
    // processPendingEvents runs between report groups while a report is decoded, so the window
    // stays responsive; it may re-enter UpdateLocations and ClockTimerTick.
    TRefreshCycle(MainView& view, TLogList& log, const Clock& clock, TMetarDecoder& decoder,
                  std::function<void()> processPendingEvents = {});

    // Refreshes slots 1..5 in order, in full or only their clocks.
    void UpdateLocations(const RefreshInput& input, bool timeOnly);

    // The 5-second timer's tick: refreshes the clocks when the local minute changed.
    void ClockTimerTick(const TSettings& settings);

    const std::string& WeatherSummary() const { return weatherSummary_; }
    // The whole tray hint; the tip shows TrayTip() of it.
    const std::string& TrayHint() const { return trayHint_; }
    int TrayIconIndex() const { return trayIconIndex_; }
    const std::string& StatusText() const { return statusText_; }
    int LastClockMinute() const { return lastClockMinute_; }
    const PanelModel& Panel(int slot) const;
    const TabState& Tab(int slot) const;

private:
    void UpdateClocks(const TSettings& settings);
    void RunFullRefresh(const RefreshInput& input);
    void UpdateLocation(int slot, const RefreshInput& input);
    void UpdateLocalTime(int slot, const LocationSlot& location, const TSettings& settings);
    void UpdateTab(int slot, const LocationSlot& location);
    void DecodeSlot(const std::string& metarText, TWeatherInfo& record, const TStationZone& zone,
                    bool use24HourClock);
    // The slot's zone, looked up again only when its settings change, so an unknown name is
    // logged once per slot rather than once a minute.
    const TStationZone& SlotZone(int slot, const LocationSlot& location);
    void UpdatePrimary(const TWeatherInfo& record, const LocationSlot& location,
                       const RefreshInput& input);
    void ShowPrimarySummary(const TWeatherInfo& record, const LocationSlot& location,
                            const RefreshInput& input);
    std::string UpdateTimeToShow(const TWeatherInfo& record, const std::string& code,
                                 bool connectionFailed);

    MainView& view_;
    TLogList& log_;
    const Clock& clock_;
    TMetarDecoder& decoder_;
    std::function<void()> processPendingEvents_;

    std::array<PanelModel, LocationSlotCount> panels_;
    std::array<TabState, LocationSlotCount> tabs_;
    std::string weatherSummary_;
    std::string trayHint_;
    int trayIconIndex_ = 0;
    std::string statusText_;
    int lastClockMinute_ = 0;

    // The update stamp of the last refresh that followed a successful retrieval, and the
    // station it belongs to: a failed attempt reports when the data was really fetched.
    std::string lastSuccessfulUpdate_;
    std::string lastSuccessfulCode_;

    // A full refresh asked for while one runs (from processPendingEvents) waits for it to end:
    // run at once, the older refresh would finish last and put its older report back on show.
    bool fullRefreshRunning_ = false;
    struct DeferredRefresh {
        TSettings Settings;
        std::array<std::string, LocationSlotCount> METAR;
        bool PrimaryWeatherHasChanged = false;
        bool ConnectionFailed = false;
    };
    std::optional<DeferredRefresh> deferred_;

    struct ResolvedZone {
        std::string Name;
        std::string OffsetText;
        TStationZone Zone;
    };
    std::array<std::optional<ResolvedZone>, LocationSlotCount> zones_;
};

// The warning for a zone name the tz database does not know.
std::string UnknownTimeZoneMessage(int slot, const std::string& zoneName, int offsetHours);

// The status bar text after a full refresh of a primary location.
std::string StatusBarText(bool connectionFailed, const std::string& updateTime);

// The primary summary lines: sky, present weather, wind and temperature, each when known.
std::string BuildWeatherSummary(const TWeatherInfo& record, const TSettings& settings);

// The tray hint: the location title line, then the summary.
std::string TrayHintText(const LocationSlot& location, const TSettings& settings,
                         const std::string& summary);

} // namespace nimbrel
