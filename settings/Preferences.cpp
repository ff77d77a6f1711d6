#include "settings/Preferences.h"

#include "base/LogKind.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace nimbrel {

namespace {

// The offset as the time-zone list will show and write it: the canonical text of its entry, or
// the text unchanged when no entry fits.
std::string ListedOffset(const std::string& offsetText) {
    const int index = TimeZoneIndex(offsetText);
    return index == NoTimeZoneIndex ? offsetText : TimeZoneOffsetText(index);
}

void HoldSpinsInRange(TSettings& values) {
    values.LongReconnectInterval = std::clamp(values.LongReconnectInterval,
                                              MinLongReconnectInterval, MaxLongReconnectInterval);
    values.DelayGetWeaterOnStartup = std::clamp(
        values.DelayGetWeaterOnStartup, MinDelayGetWeaterOnStartup, MaxDelayGetWeaterOnStartup);
}

} // namespace

std::string TimeZoneText(int offsetHours) {
    if (offsetHours == 0) {
        return "GMT";
    }
    char text[16];
    std::snprintf(text, sizeof text, "GMT %c%02d", offsetHours < 0 ? '-' : '+',
                  std::abs(offsetHours));
    return text;
}

std::vector<std::string> TimeZoneEntries() {
    std::vector<std::string> entries;
    for (int offset = MinListedOffset; offset <= MaxListedOffset; ++offset) {
        entries.push_back(TimeZoneText(offset));
    }
    return entries;
}

int TimeZoneIndex(const std::string& offsetText) {
    const int offset = OffsetHours(offsetText);
    if (offset < MinListedOffset || offset > MaxListedOffset) {
        return NoTimeZoneIndex;
    }
    return offset - MinListedOffset;
}

std::string TimeZoneOffsetText(int index) {
    return std::to_string(index + MinListedOffset);
}

void TPreferencesModel::Show(const TSettings& settings, const TStationZones& stationZones) {
    Values = settings;
    HoldSpinsInRange(Values);
    for (int number = 1; number <= LocationSlotCount; ++number) {
        LocationSlot& slot = Values.Slot(number);
        slot.LocationTimeZoneOffset = ListedOffset(slot.LocationTimeZoneOffset);
        const auto station = stationZones.find(slot.LocationCode);
        offeredZones_.at(static_cast<std::size_t>(number - 1)) =
            !slot.LocationTimeZone.empty() || station == stationZones.end() ? slot.LocationTimeZone
                                                                            : station->second;
    }
    applyEnabled_ = false;
}

const std::string& TPreferencesModel::OfferedTimeZone(int slot) const {
    return offeredZones_.at(static_cast<std::size_t>(slot - 1));
}

int TPreferencesModel::TimeZoneListIndex(int slot) const {
    const LocationSlot& values = Values.Slot(slot);
    return values.LocationTimeZone.empty() ? TimeZoneIndex(values.LocationTimeZoneOffset)
                                           : StationZoneIndex;
}

void TPreferencesModel::SelectLocation(int slot, const LocationChoice& chosen) {
    applyEnabled_ = true;
    LocationSlot& target = Values.Slot(slot);
    target.LocationCode = chosen.LocationCode;
    target.LocationName = chosen.LocationName;
    target.LocationTimeZoneOffset = ListedOffset(chosen.LocationTimeZoneOffset);
    target.LocationTimeZone = chosen.LocationTimeZone;
    offeredZones_.at(static_cast<std::size_t>(slot - 1)) = chosen.LocationTimeZone;
}

void TPreferencesModel::ClearLocation(int slot) {
    applyEnabled_ = true;
    Values.Slot(slot) = {"", "", TimeZoneOffsetText(GmtTimeZoneIndex), ""};
    offeredZones_.at(static_cast<std::size_t>(slot - 1)).clear();
}

void TPreferencesModel::ChooseTimeZone(int slot, int index) {
    LocationSlot& values = Values.Slot(slot);
    if (index == StationZoneIndex) {
        values.LocationTimeZone = OfferedTimeZone(slot);
    } else if (index >= 0 && index < StationZoneIndex) {
        values.LocationTimeZoneOffset = TimeZoneOffsetText(index);
        values.LocationTimeZone.clear();
    }
}

void TPreferencesModel::Apply(TSettings& settings, bool& preferencesHaveBeenChanged) {
    preferencesHaveBeenChanged = true;
    HoldSpinsInRange(Values);
    settings = Values;
    applyEnabled_ = false;
}

void ActOnClosedPreferences(TSettings& settings, bool& preferencesHaveBeenChanged,
                            PreferencesClosingActions& actions) {
    if (!preferencesHaveBeenChanged) {
        return;
    }
    preferencesHaveBeenChanged = false;
    if (settings.Slot(1).LocationCode.empty()) {
        actions.ShowWarning(PrimaryLocationEmptyWarning);
        settings.Slot(1) = TSettings{}.Slot(1);
        // The default station with the zone the picker would have given it.
        settings.Slot(1).LocationTimeZone = DefaultPrimaryTimeZone;
    }
    actions.ArrangeLocationPanels();
    try {
        actions.SaveSettings();
    } catch (const SettingsWriteError& error) {
        actions.ShowError(error.what());
        return;
    }
    actions.AddLogMessage(LogInformation, ResettingRefreshIntervalMessage);
    actions.ResetRefreshTimer();
    actions.StartGetWeatherReport();
}

} // namespace nimbrel
