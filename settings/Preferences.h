#pragma once
// What the preferences dialog decides, apart from its widgets: what the controls show when it
// opens, when Apply is enabled, what OK and Apply write into the settings, and what the main
// window does once the dialog has closed.
#include "settings/LocationDatabase.h"
#include "settings/Settings.h"

#include <array>
#include <string>
#include <vector>

namespace nimbrel {

inline constexpr int MinLongReconnectInterval = 10; // minutes
inline constexpr int MaxLongReconnectInterval = 360;
inline constexpr int MinDelayGetWeaterOnStartup = 0; // seconds
inline constexpr int MaxDelayGetWeaterOnStartup = 60;

inline constexpr int MinListedOffset = -12;
inline constexpr int MaxListedOffset = 12;
inline constexpr int GmtTimeZoneIndex = -MinListedOffset;
inline constexpr int NoTimeZoneIndex = -1;
// The entry after the offsets: the station's own tz database zone, listed when it has one.
inline constexpr int StationZoneIndex = MaxListedOffset - MinListedOffset + 1;

inline constexpr const char* PrimaryLocationEmptyWarning =
    "The primary location cannot be empty. Using default value.";
inline constexpr const char* ResettingRefreshIntervalMessage =
    "Resetting weather report refresh interval.";

// "GMT" for 0, else "GMT -05" / "GMT +03": the time-zone list's entry text, also used to name an
// offset the list has no entry for.
std::string TimeZoneText(int offsetHours);

// "GMT -12" .. "GMT +12": entry i stands for the offset i - 12.
std::vector<std::string> TimeZoneEntries();

// The list entry for an offset text, read as OffsetHours reads it (so a text that is not a whole
// number is "GMT", as everywhere else it counts as 0). NoTimeZoneIndex for an offset beyond the
// list, which the dialog keeps rather than silently moving the station to another zone.
int TimeZoneIndex(const std::string& offsetText);

// The offset text that a time-zone list entry stands for: "-5", "0", "3".
std::string TimeZoneOffsetText(int index);

// What the location picker hands back: the three texts of a slot and the station's zone.
struct LocationChoice {
    std::string LocationCode;
    std::string LocationName;
    std::string LocationTimeZoneOffset;
    std::string LocationTimeZone;
};

// The dialog's own copy of the settings while it is open. Values mirror the controls: the check
// boxes, the spin positions, the hidden slot codes, the name fields and the offsets the
// time-zone lists stand for. The front end copies Values onto its controls after each event and
// reads the user's edits back into Values before Apply.
class TPreferencesModel {
public:
    TSettings Values;

    // FormShow: reloads everything from the settings (unapplied edits are lost) and disables
    // Apply. Spin positions are held within their ranges. stationZones offer a slot without a
    // zone (filled before zones existed) its station's zone.
    void Show(const TSettings& settings, const TStationZones& stationZones = {});

    // ControlChanged from a check box click.
    void CheckBoxClicked() { applyEnabled_ = true; }

    // Select, slot 1..5, after the picker returned OK.
    void SelectLocation(int slot, const LocationChoice& chosen);

    // Clear, slot 1..5.
    void ClearLocation(int slot);

    // The user picked a time-zone list entry for slot 1..5: an offset clears the slot's zone,
    // StationZoneIndex takes the offered zone.
    void ChooseTimeZone(int slot, int index);

    // The zone slot 1..5 lists after its offsets: its own, else its station's; empty for none.
    const std::string& OfferedTimeZone(int slot) const;
    // The entry the slot's list shows: StationZoneIndex while the slot uses a zone, else the
    // entry of its offset (NoTimeZoneIndex for one beyond the list).
    int TimeZoneListIndex(int slot) const;

    // ApplyPreferences, for OK and Apply: copies Values into the settings and marks them
    // changed. Apply also disables the button; OK closes the dialog, so it makes no difference.
    void Apply(TSettings& settings, bool& preferencesHaveBeenChanged);

    bool ApplyEnabled() const { return applyEnabled_; }
    // FTP's data-connection mode means nothing while the reports come over HTTPS.
    bool FtpActiveModeEnabled() const { return !Values.UseHttps; }

private:
    bool applyEnabled_ = false;
    std::array<std::string, LocationSlotCount> offeredZones_;
};

// The main window's side of closing the dialog, in the order the steps run.
class PreferencesClosingActions {
public:
    virtual ~PreferencesClosingActions() = default;
    virtual void ShowWarning(const std::string& text) = 0;
    virtual void ArrangeLocationPanels() = 0;
    // Throws SettingsWriteError when the file cannot be written.
    virtual void SaveSettings() = 0;
    virtual void ShowError(const std::string& text) = 0;
    virtual void AddLogMessage(int kind, const std::string& message) = 0;
    virtual void ResetRefreshTimer() = 0;
    virtual void StartGetWeatherReport() = 0;
};

// ActionToolsPreferencesExecute after the dialog has closed, whichever button closed it: nothing
// unless OK or Apply ran; otherwise restores an empty primary location to the default station,
// re-arranges the panels, saves, and restarts the refresh timer and a fetch. A failed save is
// shown and stops there, so nothing runs on settings that are not on disk.
void ActOnClosedPreferences(TSettings& settings, bool& preferencesHaveBeenChanged,
                            PreferencesClosingActions& actions);

} // namespace nimbrel
