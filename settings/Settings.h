#pragma once
// The user's preferences and the five location slots, as the settings file names them.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace nimbrel {

struct LocationSlot {
    std::string LocationCode;           // station code; empty = slot unused
    std::string LocationName;           // display name
    std::string LocationTimeZoneOffset; // whole hours from UTC as decimal text, "-12".."12"
    // The station's tz database zone ("Europe/Amsterdam"); empty: the whole-hour offset alone.
    std::string LocationTimeZone;
};

// The zone of the default primary station, EHAM. Only a first run (no settings file yet) and the
// fallback to the default station start with it: an older file without zones keeps its offsets.
inline constexpr const char* DefaultPrimaryTimeZone = "Europe/Amsterdam";

// The stations the program watches: slot 1 is the primary one.
inline constexpr int LocationSlotCount = 5;

struct TSettings {
    bool MinimizeOnStartup = true;
    bool GetWeatherReportOnStartup = true;
    bool StartAutomaticallyByWindows = true;
    bool TabbedView = true;
    int LongReconnectInterval = 30; // minutes
    bool AdvancedWeatherReport = false;
    bool DisableBalloonMessages = false;
    bool ShowLocationCode = false;
    bool FtpActiveMode = false;
    int DelayGetWeaterOnStartup = 0; // seconds; the key is spelled so in the file
    bool UseMetricValues = true;
    bool UseCelsius = true;
    bool Use24HourClock = true;
    bool UseHttps = false; // fetch over HTTPS instead of FTP
    std::array<LocationSlot, LocationSlotCount> Slots{{
        {"EHAM", "Amsterdam Airport Schiphol", "1", ""},
        {"", "", "0", ""},
        {"", "", "0", ""},
        {"", "", "0", ""},
        {"", "", "0", ""},
    }};

    // Slot by its number 1..5.
    LocationSlot& Slot(int number) { return Slots.at(static_cast<std::size_t>(number - 1)); }
    const LocationSlot& Slot(int number) const {
        return Slots.at(static_cast<std::size_t>(number - 1));
    }
};

// A decimal whole number that fills the whole text (an optional leading minus, no blanks);
// nullopt for anything else, including values out of int's range.
std::optional<int> ParseWholeNumber(std::string_view text);

// The offset of a slot as a number of hours; a text that is not a whole number reads as 0.
int OffsetHours(const std::string& offsetText);

} // namespace nimbrel
