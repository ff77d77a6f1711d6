#pragma once
// The read-only station database: Countries.ini (section "Countries": key = display name;offset)
// and Cities.ini (one section per country key: station code = display name).
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace nimbrel {

class TIniFile;

inline constexpr const char* CountriesFileName = "Countries.ini";
inline constexpr const char* CitiesFileName = "Cities.ini";
inline constexpr const char* ZonesFileName = "Zones.ini";
inline constexpr const char* DatabaseMissingMessage =
    "The country and city database could not be found.\r\n"
    "Reinstalling the program might solve this problem.";

struct TCountry {
    std::string CountryKey, Name, TimeZoneOffset;
    friend bool operator==(const TCountry&, const TCountry&) = default;
};

struct TCity {
    std::string Code, Name;
    friend bool operator==(const TCity&, const TCity&) = default;
};

// The folder that holds both database files: the executable's folder, or on Linux the installed
// data folder ../share/nimbrel beside it; nullopt when neither holds both files.
std::optional<std::string> FindDatabaseFolder(const std::string& executableFolder);

// The listed countries in file order; lines with an empty name or offset are left out.
// processPendingEvents runs after every line so a front end stays responsive. Throws
// IniFileError (settings/IniFile.h) when the file cannot be read or is too large.
std::vector<TCountry> ReadCountries(const std::string& countriesIniPath,
                                    const std::function<void()>& processPendingEvents = {});

// The stations of one country in file order; an unknown key gives none. Throws as above.
std::vector<TCity> ReadCities(const std::string& citiesIniPath, const std::string& countryKey,
                              const std::function<void()>& processPendingEvents = {});

// The same from the text of the files.
std::vector<TCountry> CountriesOf(const TIniFile& countriesIni,
                                  const std::function<void()>& processPendingEvents = {});
std::vector<TCity> CitiesOf(const TIniFile& citiesIni, const std::string& countryKey,
                            const std::function<void()>& processPendingEvents = {});

// A list for the picker, which never fails: when the file cannot be used, Entries is empty and
// Problem says which file and why, for the user to read.
template <typename Entry> struct TDatabaseList {
    std::vector<Entry> Entries;
    std::string Problem;
};

TDatabaseList<TCountry> LoadCountryList(const std::string& countriesIniPath,
                                        const std::function<void()>& processPendingEvents = {});
TDatabaseList<TCity> LoadCityList(const std::string& citiesIniPath, const TCountry& country,
                                  const std::function<void()>& processPendingEvents = {});

// Each station's tz database zone by its code, from Zones.ini in the database folder (section
// "Zones": station code = zone name). The file came later than the other two, which stay as they
// were: when it is missing or cannot be read no station has a zone, and slots keep their offsets.
using TStationZones = std::map<std::string, std::string>;
TStationZones ReadStationZones(const std::string& databaseFolder);

// The countries a user means by text, ignoring case: the one whose display name or key equals
// it, else every entry of a country listed once per time zone ("United States" gives
// "United States (UTC-5)", "United States (UTC-6)", ...).
std::vector<TCountry> MatchCountries(const std::vector<TCountry>& countries,
                                     const std::string& text);

} // namespace nimbrel
