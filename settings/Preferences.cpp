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

void TPreferencesModel::Show(const TSettings& settings) {
    Values = settings;
    HoldSpinsInRange(Values);
    for (LocationSlot& slot : Values.Slots) {
        slot.LocationTimeZoneOffset = ListedOffset(slot.LocationTimeZoneOffset);
    }
    applyEnabled_ = false;
}

void TPreferencesModel::SelectLocation(int slot, const LocationChoice& chosen) {
    applyEnabled_ = true;
    LocationSlot& target = Values.Slot(slot);
    target.LocationCode = chosen.LocationCode;
    target.LocationName = chosen.LocationName;
    target.LocationTimeZoneOffset = ListedOffset(chosen.LocationTimeZoneOffset);
}

void TPreferencesModel::ClearLocation(int slot) {
    applyEnabled_ = true;
    Values.Slot(slot) = {"", "", TimeZoneOffsetText(GmtTimeZoneIndex)};
}

void TPreferencesModel::ChooseTimeZone(int slot, int index) {
    if (index != NoTimeZoneIndex) {
        Values.Slot(slot).LocationTimeZoneOffset = TimeZoneOffsetText(index);
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
