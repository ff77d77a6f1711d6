#include "settings/LocationDatabase.h"

#include "base/TextTime.h"
#include "settings/IniFile.h"

#include <algorithm>
#include <filesystem>

namespace nimbrel {

namespace {

namespace fs = std::filesystem;

constexpr const char* CountriesSection = "Countries";
constexpr const char* ZonesSection = "Zones";

std::vector<fs::path> DatabaseFolderCandidates(const fs::path& executableFolder) {
#ifdef _WIN32
    return {executableFolder};
#else
    // An installed program keeps its data apart from its executable.
    return {executableFolder, (executableFolder / ".." / "share" / "nimbrel").lexically_normal()};
#endif
}

bool HoldsDatabase(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / CountriesFileName, error) &&
           fs::is_regular_file(folder / CitiesFileName, error);
}

void RunPendingEvents(const std::function<void()>& processPendingEvents) {
    if (processPendingEvents) {
        processPendingEvents();
    }
}

} // namespace

std::optional<std::string> FindDatabaseFolder(const std::string& executableFolder) {
    for (const fs::path& folder : DatabaseFolderCandidates(executableFolder)) {
        if (HoldsDatabase(folder)) {
            return folder.string();
        }
    }
    return std::nullopt;
}

std::vector<TCountry> CountriesOf(const TIniFile& countriesIni,
                                  const std::function<void()>& processPendingEvents) {
    std::vector<TCountry> countries;
    countriesIni.ForEachInSection(CountriesSection, [&](std::string_view key,
                                                        std::string_view value) {
        const auto separator = value.find(';');
        if (separator != std::string_view::npos && separator > 0 && separator + 1 < value.size()) {
            countries.push_back({std::string(key), std::string(value.substr(0, separator)),
                                 std::string(value.substr(separator + 1))});
        }
        RunPendingEvents(processPendingEvents);
    });
    return countries;
}

std::vector<TCity> CitiesOf(const TIniFile& citiesIni, const std::string& countryKey,
                            const std::function<void()>& processPendingEvents) {
    std::vector<TCity> cities;
    citiesIni.ForEachInSection(countryKey, [&](std::string_view code, std::string_view name) {
        cities.push_back({std::string(code), std::string(name)});
        RunPendingEvents(processPendingEvents);
    });
    return cities;
}

std::vector<TCountry> ReadCountries(const std::string& countriesIniPath,
                                    const std::function<void()>& processPendingEvents) {
    return CountriesOf(TIniFile::Load(countriesIniPath), processPendingEvents);
}

std::vector<TCity> ReadCities(const std::string& citiesIniPath, const std::string& countryKey,
                              const std::function<void()>& processPendingEvents) {
    return CitiesOf(TIniFile::Load(citiesIniPath), countryKey, processPendingEvents);
}

namespace {

// The list read, or none and why: the reader's error, or emptyMessage when it found nothing.
template <typename Entry, typename Read>
TDatabaseList<Entry> LoadList(const Read& read, const std::string& emptyMessage) {
    try {
        std::vector<Entry> entries = read();
        if (entries.empty()) {
            return {{}, emptyMessage};
        }
        return {std::move(entries), {}};
    } catch (const IniFileError& error) {
        return {{}, std::string(error.what()) + "."};
    }
}

} // namespace

TDatabaseList<TCountry> LoadCountryList(const std::string& countriesIniPath,
                                        const std::function<void()>& processPendingEvents) {
    return LoadList<TCountry>([&] { return ReadCountries(countriesIniPath, processPendingEvents); },
                              countriesIniPath + " lists no countries: its section [" +
                                  CountriesSection +
                                  "] holds no line of the form key=name;offset.");
}

TDatabaseList<TCity> LoadCityList(const std::string& citiesIniPath, const TCountry& country,
                                  const std::function<void()>& processPendingEvents) {
    return LoadList<TCity>(
        [&] { return ReadCities(citiesIniPath, country.CountryKey, processPendingEvents); },
        citiesIniPath + " lists no stations of " + country.Name + ": it has no section [" +
            country.CountryKey + "] with stations.");
}

TStationZones ReadStationZones(const std::string& databaseFolder) {
    TStationZones zones;
    try {
        TIniFile::Load((fs::path(databaseFolder) / ZonesFileName).string())
            .ForEachInSection(ZonesSection, [&zones](std::string_view code, std::string_view zone) {
                zones.try_emplace(std::string(code), zone);
            });
    } catch (const IniFileError&) {
        // Without zones every station keeps its whole-hour offset, as before the file existed.
    }
    return zones;
}

std::vector<TCountry> MatchCountries(const std::vector<TCountry>& countries,
                                     const std::string& text) {
    std::vector<TCountry> matches;
    for (const TCountry& country : countries) {
        if (EqualsIgnoringCase(country.Name, text) ||
            EqualsIgnoringCase(country.CountryKey, text)) {
            return {country};
        }
        const std::string zonePrefix = text + " (UTC";
        if (EqualsIgnoringCase(std::string_view(country.Name).substr(0, zonePrefix.size()),
                               zonePrefix)) {
            matches.push_back(country);
        }
    }
    return matches;
}

} // namespace nimbrel
