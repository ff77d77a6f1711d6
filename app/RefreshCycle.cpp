#include "app/RefreshCycle.h"

#include "app/NumberFormat.h"
#include "app/ParentWeatherInfo.h"
#include "app/TrayText.h"
#include "base/TextTime.h"
#include "decode/WeatherVocabulary.h"
#include "settings/Preferences.h"

#include <exception>

namespace nimbrel {

namespace {

std::size_t Index(int slot) {
    return static_cast<std::size_t>(slot - 1);
}

} // namespace

std::string DesignTabCaption(int slot) {
    return "Location " + std::to_string(slot);
}

namespace {

std::array<TabState, LocationSlotCount> DesignTabs() {
    std::array<TabState, LocationSlotCount> tabs;
    for (int slot = 1; slot <= LocationSlotCount; ++slot)
        tabs[Index(slot)] = {true, DesignTabCaption(slot)};
    return tabs;
}

std::array<PanelModel, LocationSlotCount> DesignPanels() {
    std::array<PanelModel, LocationSlotCount> panels;
    panels.fill(InitialPanel());
    return panels;
}

// Clears a flag however the guarded scope is left.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

std::string StatusBarText(bool connectionFailed, const std::string& updateTime) {
    const std::string failure = "Failed to establish connection with weather server";
    if (connectionFailed)
        return updateTime.empty() ? failure
                                  : failure + " (last successful update: " + updateTime + ")";
    return updateTime.empty() ? "No actual weather report"
                              : "Last successful weather update: " + updateTime;
}

std::string BuildWeatherSummary(const TWeatherInfo& record, const TSettings& settings) {
    std::string summary;
    if (!record.SkyCondition.empty())
        summary += "Sky condition: " + record.SkyCondition + "\r\n";
    if (!record.Weather.empty())
        summary += std::string(PresentWeatherCaption) + " " + record.Weather + "\r\n";
    if (record.WindSpeed != NotAvailable)
        summary += "Wind speed: " +
                   WindText(record.WindSpeed, record.WindDirection, settings.UseMetricValues) +
                   "\r\n";
    if (record.Temperature != NotAvailable)
        summary += "Temperature: " + TemperatureText(record.Temperature, settings.UseCelsius);
    return summary;
}

std::string TrayHintText(const LocationSlot& location, const TSettings& settings,
                         const std::string& summary) {
    return LocationTitle(location.LocationName, location.LocationCode, settings.ShowLocationCode) +
           "\r\n" + summary;
}

TRefreshCycle::TRefreshCycle(MainView& view, TLogList& log, const Clock& clock,
                             TMetarDecoder& decoder, std::function<void()> processPendingEvents)
    : view_(view), log_(log), clock_(clock), decoder_(decoder),
      processPendingEvents_(std::move(processPendingEvents)), panels_(DesignPanels()),
      tabs_(DesignTabs()) {}

const PanelModel& TRefreshCycle::Panel(int slot) const {
    return panels_.at(Index(slot));
}

const TabState& TRefreshCycle::Tab(int slot) const {
    return tabs_.at(Index(slot));
}

void TRefreshCycle::UpdateLocations(const RefreshInput& input, bool timeOnly) {
    if (timeOnly) {
        UpdateClocks(input.Settings);
        return;
    }
    if (fullRefreshRunning_) {
        deferred_ = DeferredRefresh{input.Settings, input.METAR, input.PrimaryWeatherHasChanged,
                                    input.ConnectionFailed};
        return;
    }
    RunFullRefresh(input);
    while (deferred_) {
        const DeferredRefresh next = std::move(*deferred_);
        deferred_.reset();
        RunFullRefresh(
            {next.Settings, next.METAR, next.PrimaryWeatherHasChanged, next.ConnectionFailed});
    }
}

void TRefreshCycle::ClockTimerTick(const TSettings& settings) {
    const int minute = clock_.LocalNow().Minute;
    if (minute == lastClockMinute_)
        return;
    lastClockMinute_ = minute;
    UpdateClocks(settings);
}

void TRefreshCycle::UpdateClocks(const TSettings& settings) {
    for (int slot = 1; slot <= LocationSlotCount; ++slot)
        UpdateLocalTime(slot, settings.Slot(slot), settings);
}

void TRefreshCycle::RunFullRefresh(const RefreshInput& input) {
    const FlagScope running(fullRefreshRunning_);
    for (int slot = 1; slot <= LocationSlotCount; ++slot)
        UpdateLocation(slot, input);
}

void TRefreshCycle::UpdateLocation(int slot, const RefreshInput& input) {
    const LocationSlot& location = input.Settings.Slot(slot);
    UpdateLocalTime(slot, location, input.Settings);
    TWeatherInfo record;
    UpdateTab(slot, location);
    const std::string& metarText = input.METAR[Index(slot)];
    if (!metarText.empty())
        DecodeSlot(metarText, record, SlotZone(slot, location), input.Settings.Use24HourClock);
    PanelModel& panel = panels_[Index(slot)];
    DisplayWeatherInfo(panel, record, location.LocationName, location.LocationCode, input.Settings);
    if (slot == 1)
        UpdatePrimary(record, location, input);
    view_.ShowPanel(slot, panel);
}

void TRefreshCycle::UpdateLocalTime(int slot, const LocationSlot& location,
                                    const TSettings& settings) {
    std::string text =
        LocalTimeText(UtcNow(clock_), SlotZone(slot, location), settings.Use24HourClock);
    view_.SetLocalTime(slot, text);
    panels_[Index(slot)].LabelLocalTime = std::move(text);
}

void TRefreshCycle::UpdateTab(int slot, const LocationSlot& location) {
    TabState& tab = tabs_[Index(slot)];
    if (location.LocationCode.empty()) {
        tab.Visible = false; // the caption stays as it was
        view_.SetTabVisible(slot, false);
        return;
    }
    tab = {true, TabCaptionText(location.LocationName)};
    view_.SetTab(slot, true, tab.Caption);
}

const TStationZone& TRefreshCycle::SlotZone(int slot, const LocationSlot& location) {
    std::optional<ResolvedZone>& resolved = zones_[Index(slot)];
    if (resolved && resolved->Name == location.LocationTimeZone &&
        resolved->OffsetText == location.LocationTimeZoneOffset)
        return resolved->Zone;
    const int offsetHours = OffsetHours(location.LocationTimeZoneOffset);
    const TZoneLookup lookup = FindStationZone(location.LocationTimeZone, offsetHours);
    const bool warned = resolved && resolved->Name == location.LocationTimeZone;
    if (lookup.Unknown && !warned)
        log_.AddLogMessage(LogWarning,
                           UnknownTimeZoneMessage(slot, location.LocationTimeZone, offsetHours));
    resolved =
        ResolvedZone{location.LocationTimeZone, location.LocationTimeZoneOffset, lookup.Zone};
    return resolved->Zone;
}

std::string UnknownTimeZoneMessage(int slot, const std::string& zoneName, int offsetHours) {
    return "Unknown time zone \"" + zoneName + "\" of location " + std::to_string(slot) +
           ": its local time is " + TimeZoneText(offsetHours) + ".";
}

void TRefreshCycle::DecodeSlot(const std::string& metarText, TWeatherInfo& record,
                               const TStationZone& zone, bool use24HourClock) {
    try {
        decoder_.DecodeMetar(metarText, record, zone, use24HourClock, processPendingEvents_);
    } catch (const std::exception&) {
        // The record keeps what was decoded before the failure and is shown as it stands.
        log_.AddLogMessage(LogError, "Error on decoding metar: " + metarText);
        return;
    }
    log_.AddLogMessage(LogInformation, "Decoded metar: " + record.Metar);
}

void TRefreshCycle::UpdatePrimary(const TWeatherInfo& record, const LocationSlot& location,
                                  const RefreshInput& input) {
    TabState& tab = tabs_[0];
    tab.Visible = true;
    view_.SetTabVisible(1, true);
    if (!location.LocationName.empty() || !location.LocationCode.empty()) {
        ShowPrimarySummary(record, location, input);
        return;
    }
    tab.Caption = SelectPrimaryLocationText;
    view_.SetTab(1, true, tab.Caption);
    panels_[0].LabelLocationName = SelectPrimaryLocationText;
    statusText_ = SelectPrimaryLocationText;
    view_.SetStatusText(statusText_);
}

void TRefreshCycle::ShowPrimarySummary(const TWeatherInfo& record, const LocationSlot& location,
                                       const RefreshInput& input) {
    const TSettings& settings = input.Settings;
    trayIconIndex_ = WeatherImageIndex(record.Condition);
    weatherSummary_ = BuildWeatherSummary(record, settings);
    if (input.PrimaryWeatherHasChanged && !settings.DisableBalloonMessages)
        view_.ShowBalloon(BalloonTitle(LocationTitle(location.LocationName, location.LocationCode,
                                                     settings.ShowLocationCode)),
                          BalloonText(weatherSummary_));
    trayHint_ = TrayHintText(location, settings, weatherSummary_);
    view_.SetTrayHint(TrayTip(trayHint_));
    view_.SetTrayAnimation(false);
    view_.SetTrayIconIndex(trayIconIndex_);
    statusText_ =
        StatusBarText(input.ConnectionFailed,
                      UpdateTimeToShow(record, location.LocationCode, input.ConnectionFailed));
    view_.SetStatusText(statusText_);
}

std::string TRefreshCycle::UpdateTimeToShow(const TWeatherInfo& record, const std::string& code,
                                            bool connectionFailed) {
    if (!connectionFailed) {
        lastSuccessfulUpdate_ = record.UpdateTime;
        lastSuccessfulCode_ = code;
        return record.UpdateTime;
    }
    // A report decoded again after a failed attempt shows when it was really fetched.
    const bool known = !lastSuccessfulUpdate_.empty() && lastSuccessfulCode_ == code;
    return record.UpdateTime.empty() || !known ? record.UpdateTime : lastSuccessfulUpdate_;
}

} // namespace nimbrel
